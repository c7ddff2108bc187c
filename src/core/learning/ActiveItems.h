#pragma once

#include <array>
#include <cstdint>
#include <vector>

class Table;

// A bank item that takes part in exams (Q_EXAM_N is not 0), as Smart Review
// and the readiness forecast see it.
struct ActiveItem
{
    std::int32_t id = 0; // Q_ID
    int section = 1;     // Q_SECT, 1 to 6
    int choices = 4;     // choices with a text, 2 to 6
    bool multiple = false;

    // The chance of a right answer by a blind guess: one of the choices for
    // a single-response item, one of the 2^n - 1 non-empty sets of choices
    // for a multiple-response one.
    double guessChance() const;
};

namespace ActiveItems {

// Every active item of the bank in Q_ID order; an item outside sections 1
// to 6 takes part in no form and is left out. The bank must be open without
// a filter; its cursor stays.
std::vector<ActiveItem> read(Table& bank);

// How many of `count` items each section (index section - 1) has in a form
// that keeps each section's share of `items`, as the practice exams do:
// largest remainders first, a tie to the lower section. `count` is at most
// the number of items.
std::array<int, 6> sectionMix(const std::vector<ActiveItem>& items, int count);

} // namespace ActiveItems
