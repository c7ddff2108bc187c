#include "ui/history/ExamHistory.h"

#include "core/exam/ExamSession.h"

#include "core/history/HistoryCsv.h"
#include "core/history/ScoreHistory.h"
#include "core/learning/ItemMemory.h"
#include "core/learning/Readiness.h"
#include "core/tables/TableError.h"
#include "ui/history/THistoryForm.h"
#include "ui/widgets/Dialogs.h"

#include <QDateTime>
#include <QStringList>
#include <utility>
#include <vector>

ExamHistory::ExamHistory(QWidget* window) : QObject(window), m_window(window) {}

void ExamHistory::tell(QWidget* parent, const QString& notice)
{
    if (!notice.isEmpty())
        Dialogs::message(parent, Dialogs::Icon::Warning, notice, Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
}

QString ExamHistory::where() const
{
    return folder.isEmpty() ? ScoreHistory::defaultFolder() : folder;
}

void ExamHistory::record(const std::function<HistoryAttempt()>& make,
                         const std::function<std::vector<ItemOutcome>()>& outcomes)
{
    QStringList errors;
    QString error, notice;
    // The memory is fed from the history as it was before this grading.
    ItemMemory memory(where());
    std::vector<HistoryAttempt> before;
    bool feed = false;
    if (outcomes) {
        try {
            feed = !memory.isFed() && ScoreHistory(where()).load(&before, &error, &notice);
            tell(m_window, notice);
        } catch (const TableError&) {
            // The memory's own failure is told when it is written below.
        }
        error.clear();
        notice.clear();
    }
    HistoryAttempt attempt;
    bool made = false;
    try {
        attempt = make();
        made = true;
        const bool recorded = ScoreHistory(where()).append(attempt, &error, &notice);
        tell(m_window, notice);
        if (!recorded)
            errors << error;
    } catch (const TableError& e) {
        errors << e.message();
    }
    if (outcomes && made) {
        notice.clear();
        try {
            // An attempt the history could not keep still has its own time.
            memory.apply({ItemMemory::gradingIdOf(attempt), attempt.when, outcomes()},
                         feed ? &before : nullptr, &notice);
            tell(m_window, notice);
        } catch (const TableError& e) {
            tell(m_window, notice);
            errors << QStringLiteral("What this exam taught could not be kept for Smart Review: %1")
                          .arg(e.message());
        }
    }
    if (!errors.isEmpty())
        Dialogs::error(m_window, errors.join(QStringLiteral("\n\n")));
}

MemoryStates ExamHistory::learnt(const std::vector<HistoryAttempt>* attempts, QString* error)
{
    QString notice;
    try {
        ItemMemory memory(where());
        if (attempts && !memory.isFed())
            memory.feedFromHistory(*attempts, &notice);
        tell(m_window, std::exchange(notice, QString()));
        MemoryStates states = memory.readAll(&notice);
        tell(m_window, notice);
        return states;
    } catch (const TableError& e) {
        tell(m_window, notice);
        *error = e.message();
    }
    return {};
}

MemoryStates ExamHistory::itemMemory()
{
    std::vector<HistoryAttempt> attempts;
    QString error, notice;
    const bool loaded = ScoreHistory(where()).load(&attempts, &error, &notice);
    tell(m_window, notice);
    // An unreadable history feeds nothing (it is fed once it can be read):
    // what the memory holds still counts.
    error.clear();
    MemoryStates states = learnt(loaded ? &attempts : nullptr, &error);
    if (!error.isEmpty())
        Dialogs::error(m_window, error);
    return states;
}

void ExamHistory::showReadiness(const std::vector<HistoryAttempt>& attempts, bool loaded)
{
    if (!m_session) {
        HistoryForm->clearReadiness();
        return;
    }
    QString error;
    const MemoryStates memory = learnt(loaded ? &attempts : nullptr, &error);
    std::vector<ActiveItem> items;
    if (error.isEmpty()) {
        try {
            items = m_session->activeItems();
        } catch (const TableError& e) {
            error = e.message();
        }
    }
    if (!error.isEmpty()) {
        HistoryForm->clearReadiness();
        Dialogs::error(m_window, error);
        return;
    }
    HistoryForm->showReadiness(
        Readiness::forecast(items, memory, int(attempts.size()), QDateTime::currentDateTime()));
}

void ExamHistory::reload()
{
    std::vector<HistoryAttempt> attempts;
    QString error, notice;
    const bool loaded = ScoreHistory(where()).load(&attempts, &error, &notice);
    tell(m_window, notice);
    if (!loaded)
        Dialogs::error(m_window, error);
    HistoryForm->load(attempts);
    showReadiness(attempts, loaded);
}

void ExamHistory::show(ExamSession* session)
{
    m_session = session;
    if (!HistoryForm) {
        HistoryForm = new THistoryForm(m_window);
        connect(HistoryForm, &THistoryForm::deleteRequested, this, [this](qint64 id) {
            QString error, notice;
            const bool removed = ScoreHistory(where()).remove(id, &error, &notice);
            tell(HistoryForm, notice);
            if (!removed)
                Dialogs::error(HistoryForm, error);
            reload();
        });
        connect(HistoryForm, &THistoryForm::exportRequested, this, [this](const QString& fileName) {
            QString error;
            if (!HistoryCsv::write(fileName, HistoryForm->attempts(), &error))
                Dialogs::error(HistoryForm, error);
        });
    }
    reload();
    Dialogs::execModal(HistoryForm);
}

bool ExamHistory::latest(HistoryAttempt* attempt, bool* found)
{
    QString error, notice;
    const bool read = ScoreHistory(where()).latest(attempt, found, &error, &notice);
    tell(m_window, notice);
    if (read)
        return true;
    Dialogs::error(m_window, error);
    return false;
}

std::vector<RetakeSet::Item> ExamHistory::retakeItems(ExamSession& session)
{
    HistoryAttempt attempt;
    bool found = false;
    if (!latest(&attempt, &found))
        return {};
    const std::vector<RetakeSet::Item> items =
        session.existingRetakeItems(RetakeSet(found ? attempt : HistoryAttempt{}));
    if (items.empty()) {
        Dialogs::information(
            m_window, found ? QStringLiteral("The latest graded exam left no incorrect item to retake.")
                            : QStringLiteral("There is no graded exam yet, so there is no incorrect "
                                             "item to retake."));
    }
    return items;
}
