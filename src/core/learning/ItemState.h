#pragma once

#include "core/history/HistoryAttempt.h"
#include "core/learning/Fsrs.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// How an item went when it was graded.
enum class ItemResult : std::uint8_t {
    None = 0,              // never graded
    Correct = 1,           // answered right
    Wrong = 2,             // answered wrong
    Unanswered = 3,        // no choice selected
    CorrectAfterLearn = 4, // answered right after "Learn Now" had shown the answer
};

// One graded item of an exam, as the grading knows it.
struct ItemOutcome
{
    ItemSource source = ItemSource::Bank;
    std::int32_t number = 0; // Q_ID in its source
    bool correct = false;
    bool learnShown = false;         // "Learn Now" showed its answer during the exam
    std::uint8_t chosen = 0;         // bit k - 1: choice k (a = 1 .. f = 6) was selected
    std::uint8_t correctChoices = 0; // bit k - 1: choice k is a correct one
    bool choicesKnown = true;        // false when only the verdict is known (the score history)
    qint64 timeMs = 0;               // time spent on the item; 0 when not known
};

// One graded exam. Its id is what makes applying it twice harmless: one id
// per grading, never reused (see ItemMemory::gradingIdOf).
struct GradedExam
{
    QString id;
    QDateTime when;
    std::vector<ItemOutcome> outcomes;
};

// What the program has learnt about the candidate and one item: the memory
// model's state and the plain counts behind it.
struct ItemState
{
    ItemSource source = ItemSource::Bank;
    std::int32_t number = 0; // Q_ID in its source
    Fsrs::State memory;      // stability 0: never graded
    qint64 lastReviewMs = 0; // when it was last graded (the last result's date), ms since 1970 UTC
    std::int32_t seen = 0;   // times graded
    std::int32_t wrong = 0;  // of those, answered wrong or left unanswered
    ItemResult lastResult = ItemResult::None;
    ItemResult firstResult = ItemResult::None;
    std::array<std::int32_t, 6> wrongPicks{}; // times each wrong choice a..f was selected
    qint64 timeMs = 0;                        // time spent on it over all gradings

    bool isSeen() const { return seen > 0; }
    QDateTime lastReview() const;
    // The chance of recall at `nowMs`, from the fractional days since the
    // last grading; 0 for an item never graded.
    double retrievability(const Fsrs& fsrs, qint64 nowMs) const;

    // Right answers are rated Good; wrong or unanswered ones Again, and so is
    // a right answer that "Learn Now" had given away.
    static Fsrs::Rating ratingOf(const ItemOutcome& outcome);
    static ItemResult resultOf(const ItemOutcome& outcome);
    // Takes one graded outcome of this item at `whenMs`, `elapsedDays`
    // calendar days after the last grading (0 on the same day).
    void record(const ItemOutcome& outcome, qint64 whenMs, int elapsedDays, const Fsrs& fsrs);
};

// Every item's state in (source, number) order, looked up in O(log n).
class MemoryStates
{
public:
    MemoryStates() = default;
    explicit MemoryStates(std::vector<ItemState> states);

    const std::vector<ItemState>& items() const { return m_items; }
    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    // nullptr for an item never graded. Not on a temporary: the state
    // would go with it.
    const ItemState* find(ItemSource source, std::int32_t number) const&;
    const ItemState* find(ItemSource source, std::int32_t number) const&& = delete;

private:
    std::vector<ItemState> m_items;
};

// Whole calendar days in local time from `fromMs` to `toMs` (0 on the same
// day, never less).
int calendarDaysBetween(qint64 fromMs, qint64 toMs);
