#include "core/learning/ItemState.h"

#include <algorithm>

namespace {
constexpr double DayMs = 86400000.0;

bool before(const ItemState& a, ItemSource source, std::int32_t number)
{
    return a.source != source ? a.source < source : a.number < number;
}
} // namespace

QDateTime ItemState::lastReview() const
{
    return lastReviewMs == 0 ? QDateTime() : QDateTime::fromMSecsSinceEpoch(lastReviewMs);
}

double ItemState::retrievability(const Fsrs& fsrs, qint64 nowMs) const
{
    if (memory.isNew())
        return 0;
    return fsrs.retrievabilityUnrounded(double(nowMs - lastReviewMs) / DayMs, memory.stability);
}

Fsrs::Rating ItemState::ratingOf(const ItemOutcome& outcome)
{
    return outcome.correct && !outcome.learnShown ? Fsrs::Rating::Good : Fsrs::Rating::Again;
}

ItemResult ItemState::resultOf(const ItemOutcome& outcome)
{
    if (outcome.correct)
        return outcome.learnShown ? ItemResult::CorrectAfterLearn : ItemResult::Correct;
    return outcome.choicesKnown && (outcome.chosen & 0x3f) == 0 ? ItemResult::Unanswered : ItemResult::Wrong;
}

void ItemState::record(const ItemOutcome& outcome, qint64 whenMs, int elapsedDays, const Fsrs& fsrs)
{
    memory = fsrs.nextState(memory, elapsedDays, ratingOf(outcome));
    const ItemResult result = resultOf(outcome);
    if (seen == 0)
        firstResult = result;
    ++seen;
    if (!outcome.correct) {
        ++wrong;
        for (int k = 0; k < 6; ++k)
            if ((outcome.chosen >> k & 1) && !(outcome.correctChoices >> k & 1))
                ++wrongPicks[k];
    }
    lastResult = result;
    // A grading older than the last one (a history fed late) does not move
    // the date back: the memory counts from the newest.
    lastReviewMs = std::max(lastReviewMs, whenMs);
    timeMs += std::max<qint64>(0, outcome.timeMs);
}

MemoryStates::MemoryStates(std::vector<ItemState> states) : m_items(std::move(states))
{
    std::sort(m_items.begin(), m_items.end(),
              [](const ItemState& a, const ItemState& b) { return before(a, b.source, b.number); });
}

const ItemState* MemoryStates::find(ItemSource source, std::int32_t number) const&
{
    auto it = std::lower_bound(m_items.begin(), m_items.end(), std::make_pair(source, number),
                               [](const ItemState& a, const std::pair<ItemSource, std::int32_t>& key) {
                                   return before(a, key.first, key.second);
                               });
    if (it == m_items.end() || it->source != source || it->number != number)
        return nullptr;
    return &*it;
}

int calendarDaysBetween(qint64 fromMs, qint64 toMs)
{
    if (fromMs == 0 || toMs <= fromMs)
        return 0;
    const QDate from = QDateTime::fromMSecsSinceEpoch(fromMs).date();
    const QDate to = QDateTime::fromMSecsSinceEpoch(toMs).date();
    return int(std::max<qint64>(0, from.daysTo(to)));
}
