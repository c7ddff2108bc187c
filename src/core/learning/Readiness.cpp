#include "core/learning/Readiness.h"

#include "core/exam/RandomSource.h"
#include "core/grading/GradeExam.h"
#include "core/grading/GradeResult.h"

#include <algorithm>
#include <numeric>

namespace Readiness {

namespace {
// Pseudo-items of the overall first-try accuracy a section's own counts are
// weighed against.
constexpr double PriorWeight = 5;

struct FirstTries
{
    std::array<int, 6> right{};
    std::array<int, 6> tried{};
};

bool rightFirstTime(const ItemState& s)
{
    return s.firstResult == ItemResult::Correct;
}

QString plural(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}
} // namespace

std::vector<double> chances(const std::vector<ActiveItem>& items, const MemoryStates& memory,
                            const QDateTime& now, const Fsrs& fsrs)
{
    const qint64 nowMs = now.toMSecsSinceEpoch();
    FirstTries first;
    std::vector<const ItemState*> states(items.size(), nullptr);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ItemState* s = memory.find(ItemSource::Bank, items[i].id);
        if (!s || !s->isSeen())
            continue;
        states[i] = s;
        const int sct = std::clamp(items[i].section, 1, 6) - 1;
        ++first.tried[sct];
        first.right[sct] += rightFirstTime(*s);
    }
    const int tried = std::accumulate(first.tried.begin(), first.tried.end(), 0);
    const int right = std::accumulate(first.right.begin(), first.right.end(), 0);
    std::vector<double> p(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const double g = items[i].guessChance();
        if (states[i]) {
            const double r = states[i]->retrievability(fsrs, nowMs);
            p[i] = r + (1 - r) * g;
            continue;
        }
        // Nothing seen at all: a blind guess is all there is to go on.
        const double overall = tried > 0 ? double(right) / tried : g;
        const int sct = std::clamp(items[i].section, 1, 6) - 1;
        p[i] = (first.right[sct] + PriorWeight * overall) / (first.tried[sct] + PriorWeight);
    }
    return p;
}

std::vector<double> rightAnswers(const std::array<std::vector<double>, 6>& p, const std::array<int, 6>& mix,
                                 int draws, std::uint32_t seed)
{
    // The sections of a form are drawn apart from one another, so the
    // spread of the whole is the convolution of the sections' spreads.
    RandomSource random(seed);
    std::vector<double> total{1.0};
    for (int s = 0; s < 6; ++s) {
        const int take = std::min(mix[s], int(p[s].size()));
        if (take <= 0)
            continue;
        std::vector<int> order(p[s].size());
        std::iota(order.begin(), order.end(), 0);
        std::vector<double> spread(std::size_t(take) + 1, 0.0), form(std::size_t(take) + 1);
        // A section taken whole is the same in every form.
        const int sectionDraws = take == int(order.size()) ? 1 : std::max(draws, 1);
        const auto size = std::uint32_t(order.size());
        for (int d = 0; d < sectionDraws; ++d) {
            std::fill(form.begin(), form.end(), 0.0);
            form[0] = 1;
            for (int k = 0; k < take; ++k) {
                // A partial shuffle: the first `take` places hold this form's items.
                const auto at = std::size_t(k);
                std::swap(order[at], order[at + random.draw(size - std::uint32_t(k))]);
                const double q = p[s][std::size_t(order[at])];
                for (std::size_t j = at + 1; j > 0; --j)
                    form[j] = form[j] * (1 - q) + form[j - 1] * q;
                form[0] *= 1 - q;
            }
            for (std::size_t j = 0; j < form.size(); ++j)
                spread[j] += form[j];
        }
        std::vector<double> both(total.size() + spread.size() - 1, 0.0);
        for (std::size_t a = 0; a < total.size(); ++a)
            for (std::size_t b = 0; b < spread.size(); ++b)
                both[a + b] += total[a] * spread[b] / sectionDraws;
        total = std::move(both);
    }
    return total;
}

Forecast forecast(const std::vector<ActiveItem>& items, const MemoryStates& memory, int gradedAttempts,
                  const QDateTime& now, std::uint32_t seed, const Fsrs& fsrs)
{
    Forecast f;
    f.attempts = gradedAttempts;
    for (const ActiveItem& item : items) {
        const ItemState* s = memory.find(ItemSource::Bank, item.id);
        f.itemsSeen += s && s->isSeen();
    }
    if (gradedAttempts < MinAttempts || f.itemsSeen < MinItemsSeen) {
        QStringList missing;
        if (gradedAttempts < MinAttempts)
            missing << QStringLiteral("%1 (you have %2)")
                           .arg(plural(MinAttempts, "graded exam", "graded exams"))
                           .arg(gradedAttempts);
        if (f.itemsSeen < MinItemsSeen)
            missing << QStringLiteral("%1 answered (you have %2)")
                           .arg(plural(MinItemsSeen, "item", "different items"))
                           .arg(f.itemsSeen);
        f.notEnoughText = QStringLiteral("Not enough practice yet: a forecast needs at least %1.")
                              .arg(missing.join(QStringLiteral(" and ")));
        return f;
    }
    f.enough = true;

    const std::vector<double> p = chances(items, memory, now, fsrs);
    std::array<std::vector<double>, 6> bySection;
    for (std::size_t i = 0; i < items.size(); ++i)
        bySection[std::size_t(std::clamp(items[i].section, 1, 6) - 1)].push_back(p[i]);
    const std::array<int, 6> mix = ActiveItems::sectionMix(items, FormSize);
    const int n = std::accumulate(mix.begin(), mix.end(), 0);
    if (n == 0)
        return f;

    double expected = 0;
    for (int s = 0; s < 6; ++s) {
        Section& sct = f.sections[s];
        sct.items = mix[s];
        if (bySection[s].empty())
            continue;
        sct.share = std::accumulate(bySection[s].begin(), bySection[s].end(), 0.0) / bySection[s].size();
        expected += sct.share * mix[s];
        sct.gain = GradeResult::MaxScore * mix[s] * (1 - sct.share) / n;
        if (f.gainsMost == 0 || sct.gain > f.sections[f.gainsMost - 1].gain)
            f.gainsMost = s + 1;
    }
    f.score = int(std::lround(GradeResult::MaxScore * expected / n));

    const std::vector<double> dist = rightAnswers(bySection, mix, Draws, seed);
    double below = 0;
    bool lowSet = false, highSet = false;
    for (int c = 0; c <= n; ++c) {
        below += dist[std::size_t(c)];
        const int score = int(roundHalfEven(std::int64_t(GradeResult::MaxScore) * c, n));
        if (!lowSet && below >= 0.1) {
            f.low = score;
            lowSet = true;
        }
        if (!highSet && below >= 0.9) {
            f.high = score;
            highSet = true;
        }
        if (std::int64_t(GradeResult::MaxScore) * c >= std::int64_t(GradeResult::PassingScore) * n)
            f.passChance += dist[std::size_t(c)];
    }
    if (!highSet)
        f.high = GradeResult::MaxScore;
    f.passChance = std::clamp(f.passChance, 0.0, 1.0);

    const int unseen = int(items.size()) - f.itemsSeen;
    f.basisText =
        QStringLiteral("Based on %1 and the %2 of the bank's %3 items you have answered, recalled as "
                       "the FSRS-6 memory model expects")
            .arg(plural(gradedAttempts, "graded exam", "graded exams"))
            .arg(f.itemsSeen)
            .arg(items.size());
    f.basisText += unseen == 0 ? QStringLiteral(".")
                               : QStringLiteral("; the %1 not met yet count at your first-try accuracy in "
                                                "their section.")
                                     .arg(unseen);
    return f;
}

} // namespace Readiness
