#include "core/learning/ItemMemory.h"

#include "core/store/AnswerSheet.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Database.h"
#include "core/tables/Session.h"
#include "core/tables/Statement.h"
#include "core/tables/SuspendedCursor.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/tables/TableLock.h"
#include "core/tables/TableRenewal.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace {
// Rows: key 1.. a bank item (its Q_ID), 2^32 + Q_ID an item of the user set;
// key 0 exists once the score history was fed in; keys below 0 are the
// gradings applied (M_GRADING their id). Stability and difficulty are kept
// in units of 1e-8, the precision the model rounds them to.
const QString M_KEY = QStringLiteral("M_KEY");
const QString M_STAB = QStringLiteral("M_STAB");
const QString M_DIFF = QStringLiteral("M_DIFF");
const QString M_LAST = QStringLiteral("M_LAST"); // ms since 1970 UTC
const QString M_SEEN = QStringLiteral("M_SEEN");
const QString M_WRONG = QStringLiteral("M_WRONG");
const QString M_RESULT = QStringLiteral("M_RESULT");
const QString M_FIRST = QStringLiteral("M_FIRST");
const QString M_TIME = QStringLiteral("M_TIME"); // ms
const QString M_GRADING = QStringLiteral("M_GRADING");
QString pick(int k)
{
    return QStringLiteral("M_PICK_%1").arg(QChar(QLatin1Char('A').unicode() + k));
}

constexpr qint64 UserSetKeys = qint64(1) << 32;
constexpr qint64 FedKey = 0;
constexpr double Units = 1e8;
constexpr int LockRetries = 15;
constexpr int LockWaitMs = 100;

qint64 keyOf(ItemSource source, std::int32_t number)
{
    return source == ItemSource::UserSet ? UserSetKeys + number : qint64(number);
}

// The item columns in the order every statement here names them.
QStringList itemColumns()
{
    QStringList c{M_KEY, M_STAB, M_DIFF, M_LAST, M_SEEN, M_WRONG, M_RESULT, M_FIRST, M_TIME};
    for (int k = 0; k < 6; ++k)
        c << pick(k);
    return c;
}

QString itemSelect()
{
    return QStringLiteral("SELECT %1 FROM items").arg(itemColumns().join(QLatin1Char(',')));
}

ItemResult resultFrom(qint64 v)
{
    return v >= 0 && v <= qint64(ItemResult::CorrectAfterLearn) ? ItemResult(v) : ItemResult::None;
}

qint64 count(qint64 v)
{
    return std::max<qint64>(0, v);
}

// A row of itemSelect(); values a damaged row could hold outside their range
// are brought back into it.
ItemState readItem(const Statement& st)
{
    ItemState s;
    const qint64 key = st.int64(0);
    s.source = key > UserSetKeys ? ItemSource::UserSet : ItemSource::Bank;
    s.number = std::int32_t(s.source == ItemSource::UserSet ? key - UserSetKeys : key);
    s.memory.stability = std::max(0.0, double(st.int64(1)) / Units);
    s.memory.difficulty = s.memory.isNew() ? 0.0 : std::clamp(double(st.int64(2)) / Units, 1.0, 10.0);
    s.lastReviewMs = count(st.int64(3));
    s.seen = std::int32_t(count(st.int64(4)));
    s.wrong = std::int32_t(std::min(count(st.int64(5)), qint64(s.seen)));
    s.lastResult = resultFrom(st.int64(6));
    s.firstResult = resultFrom(st.int64(7));
    s.timeMs = count(st.int64(8));
    for (int k = 0; k < 6; ++k)
        s.wrongPicks[k] = std::int32_t(count(st.int64(9 + k)));
    return s;
}

QByteArray rawKeyOf(const QString& sessionName)
{
    const Session* session = Session::find(sessionName);
    if (!session || !session->hasPassword())
        throw TableError(QStringLiteral("No table password is registered with session %1").arg(sessionName));
    return session->rawKey();
}

// The store open for one operation: its lock held (shared, as every table's
// open holds it) and its file open, both let go again whatever happens. A
// missing store is made; a damaged one is kept aside and made anew.
class OpenStore
{
public:
    OpenStore(const QString& sessionName, const QString& path, QString* notice)
    {
        const QByteArray key = rawKeyOf(sessionName);
        lock.acquire(path, false, LockRetries, LockWaitMs);
        try {
            db.open(path, key, Database::Access::ReadWrite, TableKind::ItemMemory);
            return;
        } catch (const TableError& e) {
            if (e.kind() != TableError::Kind::Missing && e.kind() != TableError::Kind::Damaged)
                throw;
        }
        // The renewal takes the lock exclusively itself.
        lock.release();
        QString told;
        {
            Table table(sessionName, path);
            told = TableRenewal::openOrRenew(table, ItemMemory::schema(), TableKind::ItemMemory);
        }
        if (notice)
            *notice = told;
        lock.acquire(path, false, LockRetries, LockWaitMs);
        db.open(path, key, Database::Access::ReadWrite, TableKind::ItemMemory);
    }

    bool isFed()
    {
        Statement st(db.handle(), QStringLiteral("SELECT 1 FROM items WHERE %1 = %2").arg(M_KEY).arg(FedKey));
        return st.step();
    }

    TableLock lock;
    Database db;
};

// One transaction of changes: the states of the items touched so far, read
// once and written back together at the end.
class Changes
{
public:
    Changes(Database& db, const Fsrs& fsrs)
        : m_db(db), m_fsrs(fsrs),
          m_select(db.handle(), itemSelect() + QStringLiteral(" WHERE %1 = ?").arg(M_KEY))
    {
        Statement st(db.handle(),
                     QStringLiteral("SELECT %1, %2 FROM items WHERE %1 < 0").arg(M_KEY, M_GRADING));
        while (st.step()) {
            m_nextGradingKey = std::min(m_nextGradingKey, st.int64(0) - 1);
            m_applied.insert(st.value(1).toString());
        }
    }

    bool applied(const QString& id) const { return m_applied.contains(id); }

    void apply(const GradedExam& exam)
    {
        Q_ASSERT(!applied(exam.id));
        // A grading always has its time; one without is taken as now.
        const qint64 whenMs =
            exam.when.isValid() ? exam.when.toMSecsSinceEpoch() : QDateTime::currentMSecsSinceEpoch();
        QHash<qint64, int> daysSince; // by the date of the last grading
        for (const ItemOutcome& o : exam.outcomes) {
            if (o.number <= 0)
                continue;
            ItemState& s = stateOf(o.source, o.number);
            auto days = daysSince.constFind(s.lastReviewMs);
            if (days == daysSince.constEnd())
                days = daysSince.insert(s.lastReviewMs, calendarDaysBetween(s.lastReviewMs, whenMs));
            s.record(o, whenMs, *days, m_fsrs);
        }
        Statement st(m_db.handle(), QStringLiteral("INSERT INTO items (%1, %2, %3, %4) VALUES (?, ?, ?, ?)")
                                        .arg(M_KEY, M_LAST, M_SEEN, M_GRADING));
        st.bind(1, m_nextGradingKey--);
        st.bind(2, whenMs);
        st.bind(3, qint64(exam.outcomes.size()));
        st.bind(4, exam.id);
        st.exec();
        m_applied.insert(exam.id);
    }

    void markFed()
    {
        Statement st(
            m_db.handle(),
            QStringLiteral("INSERT OR REPLACE INTO items (%1, %2) VALUES (?, ?)").arg(M_KEY, M_LAST));
        st.bind(1, FedKey);
        st.bind(2, QDateTime::currentMSecsSinceEpoch());
        st.exec();
    }

    void write()
    {
        QStringList marks;
        for (int i = 0; i < itemColumns().size(); ++i)
            marks << QStringLiteral("?");
        Statement st(m_db.handle(),
                     QStringLiteral("INSERT OR REPLACE INTO items (%1) VALUES (%2)")
                         .arg(itemColumns().join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        for (auto it = m_states.cbegin(); it != m_states.cend(); ++it) {
            const ItemState& s = it.value();
            st.reset();
            st.bind(1, it.key());
            st.bind(2, qint64(std::llround(s.memory.stability * Units)));
            st.bind(3, qint64(std::llround(s.memory.difficulty * Units)));
            st.bind(4, s.lastReviewMs);
            st.bind(5, s.seen);
            st.bind(6, s.wrong);
            st.bind(7, int(s.lastResult));
            st.bind(8, int(s.firstResult));
            st.bind(9, s.timeMs);
            for (int k = 0; k < 6; ++k)
                st.bind(10 + k, s.wrongPicks[k]);
            st.exec();
        }
        m_states.clear();
    }

private:
    ItemState& stateOf(ItemSource source, std::int32_t number)
    {
        const qint64 key = keyOf(source, number);
        auto it = m_states.find(key);
        if (it != m_states.end())
            return it.value();
        ItemState s;
        m_select.reset();
        m_select.bind(1, key);
        if (m_select.step())
            s = readItem(m_select);
        m_select.reset();
        s.source = source;
        s.number = number;
        return m_states.insert(key, s).value();
    }

    Database& m_db;
    const Fsrs& m_fsrs;
    Statement m_select;
    QHash<qint64, ItemState> m_states;
    QSet<QString> m_applied;
    qint64 m_nextGradingKey = -1;
};

// Runs `work` in one transaction of the open store: all of it or nothing.
template <typename Work> auto inTransaction(OpenStore& store, Work work)
{
    store.db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        auto result = work();
        store.db.exec(QStringLiteral("COMMIT"));
        return result;
    } catch (...) {
        try {
            store.db.exec(QStringLiteral("ROLLBACK"));
        } catch (const TableError&) {
            // The engine rolled back by itself already.
        }
        throw;
    }
}

// Feeds the history's attempts, oldest first, all but those applied and
// the one `except` names.
int feed(Changes& changes, const std::vector<HistoryAttempt>& attempts, const QString& except)
{
    std::vector<const HistoryAttempt*> order;
    for (const HistoryAttempt& a : attempts)
        order.push_back(&a);
    std::stable_sort(order.begin(), order.end(), [](const HistoryAttempt* a, const HistoryAttempt* b) {
        return a->when != b->when ? a->when < b->when : a->id < b->id;
    });
    int fed = 0;
    for (const HistoryAttempt* a : order) {
        const GradedExam exam = ItemMemory::gradedExamOf(*a);
        // An attempt whose date cannot be read has no place in time.
        if (!a->when.isValid() || exam.id == except || changes.applied(exam.id))
            continue;
        changes.apply(exam);
        ++fed;
    }
    changes.markFed();
    return fed;
}
} // namespace

ItemMemory::ItemMemory(const QString& folder, const QString& sessionName, const Fsrs& fsrs)
    : m_folder(folder), m_sessionName(sessionName), m_fsrs(fsrs)
{
}

QString ItemMemory::filePath() const
{
    return QDir(m_folder).absoluteFilePath(FileName);
}

TableSchema ItemMemory::schema()
{
    TableSchema s;
    for (const QString& c : itemColumns())
        s.fields << FieldDef{c, FieldKind::Integer};
    s.fields << FieldDef{M_GRADING, FieldKind::Text};
    return s;
}

bool ItemMemory::apply(const GradedExam& exam, const std::vector<HistoryAttempt>* history, QString* notice)
{
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        throw TableError(QStringLiteral("Cannot create the folder %1").arg(m_folder));
    OpenStore store(m_sessionName, filePath(), notice);
    return inTransaction(store, [&] {
        Changes changes(store.db, m_fsrs);
        if (history && !store.isFed())
            feed(changes, *history, exam.id);
        const bool fresh = !changes.applied(exam.id);
        if (fresh)
            changes.apply(exam);
        changes.write();
        return fresh;
    });
}

int ItemMemory::feedFromHistory(const std::vector<HistoryAttempt>& attempts, QString* notice)
{
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        throw TableError(QStringLiteral("Cannot create the folder %1").arg(m_folder));
    OpenStore store(m_sessionName, filePath(), notice);
    return inTransaction(store, [&] {
        if (store.isFed())
            return 0;
        Changes changes(store.db, m_fsrs);
        const int fed = feed(changes, attempts, QString());
        changes.write();
        return fed;
    });
}

bool ItemMemory::isFed() const
{
    if (!QFileInfo::exists(filePath()))
        return false;
    OpenStore store(m_sessionName, filePath(), nullptr);
    return store.isFed();
}

bool ItemMemory::wasApplied(const QString& gradingId) const
{
    if (!QFileInfo::exists(filePath()))
        return false;
    OpenStore store(m_sessionName, filePath(), nullptr);
    Statement st(store.db.handle(),
                 QStringLiteral("SELECT 1 FROM items WHERE %1 < 0 AND %2 = ?").arg(M_KEY, M_GRADING));
    st.bind(1, gradingId);
    return st.step();
}

MemoryStates ItemMemory::readAll(QString* notice) const
{
    const QFileInfo file(filePath());
    if (!file.exists() && !file.isSymLink())
        return {};
    OpenStore store(m_sessionName, filePath(), notice);
    std::vector<ItemState> states;
    Statement count(store.db.handle(), QStringLiteral("SELECT count(*) FROM items WHERE %1 > 0").arg(M_KEY));
    if (count.step())
        states.reserve(std::size_t(std::max<qint64>(0, count.int64(0))));
    Statement st(store.db.handle(), itemSelect() + QStringLiteral(" WHERE %1 > 0 ORDER BY %1").arg(M_KEY));
    while (st.step())
        states.push_back(readItem(st));
    return MemoryStates(std::move(states));
}

QString ItemMemory::gradingIdOf(const HistoryAttempt& attempt)
{
    return QStringLiteral("history:%1:%2").arg(attempt.id).arg(attempt.when.toMSecsSinceEpoch());
}

GradedExam ItemMemory::gradedExamOf(const HistoryAttempt& attempt)
{
    GradedExam exam;
    exam.id = gradingIdOf(attempt);
    exam.when = attempt.when;
    exam.outcomes.reserve(attempt.results.size());
    for (const HistoryItem& r : attempt.results) {
        ItemOutcome o;
        o.source = r.source;
        o.number = r.number;
        o.correct = r.correct;
        o.choicesKnown = false;
        exam.outcomes.push_back(o);
    }
    return exam;
}

std::vector<ItemOutcome> ItemMemory::outcomesOf(const AnswerSheet& sheet, Table& currentSet,
                                                const std::vector<bool>& learnShown,
                                                const std::vector<qint64>& timeMs)
{
    std::vector<ItemOutcome> outcomes;
    outcomes.reserve(std::size_t(sheet.size()));
    SuspendedCursor cursor(currentSet);
    for (currentSet.first(); !currentSet.eof(); currentSet.next()) {
        const int r = currentSet.recNo();
        if (r < 1 || r > sheet.size())
            continue;
        const std::size_t i = std::size_t(r - 1);
        const AnswerEntry& entry = sheet.entry(r);
        ItemOutcome o;
        // A user-set item is copied without an exam number.
        o.source =
            currentSet.fieldByName(ItemRecord::Q_EXAM_N).isNull() ? ItemSource::UserSet : ItemSource::Bank;
        o.number = std::int32_t(currentSet.fieldByName(ItemRecord::Q_OR_NUMBER).asInteger());
        o.correct = entry.Correct != 0;
        const std::array<bool, 6> right = AnswerSheet::correctFlagsOf(currentSet);
        for (int k = 0; k < 6; ++k) {
            if (entry.Choice[k])
                o.chosen |= std::uint8_t(1 << k);
            if (right[k])
                o.correctChoices |= std::uint8_t(1 << k);
        }
        o.learnShown = i < learnShown.size() && learnShown[i];
        o.timeMs = i < timeMs.size() ? timeMs[i] : 0;
        outcomes.push_back(o);
    }
    cursor.restore();
    return outcomes;
}
