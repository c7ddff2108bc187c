#pragma once

#include <QHash>
#include <QString>

#include "core/exam/RandomSource.h"

#include <cstdint>
#include <functional>
#include <vector>

class Table;

// Building the current exam set: which source items take part, in which
// random order, and the copy of each into the current set.
namespace ExamAssembly {

enum class Source { Bank, UserSet };

// The Q_ID of every source record that passes the source's filter, in key
// order. The table must be open.
std::vector<std::int32_t> collectKeys(Table& source);

// `count` distinct candidates in random order by the rejection draw: draw a
// position among all candidates and draw again while that candidate was
// already chosen. "Already chosen" is a bitmap look-up, so a full shuffle
// costs O(M) draws on average per item instead of a scan of the chosen list.
// Candidates must be distinct and non-zero.
std::vector<std::int32_t> choose(const std::vector<std::int32_t>& candidates, int count,
                                 RandomSource& random);

// The same draw with the chosen list scanned for every candidate; kept to
// check the fast draw against and to measure it.
std::vector<std::int32_t> chooseByScan(const std::vector<std::int32_t>& candidates, int count,
                                       RandomSource& random);

// Empties nothing: appends one current-set record per chosen key, copying
// the item's fields from the source, all in one transaction. The source must
// be open with its filter; the current set open exclusively. `progress` is
// told the index of each item before it is copied.
void copyItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
               const std::function<void(int)>& progress = {});

// Opens the current set exclusively for an assembly. The set is only a
// scratch table: when its file is missing, damaged or not a table, the
// damaged file is kept beside it under another name (see damagedCopyName)
// and a new, empty set is made, so that no exam is blocked by it. A set in
// use by another copy, a table of another kind in its place, a folder or a
// full disk are not touched: that error is raised.
void openCurrentSet(Table& currentSet);
// The name a damaged current set is kept under: "ces.DAT.damaged", or with
// a number behind it when that name is taken.
QString damagedCopyName(const QString& path);

// Empties the current set and fills it with the chosen items in one
// transaction, so the set holds a whole exam at every moment: the previous
// one until the commit, the new one after it. A failure (or a kill) part way
// leaves the previous exam as it was. The current set must be open
// exclusively; otherwise as copyItems.
void replaceItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
                  const std::function<void(int)>& progress = {});

// Keys of one source, copied in their order.
struct Batch
{
    Table* source = nullptr;
    Source kind = Source::Bank;
    std::vector<std::int32_t> keys;
    // The candidate's notes by item ID, which take the place of the source's
    // own memo field (the bank ships without notes); none when null.
    const QHash<qint64, QString>* notes = nullptr;
};
// The same for items of several sources: the batches one after another, the
// empty and every copy in one transaction. `progress` counts over all batches.
void replaceItems(Table& currentSet, const std::vector<Batch>& batches,
                  const std::function<void(int)>& progress = {});

} // namespace ExamAssembly
