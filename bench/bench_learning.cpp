// Learning from every answer, measured. 200 simulated candidates practise
// for 60 days on a bank of 300 items (the shipped bank's section mix and
// kinds of item) in six practice forms of 50. Each candidate has a memory of
// their own (the FSRS-6 weights drawn around the defaults, each times
// e^N(0, 0.2)), a knack for guessing (1 to 1.6 times a blind guess) and some
// items known before they start (a share per section). An item is answered
// right when recalled, else by a guess; afterwards the candidate sees its
// answer and their memory takes Good when they recalled it, Again when not.
// The program's memory sees only right or wrong.
// Printed beside the goals:
//  1. the readiness forecast made before a new practice exam each day
//     (followed by "Retake Incorrect"), once the candidate has 3 graded
//     attempts, against the score then made; beside it an oracle that knows
//     each item's true chance of a right answer; and the share of scores
//     inside the forecast's 80% range;
//  2. the items presented until the true chance of a right answer is 0.9
//     or more on 90% of the bank: a Smart Review of 50 a day against the
//     six practice forms in turn, each followed by "Retake Incorrect";
//  3. the speed of the update at grading, of reading every item's memory,
//     of the Smart Review choice and of the forecast at 100,000 items.
// Run: bench_learning [candidates]
#include "core/grading/GradeExam.h"
#include "core/learning/ActiveItems.h"
#include "core/learning/ItemMemory.h"
#include "core/learning/Readiness.h"
#include "core/learning/SmartReview.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <random>

namespace {
int Candidates = 200; // or the first argument
constexpr int Days = 60;
constexpr int FormItems = 50;
constexpr qint64 DayMs = 86400000;
constexpr qint64 HourMs = 3600000;
const QDateTime Start(QDate(2026, 1, 5), QTime(10, 0));
// Taken once: each conversion of a local time looks at the time zone file.
const qint64 StartMs = Start.toMSecsSinceEpoch();

// ---- the simulated bank -----------------------------------------------------

// The shipped bank's mix of sections and kinds of item, in six forms of 50
// that together hold every item.
struct SimBank
{
    std::vector<ActiveItem> items;
    std::array<std::vector<int>, 6> forms; // indexes into items
};

SimBank makeBank()
{
    SimBank bank;
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> u(0, 1);
    std::vector<ActiveItem> shipped;
    const std::array<int, 6> perSection{44, 57, 57, 43, 44, 45};
    for (int s = 0; s < 6; ++s)
        for (int i = 0; i < perSection[s]; ++i)
            shipped.push_back({0, s + 1, 4, false});
    const std::array<int, 6> mix = ActiveItems::sectionMix(shipped, FormItems);
    for (int f = 0; f < 6; ++f) {
        for (int s = 0; s < 6; ++s) {
            for (int i = 0; i < mix[s]; ++i) {
                ActiveItem item;
                item.id = std::int32_t(bank.items.size()) + 1;
                item.section = s + 1;
                item.multiple = u(random) < 0.35;
                const double c = u(random);
                item.choices = item.multiple ? (c < 0.75 ? 5 : 4) : (c < 0.7 ? 4 : c < 0.95 ? 5 : 6);
                bank.forms[f].push_back(int(bank.items.size()));
                bank.items.push_back(item);
            }
        }
    }
    return bank;
}

// ---- a simulated candidate ----------------------------------------------------

int dayOf(qint64 ms)
{
    return int(std::floor(double(ms - StartMs) / DayMs + 1e-9));
}

class Candidate
{
public:
    Candidate(const SimBank& bank, int index) : m_bank(bank), m_random(std::uint32_t(7919 * index + 1))
    {
        std::normal_distribution<double> spread(0, 0.2);
        Fsrs::Weights w = Fsrs::DefaultWeights;
        for (double& x : w)
            x *= std::exp(spread(m_random));
        m_truth = Fsrs(w);
        m_guessKnack = 1 + 0.6 * uniform();
        const double ability = 0.15 + 0.45 * uniform();
        std::normal_distribution<double> bySection(0, 0.1);
        std::array<double, 6> prior{};
        for (double& k : prior)
            k = std::clamp(ability + bySection(m_random), 0.02, 0.95);
        const qint64 start = StartMs;
        m_truths.resize(bank.items.size());
        m_model.resize(bank.items.size());
        for (std::size_t i = 0; i < bank.items.size(); ++i) {
            m_model[i].number = bank.items[i].id;
            if (uniform() < prior[std::size_t(bank.items[i].section - 1)]) {
                // Known already, from work or an earlier course.
                const double s = std::exp(std::log(20) + uniform() * (std::log(200) - std::log(20)));
                m_truths[i].state = {s, 5};
                m_truths[i].lastMs = start - qint64(uniform() * s * DayMs);
            }
        }
    }

    double uniform() { return std::uniform_real_distribution<double>(0, 1)(m_random); }

    // The true chance of a right answer to item i at `ms`.
    double trueChance(std::size_t i, qint64 ms) const
    {
        const double g = std::min(1.0, m_bank.items[i].guessChance() * m_guessKnack);
        const Truth& t = m_truths[i];
        const double r = t.state.isNew() ? 0
                                         : m_truth.retrievabilityUnrounded(double(ms - t.lastMs) / DayMs,
                                                                           t.state.stability);
        return r + (1 - r) * g;
    }

    // Item i answered at `ms`, then its answer seen in the review: the
    // candidate's memory and the program's both learn. True when right.
    bool answer(std::size_t i, qint64 ms)
    {
        Truth& t = m_truths[i];
        const double r = t.state.isNew() ? 0
                                         : m_truth.retrievabilityUnrounded(double(ms - t.lastMs) / DayMs,
                                                                           t.state.stability);
        const bool recalled = uniform() < r;
        const double g = std::min(1.0, m_bank.items[i].guessChance() * m_guessKnack);
        const bool right = recalled || uniform() < g;
        const int trueDays = t.state.isNew() ? 0 : std::max(0, dayOf(ms) - dayOf(t.lastMs));
        t.state = m_truth.nextState(t.state, trueDays, recalled ? Fsrs::Rating::Good : Fsrs::Rating::Again);
        t.lastMs = ms;

        ItemState& m = m_model[i];
        ItemOutcome o;
        o.number = m.number;
        o.correct = right;
        o.chosen = right ? 0b1 : 0b10;
        o.correctChoices = 0b1;
        const int days = m.isSeen() ? std::max(0, dayOf(ms) - dayOf(m.lastReviewMs)) : 0;
        m.record(o, ms, days, m_fsrs);
        ++m_presented;
        return right;
    }

    // A graded exam of these items at `ms`: the number right.
    int exam(const std::vector<std::size_t>& items, qint64 ms, std::vector<std::size_t>* wrong = nullptr)
    {
        int right = 0;
        for (std::size_t i : items) {
            const bool ok = answer(i, ms);
            right += ok;
            if (!ok && wrong)
                wrong->push_back(i);
        }
        ++m_attempts;
        return right;
    }

    // The share of the bank with a true chance of 0.9 or more.
    double sharePrepared(qint64 ms) const
    {
        int ready = 0;
        for (std::size_t i = 0; i < m_truths.size(); ++i)
            ready += trueChance(i, ms) >= 0.9;
        return double(ready) / double(m_truths.size());
    }

    MemoryStates memory() const { return MemoryStates(m_model); }
    int attempts() const { return m_attempts; }
    long presented() const { return m_presented; }
    const Fsrs& model() const { return m_fsrs; }

private:
    struct Truth
    {
        Fsrs::State state;
        qint64 lastMs = 0;
    };

    const SimBank& m_bank;
    std::mt19937 m_random;
    Fsrs m_truth;
    Fsrs m_fsrs; // the program's: the defaults
    double m_guessKnack = 1;
    std::vector<Truth> m_truths;
    std::vector<ItemState> m_model;
    int m_attempts = 0;
    long m_presented = 0;
};

struct Accuracy
{
    double forecastError = 0;
    double forecastBias = 0;
    double oracleError = 0;
    int inRange = 0;
    int forecasts = 0;

    void add(double forecast, double oracle, double score, bool inside)
    {
        forecastError += std::abs(forecast - score);
        forecastBias += forecast - score;
        oracleError += std::abs(oracle - score);
        inRange += inside;
        ++forecasts;
    }
    void print(const char* what) const
    {
        const int n = std::max(1, forecasts);
        std::printf("  %s: %d forecasts\n", what, forecasts);
        std::printf("    mean absolute error of the forecast: %6.1f points (goal <= 50)\n",
                    forecastError / n);
        std::printf("    mean error of the forecast:          %6.1f points (above the score when positive)\n",
                    forecastBias / n);
        std::printf("    mean absolute error of an oracle:    %6.1f points (it knows the true chances)\n",
                    oracleError / n);
        std::printf("    scores inside the 80%% range:         %5.1f%%  (goal 70-90%%)\n",
                    100.0 * inRange / n);
    }
};

struct Figures
{
    Accuracy all;
    Accuracy notReady;            // the oracle expects less than a pass
    std::vector<long> smartUntil; // -1: not within the days
    std::vector<long> examsUntil;
    std::vector<long> smartTotal; // all items presented in the days
    std::vector<long> examsTotal;
};

// The items of a new practice exam: the section mix drawn at random.
std::vector<std::size_t> newForm(const SimBank& bank, std::mt19937& random)
{
    const std::array<int, 6> mix = ActiveItems::sectionMix(bank.items, FormItems);
    std::vector<std::size_t> form;
    for (int s = 1; s <= 6; ++s) {
        std::vector<std::size_t> section;
        for (std::size_t i = 0; i < bank.items.size(); ++i)
            if (bank.items[i].section == s)
                section.push_back(i);
        std::shuffle(section.begin(), section.end(), random);
        form.insert(form.end(), section.begin(), section.begin() + mix[std::size_t(s - 1)]);
    }
    return form;
}

// A practice exam and its retake each day: the six forms in turn, or a new
// form each day with the forecast made before it.
void practiseWithExams(const SimBank& bank, int index, Figures& fig, bool forecast)
{
    Candidate c(bank, index);
    std::mt19937 forms(std::uint32_t(31 * index + 3));
    const std::array<int, 6> mix = ActiveItems::sectionMix(bank.items, FormItems);
    long until = -1;
    for (int d = 0; d < Days; ++d) {
        const qint64 at = StartMs + d * DayMs;
        std::vector<std::size_t> items;
        if (forecast) {
            items = newForm(bank, forms);
        } else {
            const std::vector<int>& form = bank.forms[std::size_t(d % 6)];
            items.assign(form.begin(), form.end());
        }
        Readiness::Forecast f;
        double oracle = 0;
        if (forecast && c.attempts() >= 3) {
            f = Readiness::forecast(bank.items, c.memory(), c.attempts(), QDateTime::fromMSecsSinceEpoch(at),
                                    20261210 + d);
            std::array<double, 6> sum{};
            std::array<int, 6> n{};
            for (std::size_t i = 0; i < bank.items.size(); ++i) {
                const auto s = std::size_t(bank.items[i].section - 1);
                sum[s] += c.trueChance(i, at);
                ++n[s];
            }
            for (std::size_t s = 0; s < 6; ++s)
                oracle += n[s] ? mix[s] * sum[s] / n[s] : 0;
            oracle *= 1000.0 / FormItems;
        }
        std::vector<std::size_t> wrong;
        const int right = c.exam(items, at, &wrong);
        if (f.enough) {
            const double score = double(roundHalfEven(1000 * right, FormItems));
            const bool inside = score >= f.low && score <= f.high;
            fig.all.add(f.score, oracle, score, inside);
            if (oracle < 850)
                fig.notReady.add(f.score, oracle, score, inside);
        }
        if (!wrong.empty())
            c.exam(wrong, at + HourMs);
        if (until < 0 && c.sharePrepared(at + HourMs) >= 0.9)
            until = c.presented();
    }
    if (!forecast) {
        fig.examsUntil.push_back(until);
        fig.examsTotal.push_back(c.presented());
    }
}

// A Smart Review of 50 items each day.
void practiseWithSmartReview(const SimBank& bank, int index, Figures& fig)
{
    Candidate c(bank, index);
    long until = -1;
    for (int d = 0; d < Days; ++d) {
        const qint64 at = StartMs + d * DayMs;
        const SmartReview::Choice choice =
            SmartReview::choose(bank.items, c.memory(), FormItems, std::uint32_t(index * 1000 + d),
                                QDateTime::fromMSecsSinceEpoch(at));
        std::vector<std::size_t> items;
        for (std::int32_t id : choice.ids)
            items.push_back(std::size_t(id - 1));
        c.exam(items, at);
        if (until < 0 && c.sharePrepared(at) >= 0.9)
            until = c.presented();
    }
    fig.smartUntil.push_back(until);
    fig.smartTotal.push_back(c.presented());
}

// ---- speed ----------------------------------------------------------------------

double msSince(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

GradedExam grading(const QString& id, const QDateTime& when, int items, std::mt19937& random)
{
    GradedExam g{id, when, {}};
    g.outcomes.reserve(std::size_t(items));
    for (int i = 1; i <= items; ++i) {
        ItemOutcome o;
        o.number = i;
        o.correct = random() % 4 != 0;
        o.chosen = o.correct ? 0b1 : 0b100;
        o.correctChoices = 0b1;
        g.outcomes.push_back(o);
    }
    return g;
}

void speed()
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    std::mt19937 random(5);
    QTemporaryDir small, large;
    ItemMemory memory(small.path());
    QDateTime when = Start;
    memory.apply(grading(QStringLiteral("first"), when, 290, random));
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        const GradedExam g = grading(QStringLiteral("again-%1").arg(run), when.addDays(run + 1), 290, random);
        QElapsedTimer t;
        t.start();
        memory.apply(g);
        times.push_back(msSince(t));
    }
    std::sort(times.begin(), times.end());
    std::printf("  update at grading, 290 items:          %8.1f ms   (goal <= 100 ms; median of 5)\n",
                times[2]);

    ItemMemory big(large.path());
    const GradedExam first = grading(QStringLiteral("first"), when, 100000, random);
    QElapsedTimer t;
    t.start();
    big.apply(first);
    const double firstMs = msSince(t);
    const GradedExam second = grading(QStringLiteral("second"), when.addDays(3), 100000, random);
    t.start();
    big.apply(second);
    std::printf(
        "  update at grading, 100,000 items:      %8.1f ms   (goal <= 3000 ms; %0.f ms when all new)\n",
        msSince(t), firstMs);
    t.start();
    const MemoryStates all = big.readAll();
    std::printf("  reading every item's memory, 100,000:  %8.1f ms   (%d items)\n", msSince(t), all.size());

    std::vector<ActiveItem> items;
    const std::array<int, 6> perSection{44, 57, 57, 43, 44, 45};
    for (int id = 1; id <= 100000; ++id)
        items.push_back({id, 1 + int(random() % 6), 4 + int(random() % 2), random() % 3 == 0});
    (void)perSection;
    // Half of them seen, at various times.
    std::vector<ItemState> seen;
    for (const ActiveItem& i : items) {
        if (random() % 2)
            continue;
        ItemState s;
        s.number = i.id;
        s.memory = {0.2 + double(random() % 3000) / 100, 5};
        s.lastReviewMs = when.toMSecsSinceEpoch() - qint64(random() % 40) * DayMs;
        s.seen = 1;
        s.firstResult = s.lastResult = random() % 3 ? ItemResult::Correct : ItemResult::Wrong;
        seen.push_back(s);
    }
    const MemoryStates states(seen);
    const QDateTime now = when.addDays(41);
    t.start();
    const SmartReview::Choice choice = SmartReview::choose(items, states, 50, 9, now);
    std::printf("  Smart Review choice, 100,000 items:    %8.1f ms   (goal <= 3000 ms; %d due chosen)\n",
                msSince(t), choice.due);
    t.start();
    const Readiness::Forecast f = Readiness::forecast(items, states, 10, now);
    std::printf("  forecast, 100,000 items:               %8.1f ms   (goal <= 200 ms; %d, %d-%d)\n",
                msSince(t), f.score, f.low, f.high);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        Candidates = std::max(1, QString::fromLocal8Bit(argv[1]).toInt());
    QElapsedTimer total;
    total.start();
    const SimBank bank = makeBank();
    Figures fig;
    for (int c = 0; c < Candidates; ++c) {
        practiseWithExams(bank, c, fig, true);
        practiseWithExams(bank, c, fig, false);
        practiseWithSmartReview(bank, c, fig);
    }

    std::printf(
        "Readiness forecast: %d candidates, %d days, a new %d-item practice exam a day with its retake\n",
        Candidates, Days, FormItems);
    fig.all.print("once a candidate has 3 graded attempts");
    fig.notReady.print("of those, where the oracle expects less than 850");

    auto summary = [](const std::vector<long>& until, int* reached) {
        std::vector<long> got;
        for (long u : until)
            if (u >= 0)
                got.push_back(u);
        *reached = int(got.size());
        return got.empty() ? 0.0 : std::accumulate(got.begin(), got.end(), 0.0) / double(got.size());
    };
    // A candidate who gets there one way only counts, the other way, every
    // item presented in the days (fewer than it would have taken).
    double smartBoth = 0, examsBoth = 0;
    int both = 0;
    for (std::size_t c = 0; c < std::size_t(Candidates); ++c) {
        if (fig.smartUntil[c] < 0 && fig.examsUntil[c] < 0)
            continue;
        ++both;
        smartBoth += double(fig.smartUntil[c] >= 0 ? fig.smartUntil[c] : fig.smartTotal[c]);
        examsBoth += double(fig.examsUntil[c] >= 0 ? fig.examsUntil[c] : fig.examsTotal[c]);
    }
    int smartReached = 0, examsReached = 0;
    const double smartMean = summary(fig.smartUntil, &smartReached);
    const double examsMean = summary(fig.examsUntil, &examsReached);
    std::printf("Items presented until 90%% of the bank has a true chance of 0.9 or more:\n");
    std::printf(
        "  Smart Review, 50 a day:                %8.0f items on average (%d of %d candidates got there)\n",
        smartMean, smartReached, Candidates);
    std::printf(
        "  practice exam + Retake Incorrect:      %8.0f items on average (%d of %d candidates got there)\n",
        examsMean, examsReached, Candidates);
    if (both > 0)
        std::printf(
            "  per candidate, either way:             %7.0f%% fewer with Smart Review (goal >= 30%%)\n",
            100.0 * (1 - smartBoth / examsBoth));
    std::printf("Speed:\n");
    speed();
    std::printf("(%.0f s in all)\n", msSince(total) / 1000);
    return 0;
}
