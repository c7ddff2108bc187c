#pragma once

#include "core/history/HistoryAttempt.h"
#include "core/learning/Fsrs.h"
#include "core/learning/ItemState.h"
#include "core/store/TableFiles.h"
#include "core/tables/FieldDef.h"

#include <QString>
#include <vector>

class AnswerSheet;
class Table;

// What the program has learnt from every graded answer: per bank item (by
// its Q_ID) and per item of the candidate's own set (by its own Q_ID, kept
// apart by source) the memory model's stability and difficulty, the date of
// the last grading and its result, how often it was seen and answered wrong,
// and how often each wrong choice was picked. It lives in the candidate's
// data folder (memory.DAT), an encrypted table of its own.
//
// Each grading is applied once: its id is kept with the changes it made, in
// the same transaction, and a grading whose id is there already changes
// nothing. The first time, the score history is fed in (oldest attempt
// first, right or wrong only: the history keeps no more), and the store
// remembers that it was. A damaged store is kept aside and started anew
// (TableRenewal); `notice` then says where the damaged file was kept, to be
// shown once. Other failures raise a TableError and leave the store as it was.
class ItemMemory
{
public:
    static inline const QString FileName = QStringLiteral("memory.DAT");

    explicit ItemMemory(const QString& folder, const QString& sessionName = TableFiles::SessionName,
                        const Fsrs& fsrs = Fsrs());

    QString filePath() const;
    static TableSchema schema();

    // Applies one graded exam, in one transaction. When the store has not
    // been fed from the score history yet and `history` is given, its
    // attempts go first (all but the one of this grading, which is applied
    // with its full detail). False, and nothing changed, when this grading
    // was applied before.
    bool apply(const GradedExam& exam, const std::vector<HistoryAttempt>* history = nullptr,
               QString* notice = nullptr);
    // The first time only: every attempt of the history not applied yet,
    // oldest first, in one transaction; then the store is marked fed. An
    // attempt without a readable date is left out. The number of attempts
    // applied (0 when it was fed before).
    int feedFromHistory(const std::vector<HistoryAttempt>& attempts, QString* notice = nullptr);
    bool isFed() const;
    bool wasApplied(const QString& gradingId) const;

    // Every item's state; none when there is no store yet.
    MemoryStates readAll(QString* notice = nullptr) const;

    // The id of the grading a score-history attempt records: its key and
    // time, so a history started anew never gives an old id again.
    static QString gradingIdOf(const HistoryAttempt& attempt);
    // An attempt as a graded exam: right or wrong per item, nothing more.
    static GradedExam gradedExamOf(const HistoryAttempt& attempt);
    // The outcomes of the exam just graded: per record r of the current set
    // (entry r - 1 of the sheet) its source and number, verdict, choices and
    // correct choices; `learnShown` and `timeMs` by the same index (missing
    // entries: not shown, time unknown). The set's cursor stays. Raises
    // TableError.
    static std::vector<ItemOutcome> outcomesOf(const AnswerSheet& sheet, Table& currentSet,
                                               const std::vector<bool>& learnShown,
                                               const std::vector<qint64>& timeMs = {});

private:
    QString m_folder;
    QString m_sessionName;
    Fsrs m_fsrs;
};
