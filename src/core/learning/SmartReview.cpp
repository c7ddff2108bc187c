#include "core/learning/SmartReview.h"

#include "core/exam/RandomSource.h"

#include <algorithm>

namespace SmartReview {

namespace {
struct Candidate
{
    std::int32_t id = 0;
    int tier = 0; // 0 due, 1 never seen, 2 the rest
    double recall = 0;
    std::uint32_t draw = 0; // the random order of the unseen
};
} // namespace

Choice choose(const std::vector<ActiveItem>& items, const MemoryStates& memory, int count, std::uint32_t seed,
              const QDateTime& now, const Fsrs& fsrs)
{
    Choice choice;
    const std::array<int, 6> mix = ActiveItems::sectionMix(items, count);
    const qint64 nowMs = now.toMSecsSinceEpoch();
    RandomSource random(seed);
    std::array<std::vector<Candidate>, 6> bySection;
    bool anySeen = false;
    for (const ActiveItem& item : items) {
        if (item.section < 1 || item.section > 6)
            continue;
        Candidate c;
        c.id = item.id;
        const ItemState* state = memory.find(ItemSource::Bank, item.id);
        if (state && state->isSeen()) {
            anySeen = true;
            c.recall = state->retrievability(fsrs, nowMs);
            c.tier = c.recall < Fsrs::DesiredRetention ? 0 : 2;
        } else {
            c.tier = 1;
            c.draw = random.draw(0xffffffffu);
        }
        bySection[item.section - 1].push_back(c);
    }
    choice.nothingSeenYet = !anySeen;
    for (int s = 0; s < 6; ++s) {
        std::vector<Candidate>& list = bySection[s];
        const auto take = std::size_t(std::min<std::size_t>(std::size_t(mix[s]), list.size()));
        std::partial_sort(list.begin(), list.begin() + std::ptrdiff_t(take), list.end(),
                          [](const Candidate& a, const Candidate& b) {
                              if (a.tier != b.tier)
                                  return a.tier < b.tier;
                              if (a.tier == 1)
                                  return a.draw != b.draw ? a.draw < b.draw : a.id < b.id;
                              return a.recall != b.recall ? a.recall < b.recall : a.id < b.id;
                          });
        for (std::size_t i = 0; i < take; ++i) {
            choice.ids.push_back(list[i].id);
            choice.due += list[i].tier == 0;
            choice.unseen += list[i].tier == 1;
        }
        choice.perSection[s] = int(take);
    }
    return choice;
}

} // namespace SmartReview
