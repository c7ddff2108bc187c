#pragma once

#include "core/history/HistoryAttempt.h"

#include <cstdint>
#include <vector>

class Table;

// The items a retake exam is made of: those answered incorrectly in one
// graded attempt, each once, as long as its source still holds it.
class RetakeSet
{
public:
    struct Item
    {
        ItemSource source = ItemSource::Bank;
        std::int32_t id = 0; // Q_ID in the source
        bool operator==(const Item&) const = default;
    };

    explicit RetakeSet(const HistoryAttempt& attempt);

    // The incorrect items of the attempt, in the attempt's order, each once.
    const std::vector<Item>& incorrect() const { return m_incorrect; }
    bool needsBank() const;
    bool needsUserSet() const;
    // Whether any of `items` comes from `source`.
    static bool holds(const std::vector<Item>& items, ItemSource source);

    // The incorrect items still found by their Q_ID in the open bank or user
    // set; a source given as nullptr has none. Moves the tables' cursors.
    std::vector<Item> existing(Table* bank, Table* userSet) const;

private:
    std::vector<Item> m_incorrect;
};
