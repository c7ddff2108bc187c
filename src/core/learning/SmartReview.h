#pragma once

#include "core/learning/ActiveItems.h"
#include "core/learning/Fsrs.h"
#include "core/learning/ItemState.h"

#include <QDateTime>
#include <array>
#include <cstdint>
#include <vector>

// The items of a Smart Review: per section, as many as the section's share
// of the bank's active items gives it in a form of that size (as a practice
// exam keeps it), taken in this order: the items due (recall now below the
// desired retention), the least likely recalled first; then the items never
// seen, in random order; then the rest, the least likely recalled first.
namespace SmartReview {

struct Choice
{
    std::vector<std::int32_t> ids;   // bank Q_IDs, section 1 first; shuffle them as every bank exam
    std::array<int, 6> perSection{}; // how many of each section
    int due = 0;                     // of the ids, items due
    int unseen = 0;                  // of the ids, items never seen
    bool nothingSeenYet = false;     // no active item was ever graded: a random exam of the mix
};

// `count` is at most the number of items; the same seed draws the same
// unseen items.
Choice choose(const std::vector<ActiveItem>& items, const MemoryStates& memory, int count, std::uint32_t seed,
              const QDateTime& now, const Fsrs& fsrs = Fsrs());

} // namespace SmartReview
