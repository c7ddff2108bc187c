#pragma once

#include "core/history/HistoryAttempt.h"
#include "core/store/TableFiles.h"
#include "core/tables/FieldDef.h"

#include <QString>
#include <vector>

class AnswerSheet;
class Table;
struct GradeResult;

// The candidate's score history: one record per graded exam in an encrypted
// table of its own, kept in a per-user folder (created on first use). Every
// operation opens the table and closes it again, and reports a failure as
// the table engine's message instead of raising it. A history found damaged
// is kept aside and started anew (TableRenewal); the operation then goes on
// and `notice` says where the damaged file was kept, to be shown once.
class ScoreHistory
{
public:
    static inline const QString FileName = QStringLiteral("history.DAT");

    explicit ScoreHistory(const QString& folder, const QString& sessionName = TableFiles::SessionName);

    // The per-user data folder of the program.
    static QString defaultFolder();
    QString filePath() const;
    static TableSchema schema();

    // Appends the attempt and sets its id. Creates folder and table first
    // when they do not exist yet; an existing file is never replaced.
    bool append(HistoryAttempt& attempt, QString* error, QString* notice = nullptr);
    // Every attempt, newest first. No table yet is an empty history.
    bool load(std::vector<HistoryAttempt>* attempts, QString* error, QString* notice = nullptr) const;
    // The newest attempt; *found is false when there is none.
    bool latest(HistoryAttempt* attempt, bool* found, QString* error, QString* notice = nullptr) const;
    bool remove(qint64 id, QString* error, QString* notice = nullptr);

    // The attempt of a graded exam: the grade, and per item of the current
    // set (record r beside sheet entry r - 1) its source, number and verdict.
    // The set's cursor is back on its record afterwards. Raises TableError.
    static HistoryAttempt fromGrading(const GradeResult& result, const AnswerSheet& sheet, Table& currentSet,
                                      const QString& examTitle, const QString& candidateName,
                                      double timeLimitDays, double timeUsedDays, const QDateTime& when);

    // The per-item results as one text: "B12+ U3-" (source, number, verdict).
    static QString encodeResults(const std::vector<HistoryItem>& results);
    // Unreadable entries are skipped.
    static std::vector<HistoryItem> decodeResults(const QString& text);

private:
    QString m_folder;
    QString m_sessionName;
};
