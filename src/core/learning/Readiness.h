#pragma once

#include "core/learning/ActiveItems.h"
#include "core/learning/Fsrs.h"
#include "core/learning/ItemState.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The forecast of a new practice exam: FormSize items of the bank's section
// mix, scored 0 to 1000 and passed at 850 as every exam is graded.
//
// Each item's chance of a right answer is its recall now by the memory
// model, raised by the chance of a blind guess (ActiveItem::guessChance):
// p = R + (1 - R) * g. An item never seen takes the candidate's accuracy on
// first meeting an item of its section (weighed towards their accuracy over
// all sections while the section has few). The score's spread comes from
// Draws random draws of each section's items (a fixed seed), each draw's
// number of right answers taken exactly.
namespace Readiness {

constexpr int FormSize = 50;
constexpr int Draws = 10000;
constexpr int MinAttempts = 2;
constexpr int MinItemsSeen = 100;

struct Section
{
    int items = 0;    // in the form
    double share = 0; // expected share answered right, 0 to 1
    double gain = 0;  // points the score would gain with every item of the section right
};

struct Forecast
{
    bool enough = false;
    QString notEnoughText; // "Not enough practice yet: ..." with why, when !enough
    int score = 0;         // the expected score, 0 to 1000
    int low = 0;           // the 80% range: 1 in 10 below, 1 in 10 above
    int high = 0;
    double passChance = 0; // 0 to 1
    std::array<Section, 6> sections{};
    int gainsMost = 0; // the section (1 to 6) that would gain most from practice
    QString basisText; // what the forecast rests on, one line
    int attempts = 0;  // graded attempts it counted
    int itemsSeen = 0; // active items graded at least once
};

// `gradedAttempts`: the score history's attempts.
Forecast forecast(const std::vector<ActiveItem>& items, const MemoryStates& memory, int gradedAttempts,
                  const QDateTime& now, std::uint32_t seed = 20261210, const Fsrs& fsrs = Fsrs());

// The chance of a right answer of each item now, in the order of `items`.
std::vector<double> chances(const std::vector<ActiveItem>& items, const MemoryStates& memory,
                            const QDateTime& now, const Fsrs& fsrs = Fsrs());

// The spread of a form's score when item i of section s is right with
// chance p[s][i] and the form takes mix[s] items of each section at random:
// the probability of each number of right answers, 0 to the form's size.
std::vector<double> rightAnswers(const std::array<std::vector<double>, 6>& p, const std::array<int, 6>& mix,
                                 int draws, std::uint32_t seed);

} // namespace Readiness
