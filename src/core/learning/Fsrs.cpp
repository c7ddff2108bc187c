#include "core/learning/Fsrs.h"

#include <algorithm>
#include <cmath>

namespace {
// The ranges the reference clamps each weight to (short-term stability on).
constexpr std::array<std::pair<double, double>, 21> WeightRange = {
    {{0.001, 100},  {0.001, 100}, {0.001, 100}, {0.001, 100}, {1, 10},    {0.001, 4},    {0.001, 4},
     {0.001, 0.75}, {0, 4.5},     {0, 0.8},     {0.001, 3.5}, {0.001, 5}, {0.001, 0.25}, {0.001, 0.9},
     {0, 4},        {0, 1},       {1, 6},       {0, 2},       {0, 2},     {0.01, 0.8},   {0.1, 0.8}}};

int grade(Fsrs::Rating rating)
{
    return int(rating);
}
} // namespace

double Fsrs::jsRound(double x)
{
    // The nearest whole number, a half going up (towards +infinity).
    const double f = std::floor(x);
    return x - f >= 0.5 ? f + 1 : f;
}

double Fsrs::round8(double x)
{
    return jsRound(x * 1e8) / 1e8;
}

Fsrs::Fsrs(const Weights& weights, double desiredRetention, int maximumInterval)
    : m_maximumInterval(maximumInterval)
{
    for (std::size_t i = 0; i < m_w.size(); ++i)
        m_w[i] = std::clamp(std::isfinite(weights[i]) ? weights[i] : DefaultWeights[i], WeightRange[i].first,
                            WeightRange[i].second);
    m_decay = -m_w[20];
    m_factor = round8(std::exp(std::pow(m_decay, -1.0) * std::log(0.9)) - 1);
    m_intervalModifier = round8((std::pow(desiredRetention, 1 / m_decay) - 1) / m_factor);
}

double Fsrs::retrievability(double elapsedDays, double stability) const
{
    return round8(retrievabilityUnrounded(elapsedDays, stability));
}

double Fsrs::retrievabilityUnrounded(double elapsedDays, double stability) const
{
    if (stability <= 0)
        return 0;
    return std::pow(1 + m_factor * std::max(0.0, elapsedDays) / stability, m_decay);
}

double Fsrs::initialStability(Rating rating) const
{
    return std::max(m_w[grade(rating) - 1], 0.1);
}

double Fsrs::initialDifficulty(Rating rating) const
{
    return round8(m_w[4] - std::exp((grade(rating) - 1) * m_w[5]) + 1);
}

double Fsrs::nextDifficulty(double difficulty, Rating rating) const
{
    const double delta = -m_w[6] * (grade(rating) - 3);
    const double damped = difficulty + round8(delta * (10 - difficulty) / 9);
    const double reverted = round8(m_w[7] * initialDifficulty(Rating::Easy) + (1 - m_w[7]) * damped);
    return std::clamp(reverted, 1.0, 10.0);
}

double Fsrs::recallStability(double difficulty, double stability, double r, Rating rating) const
{
    const double hardPenalty = rating == Rating::Hard ? m_w[15] : 1;
    const double easyBonus = rating == Rating::Easy ? m_w[16] : 1;
    const double s = stability * (1 + std::exp(m_w[8]) * (11 - difficulty) * std::pow(stability, -m_w[9]) *
                                          (std::exp((1 - r) * m_w[10]) - 1) * hardPenalty * easyBonus);
    return round8(std::clamp(s, MinStability, MaxStability));
}

double Fsrs::forgetStability(double difficulty, double stability, double r) const
{
    const double s = m_w[11] * std::pow(difficulty, -m_w[12]) * (std::pow(stability + 1, m_w[13]) - 1) *
                     std::exp((1 - r) * m_w[14]);
    return round8(std::clamp(s, MinStability, MaxStability));
}

double Fsrs::shortTermStability(double stability, Rating rating) const
{
    double increase = std::pow(stability, -m_w[19]) * std::exp(m_w[17] * (grade(rating) - 3 + m_w[18]));
    // A recalled item never loses stability on the same day.
    if (rating >= Rating::Hard)
        increase = std::max(increase, 1.0);
    return round8(std::clamp(stability * increase, MinStability, MaxStability));
}

Fsrs::State Fsrs::nextState(const State& state, int elapsedDays, Rating rating) const
{
    if (state.isNew())
        return {initialStability(rating), std::clamp(initialDifficulty(rating), 1.0, 10.0)};
    const double s = std::max(state.stability, MinStability);
    const double d = std::clamp(state.difficulty, 1.0, 10.0);
    const int t = std::max(0, elapsedDays);
    const double r = retrievability(t, s);
    double next;
    if (t == 0) {
        next = shortTermStability(s, rating);
    } else if (rating == Rating::Again) {
        // Never more than the same-day bound S / e^(w17 * w18).
        const double bound = round8(s / std::exp(m_w[17] * m_w[18]));
        next = std::min(std::max(bound, MinStability), forgetStability(d, s, r));
    } else {
        next = recallStability(d, s, r, rating);
    }
    return {next, nextDifficulty(d, rating)};
}

int Fsrs::nextInterval(double stability) const
{
    const double days = std::max(1.0, jsRound(stability * m_intervalModifier));
    return int(std::min(days, double(m_maximumInterval)));
}

Fsrs::Review Fsrs::review(const State& state, int elapsedDays, Rating rating) const
{
    const State next = nextState(state, elapsedDays, rating);
    if (state.isNew() || rating == Rating::Again)
        return {next, nextInterval(next.stability)};
    auto intervalAfter = [&](Rating r) { return nextInterval(nextState(state, elapsedDays, r).stability); };
    const int good = intervalAfter(Rating::Good);
    const int hard = std::min(intervalAfter(Rating::Hard), good);
    const int goodApart = std::max(good, hard + 1);
    switch (rating) {
    case Rating::Hard:
        return {next, hard};
    case Rating::Good:
        return {next, goodApart};
    default:
        return {next, std::max(nextInterval(next.stability), goodApart + 1)};
    }
}
