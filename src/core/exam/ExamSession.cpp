#include "core/exam/ExamSession.h"

#include "core/store/CandidateTables.h"
#include "core/store/DataFolder.h"
#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/tables/TableKind.h"

#include <QDir>
#include <QPointer>
#include <QScopeGuard>

ExamSession::ExamSession(QObject* parent) : QObject(parent)
{
    m_session = std::make_unique<Session>(TableFiles::SessionName);
    m_session->registerPassword(TableFiles::Password);
    // The bank ships with the program and is only read; the other two are
    // the candidate's, in their data folder.
    m_bank = new Table(TableFiles::SessionName, TableFiles::Bank, this);
    m_bank->setReadOnly(true);
    m_currentSet = new Table(TableFiles::SessionName, CandidateTables::currentSetPath(), this);
    m_userSet = new Table(TableFiles::SessionName, CandidateTables::userSetPath(), this);
    m_bank->setKind(TableKind::Bank);
    m_currentSet->setKind(TableKind::CurrentSet);
    m_userSet->setKind(TableKind::UserSet);
    m_currentSource = m_currentSet->dataSource();
}

ExamSession::~ExamSession() = default;

QStringList ExamSession::prepareCandidateTables()
{
    return CandidateTables::prepare(TableFiles::SessionName, QDir::currentPath());
}

NoteBook ExamSession::notes() const
{
    return NoteBook(TableFiles::SessionName, CandidateTables::notesPath());
}

int ExamSession::countBank(const QString& filter)
{
    m_bank->setFilter(filter);
    m_bank->setFiltered(true);
    m_bank->open();
    const int count = m_bank->recordCount();
    m_bank->close();
    return count;
}

bool ExamSession::openUserSet()
{
    m_userSet->open();
    if (!m_userSet->isEmpty())
        return true;
    m_userSet->close();
    return false;
}

ExamSession::Assembled ExamSession::assemble(ExamAssembly::Source kind, int count, std::uint32_t seed,
                                             Progress* progress)
{
    Table& source = kind == ExamAssembly::Source::Bank ? *m_bank : *m_userSet;
    const std::vector<std::int32_t> keys = ExamAssembly::collectKeys(source);
    RandomSource random(seed);
    const std::vector<std::int32_t> chosen =
        ExamAssembly::choose(keys, count < 0 ? int(keys.size()) : count, random);
    const QHash<qint64, QString> bankNotes =
        kind == ExamAssembly::Source::Bank ? notes().readAll() : QHash<qint64, QString>();
    return fill({ExamAssembly::Batch{&source, kind, chosen,
                                     kind == ExamAssembly::Source::Bank ? &bankNotes : nullptr}},
                progress);
}

std::vector<RetakeSet::Item> ExamSession::existingRetakeItems(const RetakeSet& set)
{
    if (set.incorrect().empty())
        return {};
    const auto closeBoth = qScopeGuard([this] {
        m_bank->close();
        m_userSet->close();
    });
    m_bank->setFilter(QString());
    m_bank->setFiltered(false);
    if (set.needsBank())
        m_bank->open();
    if (set.needsUserSet())
        m_userSet->open();
    return set.existing(m_bank->isOpen() ? m_bank : nullptr, m_userSet->isOpen() ? m_userSet : nullptr);
}

ExamSession::Assembled ExamSession::assembleRetake(const std::vector<RetakeSet::Item>& items,
                                                   std::uint32_t seed, Progress* progress)
{
    const int n = int(items.size());
    // The order is drawn like every exam's: over the positions 1..n.
    std::vector<std::int32_t> positions(n);
    for (int i = 0; i < n; ++i)
        positions[i] = i + 1;
    RandomSource random(seed);
    const std::vector<std::int32_t> order = ExamAssembly::choose(positions, n, random);
    Q_ASSERT(int(order.size()) == n); // a permutation of 1..n: items[order[i] - 1] is in range
    for (const RetakeSet::Item& i : items) {
        Table& source = i.source == ItemSource::Bank ? *m_bank : *m_userSet;
        if (!source.isOpen())
            source.open();
    }
    const QHash<qint64, QString> bankNotes = notes().readAll();
    std::vector<ExamAssembly::Batch> batches;
    int done = 0;
    while (done < n) {
        const ItemSource source = items[order[done] - 1].source;
        const bool fromBank = source == ItemSource::Bank;
        ExamAssembly::Batch batch{fromBank ? m_bank : m_userSet,
                                  fromBank ? ExamAssembly::Source::Bank : ExamAssembly::Source::UserSet,
                                  {},
                                  fromBank ? &bankNotes : nullptr};
        while (done < n && items[order[done] - 1].source == source)
            batch.keys.push_back(items[order[done++] - 1].id);
        batches.push_back(std::move(batch));
    }
    return fill(batches, progress);
}

std::vector<ActiveItem> ExamSession::activeItems() const
{
    Table bank(TableFiles::SessionName, m_bank->tableName());
    bank.setReadOnly(true);
    bank.setKind(TableKind::Bank);
    bank.open();
    return ActiveItems::read(bank);
}

ExamSession::Assembled ExamSession::assembleBankItems(const std::vector<std::int32_t>& ids,
                                                      std::uint32_t seed, Progress* progress)
{
    std::vector<RetakeSet::Item> items;
    items.reserve(ids.size());
    for (const std::int32_t id : ids)
        items.push_back({ItemSource::Bank, id});
    return assembleRetake(items, seed, progress);
}

ExamSession::Assembled ExamSession::fill(const std::vector<ExamAssembly::Batch>& batches, Progress* progress)
{
    int count = 0;
    for (const ExamAssembly::Batch& batch : batches)
        count += int(batch.keys.size());
    {
        if (progress)
            progress->begin(count);
        const auto ended = qScopeGuard([progress] {
            if (progress)
                progress->end();
        });
        ExamAssembly::openCurrentSet(*m_currentSet);
        ExamAssembly::replaceItems(*m_currentSet, batches, [progress](int i) {
            if (progress)
                progress->position(i);
        });
    }
    m_currentSet->first();
    // The set was emptied and every chosen item copied, or the assembly
    // raised an error: the answer sheet is sized from this count.
    Q_ASSERT(m_currentSet->recordCount() == count);
    return {m_currentSet->recNo(), m_currentSet->recordCount()};
}

void ExamSession::reopenCurrentSet()
{
    m_currentSet->close();
    m_currentSet->setExclusive(true);
    m_currentSet->setKind(TableKind::CurrentSet);
    m_currentSet->open();
    m_currentSet->first();
}

void ExamSession::closeExam()
{
    m_bank->setFilter(QString());
    m_bank->setFiltered(false);
    m_bank->close();
    m_currentSet->close();
    m_userSet->close();
}

bool ExamSession::saveNoteToBank(qint64 itemId, const QString& note, QString* error)
{
    const bool wasOpen = m_bank->isOpen();
    const auto restore = qScopeGuard([&] {
        if (!wasOpen)
            m_bank->close();
    });
    try {
        if (!wasOpen)
            m_bank->open();
        // A note belongs to a bank item by its key; one the bank does not
        // hold is not stored.
        if (!m_bank->findKey(itemId)) {
            if (error)
                *error = QStringLiteral("Item %1 was not found in the question bank; the note is kept "
                                        "in this exam only.")
                             .arg(itemId);
            return false;
        }
        notes().save(itemId, note);
    } catch (const TableError& e) {
        if (error)
            *error = e.message();
        return false;
    }
    return true;
}

ExamSession::NoteWriter ExamSession::noteWriter()
{
    return [session = QPointer<ExamSession>(this)](qint64 itemId, const QString& note, QString* error) {
        if (session)
            return session->saveNoteToBank(itemId, note, error);
        if (error)
            *error = QStringLiteral("The exam window is closed; the note is kept in this exam only.");
        return false;
    };
}
