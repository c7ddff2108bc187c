#include "core/history/ScoreHistory.h"

#include "core/grading/GradeResult.h"
#include "core/store/AnswerSheet.h"
#include "core/store/ItemRecord.h"
#include "core/tables/SuspendedCursor.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/tables/TableRenewal.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

namespace {
const QString H_ID = QStringLiteral("H_ID");
const QString H_WHEN = QStringLiteral("H_WHEN");
const QString H_EXAM = QStringLiteral("H_EXAM");
const QString H_NAME = QStringLiteral("H_NAME");
const QString H_ITEMS = QStringLiteral("H_ITEMS");
const QString H_CORRECT = QStringLiteral("H_CORRECT");
const QString H_SCORE = QStringLiteral("H_SCORE");
const QString H_GRADE = QStringLiteral("H_GRADE");
const QString H_LIMIT = QStringLiteral("H_LIMIT");
const QString H_USED = QStringLiteral("H_USED");
const QString H_RESULTS = QStringLiteral("H_RESULTS");
const QString WhenFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

QString sectionCorrect(int s)
{
    return QStringLiteral("S%1_CORRECT").arg(s);
}

QString sectionItems(int s)
{
    return QStringLiteral("S%1_ITEMS").arg(s);
}

qint64 seconds(double days)
{
    return days <= 0 ? 0 : qint64(std::llround(days * 86400.0));
}

// The table open for one operation, closed again whatever happens. A
// missing one is made; a damaged one is kept aside and made anew, and
// `notice` tells the candidate where the damaged one now is.
class OpenTable
{
public:
    OpenTable(const QString& sessionName, const QString& path, QString* notice) : table(sessionName, path)
    {
        const QString told = TableRenewal::openOrRenew(table, ScoreHistory::schema(), TableKind::History);
        if (notice)
            *notice = told;
    }
    ~OpenTable()
    {
        try {
            table.close();
        } catch (...) {
        }
    }
    Table table;
};

HistoryAttempt readCurrent(Table& t)
{
    HistoryAttempt a;
    a.id = t.fieldByName(H_ID).asInteger();
    a.when = QDateTime::fromString(t.fieldByName(H_WHEN).asString(), WhenFormat);
    a.examTitle = t.fieldByName(H_EXAM).asString();
    a.candidateName = t.fieldByName(H_NAME).asString();
    a.items = std::int32_t(t.fieldByName(H_ITEMS).asInteger());
    a.correct = std::int32_t(t.fieldByName(H_CORRECT).asInteger());
    a.score = std::int32_t(t.fieldByName(H_SCORE).asInteger());
    a.grade = t.fieldByName(H_GRADE).asString();
    a.timeLimitSeconds = t.fieldByName(H_LIMIT).asInteger();
    a.timeUsedSeconds = t.fieldByName(H_USED).asInteger();
    for (int s = 1; s <= 6; ++s) {
        a.sections[s - 1].correct = std::int32_t(t.fieldByName(sectionCorrect(s)).asInteger());
        a.sections[s - 1].items = std::int32_t(t.fieldByName(sectionItems(s)).asInteger());
    }
    a.results = ScoreHistory::decodeResults(t.fieldByName(H_RESULTS).asString());
    return a;
}
} // namespace

ScoreHistory::ScoreHistory(const QString& folder, const QString& sessionName)
    : m_folder(folder), m_sessionName(sessionName)
{
}

QString ScoreHistory::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString ScoreHistory::filePath() const
{
    return QDir(m_folder).absoluteFilePath(FileName);
}

TableSchema ScoreHistory::schema()
{
    TableSchema s;
    s.autoIncrementKey = true;
    s.fields << FieldDef{H_ID, FieldKind::Integer} << FieldDef{H_WHEN, FieldKind::Text}
             << FieldDef{H_EXAM, FieldKind::Text} << FieldDef{H_NAME, FieldKind::Text}
             << FieldDef{H_ITEMS, FieldKind::Integer} << FieldDef{H_CORRECT, FieldKind::Integer}
             << FieldDef{H_SCORE, FieldKind::Integer} << FieldDef{H_GRADE, FieldKind::Text}
             << FieldDef{H_LIMIT, FieldKind::Integer} << FieldDef{H_USED, FieldKind::Integer};
    for (int sct = 1; sct <= 6; ++sct)
        s.fields << FieldDef{sectionCorrect(sct), FieldKind::Integer}
                 << FieldDef{sectionItems(sct), FieldKind::Integer};
    s.fields << FieldDef{H_RESULTS, FieldKind::Memo};
    return s;
}

bool ScoreHistory::append(HistoryAttempt& a, QString* error, QString* notice)
{
    try {
        if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
            throw TableError(QStringLiteral("Cannot create the score history folder %1").arg(m_folder));
        OpenTable open(m_sessionName, filePath(), notice);
        Table& t = open.table;
        t.append();
        t.fieldByName(H_WHEN).setAsString(a.when.toString(WhenFormat));
        t.fieldByName(H_EXAM).setAsString(a.examTitle);
        t.fieldByName(H_NAME).setAsString(a.candidateName);
        t.fieldByName(H_ITEMS).setAsInteger(a.items);
        t.fieldByName(H_CORRECT).setAsInteger(a.correct);
        t.fieldByName(H_SCORE).setAsInteger(a.score);
        t.fieldByName(H_GRADE).setAsString(a.grade);
        t.fieldByName(H_LIMIT).setAsInteger(a.timeLimitSeconds);
        t.fieldByName(H_USED).setAsInteger(a.timeUsedSeconds);
        for (int s = 1; s <= 6; ++s) {
            t.fieldByName(sectionCorrect(s)).setAsInteger(a.sections[s - 1].correct);
            t.fieldByName(sectionItems(s)).setAsInteger(a.sections[s - 1].items);
        }
        t.fieldByName(H_RESULTS).setAsString(encodeResults(a.results));
        t.post();
        a.id = t.fieldByName(H_ID).asInteger();
        return true;
    } catch (const TableError& e) {
        if (error)
            *error = e.message();
        return false;
    }
}

bool ScoreHistory::load(std::vector<HistoryAttempt>* attempts, QString* error, QString* notice) const
{
    Q_ASSERT(attempts);
    attempts->clear();
    const QFileInfo file(filePath());
    if (!file.exists() && !file.isSymLink())
        return true;
    try {
        OpenTable open(m_sessionName, filePath(), notice);
        Table& t = open.table;
        t.disableControls();
        for (t.first(); !t.eof(); t.next())
            attempts->push_back(readCurrent(t));
    } catch (const TableError& e) {
        attempts->clear();
        if (error)
            *error = e.message();
        return false;
    }
    std::stable_sort(attempts->begin(), attempts->end(),
                     [](const HistoryAttempt& a, const HistoryAttempt& b) {
                         return a.when != b.when ? a.when > b.when : a.id > b.id;
                     });
    return true;
}

bool ScoreHistory::latest(HistoryAttempt* attempt, bool* found, QString* error, QString* notice) const
{
    Q_ASSERT(attempt && found);
    std::vector<HistoryAttempt> all;
    *found = false;
    if (!load(&all, error, notice))
        return false;
    if (!all.empty()) {
        *attempt = all.front();
        *found = true;
    }
    return true;
}

bool ScoreHistory::remove(qint64 id, QString* error, QString* notice)
{
    try {
        OpenTable open(m_sessionName, filePath(), notice);
        if (!open.table.findKey(id))
            throw TableError(QStringLiteral("The attempt to delete is no longer in the score history"));
        open.table.deleteRecord();
        return true;
    } catch (const TableError& e) {
        if (error)
            *error = e.message();
        return false;
    }
}

HistoryAttempt ScoreHistory::fromGrading(const GradeResult& result, const AnswerSheet& sheet,
                                         Table& currentSet, const QString& examTitle,
                                         const QString& candidateName, double timeLimitDays,
                                         double timeUsedDays, const QDateTime& when)
{
    // The grade and the sheet are of this exam: one entry per record of the set.
    Q_ASSERT(result.items == sheet.size());
    Q_ASSERT(sheet.size() == currentSet.recordCount());
    HistoryAttempt a;
    a.when = when;
    a.examTitle = examTitle;
    a.candidateName = candidateName;
    a.items = result.items;
    a.correct = result.correct;
    a.score = result.shownScore;
    a.grade = result.gradeWord;
    a.timeLimitSeconds = seconds(timeLimitDays);
    a.timeUsedSeconds = seconds(timeUsedDays);
    for (int s = 0; s < 6; ++s) {
        a.sections[s].correct = result.Sections[s].correct;
        a.sections[s].items = result.Sections[s].items;
    }
    SuspendedCursor cursor(currentSet);
    for (currentSet.first(); !currentSet.eof(); currentSet.next()) {
        const int r = currentSet.recNo();
        if (r < 1 || r > sheet.size())
            continue;
        HistoryItem item;
        // A user-set item is copied without an exam number.
        item.source =
            currentSet.fieldByName(ItemRecord::Q_EXAM_N).isNull() ? ItemSource::UserSet : ItemSource::Bank;
        item.number = std::int32_t(currentSet.fieldByName(ItemRecord::Q_OR_NUMBER).asInteger());
        item.correct = sheet.entry(r).Correct != 0;
        a.results.push_back(item);
    }
    cursor.restore();
    return a;
}

QString ScoreHistory::encodeResults(const std::vector<HistoryItem>& results)
{
    QStringList parts;
    parts.reserve(int(results.size()));
    for (const HistoryItem& i : results)
        parts << QStringLiteral("%1%2%3")
                     .arg(i.source == ItemSource::Bank ? QLatin1Char('B') : QLatin1Char('U'))
                     .arg(i.number)
                     .arg(i.correct ? QLatin1Char('+') : QLatin1Char('-'));
    return parts.join(QLatin1Char(' '));
}

std::vector<HistoryItem> ScoreHistory::decodeResults(const QString& text)
{
    std::vector<HistoryItem> items;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (part.size() < 3)
            continue;
        const QChar source = part.front(), verdict = part.back();
        if ((source != QLatin1Char('B') && source != QLatin1Char('U')) ||
            (verdict != QLatin1Char('+') && verdict != QLatin1Char('-')))
            continue;
        bool ok = false;
        const int number = part.mid(1, part.size() - 2).toInt(&ok);
        if (!ok || number <= 0)
            continue;
        items.push_back({source == QLatin1Char('B') ? ItemSource::Bank : ItemSource::UserSet, number,
                         verdict == QLatin1Char('+')});
    }
    return items;
}
