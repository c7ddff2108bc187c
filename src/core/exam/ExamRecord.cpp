#include "core/exam/ExamRecord.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Session.h"
#include "core/tables/Statement.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QDir>
#include <QFile>

namespace {
// Row 0 holds the exam; rows 1..n its items in the set's order.
const QString Pos = QStringLiteral("POS");
const QString Source = QStringLiteral("SOURCE"); // "B" or "U"
const QString Number = QStringLiteral("NUMBER");
const QString Choices = QStringLiteral("CHOICES"); // bit k - 1 for choice k
const QString Marked = QStringLiteral("MARKED");
const QString Correct = QStringLiteral("CORRECT");
const QString Section = QStringLiteral("SECTION");
const QString Learned = QStringLiteral("LEARNED");
const QString Title = QStringLiteral("TITLE");
const QString Name = QStringLiteral("CNAME");
const QString Limit = QStringLiteral("TLIMIT");
const QString Elapsed = QStringLiteral("ELAPSED");
const QString Current = QStringLiteral("CURRENT");
const QString Mode = QStringLiteral("MODE");
const QString Recorded = QStringLiteral("RECORDED");
const QString UserExam = QStringLiteral("USEREXAM");

TableSchema schema()
{
    TableSchema s;
    for (const QString& f : {Pos, Number, Choices, Marked, Correct, Section, Learned, Limit, Elapsed, Current,
                             Mode, Recorded, UserExam})
        s.fields << FieldDef{f, FieldKind::Integer};
    for (const QString& f : {Source, Title, Name})
        s.fields << FieldDef{f, FieldKind::Text};
    return s;
}

int choiceBits(const AnswerEntry& e)
{
    int bits = 0;
    for (int k = 0; k < 6; ++k)
        if (e.Choice[k])
            bits |= 1 << k;
    return bits;
}

QByteArray keyOf(const QString& sessionName)
{
    const Session* session = Session::find(sessionName);
    if (!session)
        throw TableError(QStringLiteral("No storage session %1").arg(sessionName));
    return session->rawKey();
}
} // namespace

int ExamRecord::Exam::answeredCount() const
{
    int n = 0;
    for (const AnswerEntry& e : answers)
        if (choiceBits(e) != 0)
            ++n;
    return n;
}

ExamRecord::ExamRecord(const QString& folder, const QString& sessionName)
    : m_folder(folder), m_sessionName(sessionName)
{
}

ExamRecord::~ExamRecord() = default;

QString ExamRecord::filePath() const
{
    return QDir(m_folder).filePath(TableFiles::ExamRecord);
}

bool ExamRecord::exists() const
{
    return QFile::exists(filePath());
}

void ExamRecord::close()
{
    m_db.close();
}

void ExamRecord::openForChanges()
{
    if (m_db.isOpen())
        return;
    m_db.open(filePath(), keyOf(m_sessionName), Database::Access::ReadWrite, TableKind::ExamRecord);
    // Each change is on the disk before the click that made it returns, a
    // power cut included.
    m_db.exec(QStringLiteral("PRAGMA synchronous = FULL"));
}

void ExamRecord::begin(const Exam& exam)
{
    Q_ASSERT(exam.answers.size() == exam.items.size());
    Q_ASSERT(exam.learnShown.empty() || exam.learnShown.size() == exam.items.size());
    close();
    if (!QDir().mkpath(m_folder))
        throw TableError(QStringLiteral("Cannot create the folder %1").arg(m_folder));
    m_db.create(filePath(), keyOf(m_sessionName), schema(), TableKind::ExamRecord);
    m_db.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    // The items first and the exam's own row last, in one transaction: a
    // record without its row 0 is no exam.
    m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        Statement item(m_db.handle(),
                       QStringLiteral("INSERT INTO items (%1, %2, %3, %4, %5, %6, %7, %8) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                           .arg(Pos, Source, Number, Choices, Marked, Correct, Section, Learned));
        for (std::size_t i = 0; i < exam.items.size(); ++i) {
            const AnswerEntry& a = exam.answers[i];
            item.reset();
            item.bind(1, qint64(i + 1));
            item.bind(2, exam.items[i].source == ItemSource::UserSet ? QStringLiteral("U")
                                                                     : QStringLiteral("B"));
            item.bind(3, exam.items[i].number);
            item.bind(4, choiceBits(a));
            item.bind(5, int(a.Marked));
            item.bind(6, int(a.Correct));
            item.bind(7, a.Section);
            item.bind(8, int(!exam.learnShown.empty() && exam.learnShown[i]));
            item.exec();
        }
        Statement head(m_db.handle(),
                       QStringLiteral("INSERT INTO items (%1, %2, %3, %4, %5, %6, %7, %8, %9) "
                                      "VALUES (0, ?, ?, ?, ?, ?, ?, ?, ?)")
                           .arg(Pos, Title, Name, Limit, Elapsed, Current, Mode, Recorded, UserExam));
        head.bind(1, exam.title);
        head.bind(2, exam.candidateName);
        head.bind(3, exam.timeLimitSeconds);
        head.bind(4, exam.elapsedSeconds);
        head.bind(5, exam.currentRecNo);
        head.bind(6, int(exam.mode));
        head.bind(7, int(exam.recorded));
        head.bind(8, int(exam.userExam));
        head.exec();
        m_db.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
        throw;
    }
}

void ExamRecord::update(int pos, const char* column, const QVariant& value)
{
    openForChanges();
    Statement st(
        m_db.handle(),
        QStringLiteral("UPDATE items SET %1 = ? WHERE %2 = ?").arg(QString::fromLatin1(column), Pos));
    st.bind(1, value);
    st.bind(2, pos);
    st.exec();
}

void ExamRecord::setAnswer(int recNo, const AnswerEntry& entry)
{
    Q_ASSERT(recNo >= 1);
    openForChanges();
    Statement st(m_db.handle(), QStringLiteral("UPDATE items SET %1 = ?, %2 = ?, %3 = ? WHERE %4 = ?")
                                    .arg(Choices, Marked, Correct, Pos));
    st.bind(1, choiceBits(entry));
    st.bind(2, int(entry.Marked));
    st.bind(3, int(entry.Correct));
    st.bind(4, recNo);
    st.exec();
}

void ExamRecord::setLearnShown(int recNo)
{
    Q_ASSERT(recNo >= 1);
    update(recNo, "LEARNED", 1);
}

void ExamRecord::setCurrent(int recNo)
{
    update(0, "CURRENT", recNo);
}

void ExamRecord::setElapsed(qint64 seconds)
{
    Q_ASSERT(seconds >= 0);
    update(0, "ELAPSED", seconds);
}

void ExamRecord::setMode(ExamMode mode, bool recorded)
{
    openForChanges();
    Statement st(m_db.handle(),
                 QStringLiteral("UPDATE items SET %1 = ?, %2 = ? WHERE %3 = 0").arg(Mode, Recorded, Pos));
    st.bind(1, int(mode));
    st.bind(2, int(recorded));
    st.exec();
}

ExamRecord::Exam ExamRecord::load()
{
    Exam exam;
    if (!exists())
        return exam;
    openForChanges();
    Statement head(m_db.handle(),
                   QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7, %8 FROM items WHERE %9 = 0")
                       .arg(Title, Name, Limit, Elapsed, Current, Mode, Recorded, UserExam, Pos));
    if (!head.step())
        return exam; // cut short before it was whole
    const int mode = int(head.int64(5));
    if (mode != int(ExamMode::Testing) && mode != int(ExamMode::Reviewing))
        throw TableError(Database::damagedText(filePath()), TableError::Kind::Damaged);
    Statement rows(m_db.handle(),
                   QStringLiteral("SELECT %1, %2, %3, %4, %5, %6, %7, %8 FROM items WHERE %1 > 0 "
                                  "ORDER BY %1")
                       .arg(Pos, Source, Number, Choices, Marked, Correct, Section, Learned));
    while (rows.step()) {
        if (rows.int64(0) != qint64(exam.items.size()) + 1)
            throw TableError(Database::damagedText(filePath()), TableError::Kind::Damaged);
        Item item;
        item.source = rows.value(1).toString() == QLatin1String("U") ? ItemSource::UserSet : ItemSource::Bank;
        item.number = std::int32_t(rows.int64(2));
        exam.items.push_back(item);
        AnswerEntry a;
        const qint64 bits = rows.int64(3);
        for (int k = 0; k < 6; ++k)
            a.Choice[k] = (bits >> k) & 1;
        a.Marked = rows.int64(4) != 0;
        a.Correct = rows.int64(5) != 0;
        a.Section = std::int32_t(rows.int64(6));
        exam.answers.push_back(a);
        exam.learnShown.push_back(rows.int64(7) != 0);
    }
    exam.title = head.value(0).toString();
    exam.candidateName = head.value(1).toString();
    exam.timeLimitSeconds = head.int64(2);
    exam.elapsedSeconds = head.int64(3);
    exam.currentRecNo = int(head.int64(4));
    exam.mode = ExamMode(mode);
    exam.recorded = head.int64(6) != 0;
    exam.userExam = head.int64(7) != 0;
    if (exam.items.empty() || exam.currentRecNo < 1 || exam.currentRecNo > int(exam.items.size()) ||
        exam.timeLimitSeconds < 0 || exam.elapsedSeconds < 0)
        throw TableError(Database::damagedText(filePath()), TableError::Kind::Damaged);
    return exam;
}

void ExamRecord::forget()
{
    close();
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile f(filePath() + suffix);
        if (f.exists() && !f.remove())
            throw TableError(QStringLiteral("Cannot remove %1: %2").arg(f.fileName(), f.errorString()));
    }
}

std::vector<ExamRecord::Item> ExamRecord::itemsOf(Table& currentSet)
{
    // One walk for both fields: a 100,000-item exam is kept at its start
    // without a cursor step per item.
    const std::vector<std::vector<QVariant>> fields =
        currentSet.fieldsInView({ItemRecord::Q_EXAM_N, ItemRecord::Q_OR_NUMBER});
    const std::vector<QVariant>& examNumbers = fields[0];
    const std::vector<QVariant>& numbers = fields[1];
    std::vector<Item> items(numbers.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        // A user-set item is copied without an exam number.
        items[i].source = examNumbers[i].isNull() ? ItemSource::UserSet : ItemSource::Bank;
        items[i].number = std::int32_t(Field::integerOf(numbers[i]));
    }
    return items;
}
