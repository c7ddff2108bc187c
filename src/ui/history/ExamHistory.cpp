#include "ui/history/ExamHistory.h"

#include "core/exam/ExamSession.h"

#include "core/history/HistoryCsv.h"
#include "core/history/ScoreHistory.h"
#include "core/tables/TableError.h"
#include "ui/history/THistoryForm.h"
#include "ui/widgets/Dialogs.h"

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

void ExamHistory::record(const std::function<HistoryAttempt()>& make)
{
    QString error, notice;
    try {
        HistoryAttempt attempt = make();
        const bool recorded = ScoreHistory(where()).append(attempt, &error, &notice);
        tell(m_window, notice);
        if (recorded)
            return;
    } catch (const TableError& e) {
        error = e.message();
    }
    Dialogs::error(m_window, error);
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
}

void ExamHistory::show()
{
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
