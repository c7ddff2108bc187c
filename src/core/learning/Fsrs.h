#pragma once

#include <array>

// The FSRS-6 memory model: how well an item is remembered (stability S, in
// days; difficulty D, 1 to 10) and how that changes with each rating.
//
// A port of the formulas of FSRS-6 as open-spaced-repetition publishes them
// (https://github.com/open-spaced-repetition/fsrs4anki/wiki/The-Algorithm and
// its reference scheduler ts-fsrs, https://github.com/open-spaced-repetition/ts-fsrs,
// version 5.4.2), including its habit of rounding every intermediate value
// to 8 decimals, so the states agree with it to the last digit it keeps.
// The scheduler is the one ts-fsrs builds with no learning or relearning
// steps, short-term stability on and no fuzz: each rating gives a whole-day
// interval, and a second rating on the same day takes the same-day update.
// tools/fsrs-golden writes the reference sequences the tests compare with.
class Fsrs
{
public:
    enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

    using Weights = std::array<double, 21>;
    // The published FSRS-6 defaults, w0 to w20 (w20 the decay).
    static constexpr Weights DefaultWeights = {0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194,
                                               0.001,  1.8722, 0.1666, 0.796,  1.4835, 0.0614, 0.2629,
                                               1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
    static constexpr double DesiredRetention = 0.9;
    static constexpr int MaximumInterval = 36500;
    static constexpr double MinStability = 0.001;
    static constexpr double MaxStability = 36500;

    // A state of memory; stability 0 is an item never rated.
    struct State
    {
        double stability = 0;
        double difficulty = 0;
        bool isNew() const { return stability <= 0; }
    };

    // The state after a rating and the whole days until the next review.
    struct Review
    {
        State state;
        int intervalDays = 0;
    };

    // The weights are clamped to the ranges the reference allows.
    explicit Fsrs(const Weights& weights = DefaultWeights, double desiredRetention = DesiredRetention,
                  int maximumInterval = MaximumInterval);

    const Weights& weights() const { return m_w; }

    // The chance of recall `elapsedDays` (a fraction allowed) after the last
    // review: R(t, S) = (1 + F * t / S)^-w20, with F chosen so that R(S, S) = 0.9.
    double retrievability(double elapsedDays, double stability) const;
    // The same without the reference's rounding to 8 decimals, for callers
    // that only rank or weigh items.
    double retrievabilityUnrounded(double elapsedDays, double stability) const;

    double initialStability(Rating rating) const;
    double initialDifficulty(Rating rating) const; // unclamped, as mean reversion takes it
    // D' = w7 * D0(Easy) + (1 - w7) * (D + dD * (10 - D) / 9), dD = -w6 * (G - 3), clamped to 1..10.
    double nextDifficulty(double difficulty, Rating rating) const;
    // After a successful recall (Hard, Good or Easy) at retrievability r.
    double recallStability(double difficulty, double stability, double r, Rating rating) const;
    // After a lapse (Again) at retrievability r, before the same-day bound.
    double forgetStability(double difficulty, double stability, double r) const;
    // A second rating on the day of the last one.
    double shortTermStability(double stability, Rating rating) const;
    // The new state after a rating `elapsedDays` whole days after the last
    // one (ignored for a new item).
    State nextState(const State& state, int elapsedDays, Rating rating) const;
    // Whole days until the stability falls to the desired retention: at
    // least 1, at most the maximum interval.
    int nextInterval(double stability) const;

    // nextState and the interval the reference's scheduler gives with it:
    // for an item in review the intervals of Hard, Good and Easy are kept
    // apart (Hard <= Good - 1, Easy >= Good + 1) as it does.
    Review review(const State& state, int elapsedDays, Rating rating) const;

    // JavaScript's Math.round and the reference's rounding to 8 decimals.
    static double jsRound(double x);
    static double round8(double x);

private:
    Weights m_w;
    double m_decay;  // -w20
    double m_factor; // F
    double m_intervalModifier;
    int m_maximumInterval;
};
