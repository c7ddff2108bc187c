#pragma once

#include "core/browser/BrowserItem.h"
#include "core/learning/Fsrs.h"
#include "core/learning/ItemState.h"

#include <QDateTime>
#include <QHash>
#include <vector>

class Table;

// Reads what the question browser lists and adds the candidate's history.
namespace QuestionCatalog {

// Every active bank item (practice exams 1 to 6; retired items, exam 0, are
// left out) in Q_ID order. The bank must be open without a filter; its
// cursor stays.
std::vector<BrowserItem> readBank(Table& bank, const QHash<qint64, QString>& notes);
// The same from the bank's file, read as it lies in one walk over its rows:
// the active items after Q_ID `afterId`, at most `limit` of them (all when
// negative). Raises a TableError.
std::vector<BrowserItem> readBankFile(const QString& path, const QHash<qint64, QString>& notes,
                                      std::int32_t afterId = 0, int limit = -1);
// The active items of bank rows given field by field: Q_ID, Q_SECT, Q_TEXT,
// Q_EXPL, Q_TYPE, then each choice's text and flag, then Q_EXAM_N, PICT1, PICT2.
std::vector<BrowserItem> itemsOfBank(std::vector<std::vector<QVariant>> fields,
                                     const QHash<qint64, QString>& notes);
// Every item of the candidate's own set, its memo as its note.
std::vector<BrowserItem> readUserSet(Table& userSet);

// What the score history says of every item, worked out as the item memory
// would from it: right or wrong per attempt, oldest first.
MemoryStates replay(const std::vector<HistoryAttempt>& attempts, const Fsrs& fsrs = Fsrs());
// Takes each item's counts, last result and chance of recall at `nowMs`
// from `states`; `picksKnown` when they hold the wrong choices picked.
void attach(std::vector<BrowserItem>& items, const MemoryStates& states, bool picksKnown, qint64 nowMs,
            const Fsrs& fsrs = Fsrs());

// One graded attempt at one item.
struct Attempt
{
    QDateTime when;
    QString examTitle;
    bool correct = false;
};
// The item's graded attempts in the score history, newest first.
std::vector<Attempt> attemptsAt(const std::vector<HistoryAttempt>& attempts, ItemSource source,
                                std::int32_t id);

} // namespace QuestionCatalog
