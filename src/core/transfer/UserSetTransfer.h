#pragma once

#include "core/transfer/TransferItem.h"

#include <QList>
#include <functional>

class Table;

// Items in and out of the user set, through its open table component.
// Errors of the table engine are raised as TableError.
class UserSetTransfer
{
public:
    // Every stored item in Q_ID order. The table must be browsing; it stays
    // on its record and its readers do not follow the walk.
    static QList<TransferItem> readAll(Table& table);
    // Appends the items in one transaction, so that the set holds all of them
    // or none; an item without a section gets unsortedSection. The Q_IDs come
    // from the table and are returned in order; afterwards the table stands on
    // the first new item. `step(i)` is asked before item i: when it answers
    // false, nothing is added and the list is empty.
    static QList<qint64> appendAll(Table& table, const QList<TransferItem>& items, int unsortedSection,
                                   const std::function<bool(int)>& step = {});
    // How many items have no section.
    static int unsortedCount(const QList<TransferItem>& items);
};
