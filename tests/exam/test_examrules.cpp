#include "core/exam/Clock.h"
#include "core/exam/ExamAssembly.h"
#include "core/exam/ExamClock.h"
#include "core/exam/ItemLayout.h"
#include "core/exam/RandomSource.h"
#include "core/exam/TKZTimeCounter.h"
#include "core/exam/TimeText.h"
#include "core/store/AnswerSheet.h"

#include <QTest>
#include <QTimeZone>
#include <algorithm>
#include <numeric>

class TestExamRules : public QObject
{
    Q_OBJECT
private slots:
    void randomSource_matchesHandComputedDraws()
    {
        RandomSource r(12345);
        QList<quint32> draws;
        for (quint32 n : {10u, 10u, 300u, 300u, 7u, 1u})
            draws << r.draw(n);
        QCOMPARE(draws, (QList<quint32>{3, 2, 23, 166, 4, 0}));
        RandomSource zero(0);
        QCOMPARE(zero.draw(100), 0u);
        QCOMPARE(zero.draw(100), 3u);
        QCOMPARE(zero.draw(100), 86u);
        const QDateTime t(QDate(2026, 3, 1), QTime(13, 45, 7, 250), QTimeZone::utc());
        QCOMPARE(RandomSource::seedFromClock(t), 13u * 3600000 + 45u * 60000 + 7u * 1000 + 250);
        QCOMPARE(RandomSource::seedFromClock(QDateTime(QDate(2026, 3, 1), QTime(0, 0), QTimeZone::utc())),
                 0u);
    }

    void fastDraw_equalsTheScanningDraw_data()
    {
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("count");
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {0u, 1u, 49327123u, 86399999u}) {
            QTest::addRow("1 of 1, seed %u", seed) << 1 << 1 << seed;
            QTest::addRow("2 of 2, seed %u", seed) << 2 << 2 << seed;
            QTest::addRow("50 of 50, seed %u", seed) << 50 << 50 << seed;
            QTest::addRow("1 of 300, seed %u", seed) << 300 << 1 << seed;
            QTest::addRow("120 of 300, seed %u", seed) << 300 << 120 << seed;
            QTest::addRow("300 of 300, seed %u", seed) << 300 << 300 << seed;
        }
    }
    void fastDraw_equalsTheScanningDraw()
    {
        QFETCH(int, m);
        QFETCH(int, count);
        QFETCH(quint32, seed);
        // Keys with gaps, as a bank with missing numbers would give.
        std::vector<std::int32_t> candidates(m);
        for (int i = 0; i < m; ++i)
            candidates[i] = 3 * i + 7;
        RandomSource a(seed), b(seed);
        const auto fast = ExamAssembly::choose(candidates, count, a);
        const auto scan = ExamAssembly::chooseByScan(candidates, count, b);
        QCOMPARE(fast, scan);
        QCOMPARE(a.state(), b.state()); // the same number of draws
        QCOMPARE(int(fast.size()), count);
        auto sorted = fast;
        std::sort(sorted.begin(), sorted.end());
        QVERIFY(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end());
        for (std::int32_t c : fast)
            QVERIFY(std::find(candidates.begin(), candidates.end(), c) != candidates.end());
    }

    void timeText_data()
    {
        QTest::addColumn<double>("days");
        QTest::addColumn<QString>("text");
        QTest::newRow("90 minutes") << 90 / 1440.0 << QStringLiteral("1:30:00");
        QTest::newRow("45 minutes") << 45 / 1440.0 << QStringLiteral("0:45:00");
        QTest::newRow("36 seconds") << 36 / 86400.0 << QStringLiteral("0:00:36");
        QTest::newRow("600 minutes") << 600 / 1440.0 << QStringLiteral("10:00:00");
        QTest::newRow("7 minutes") << 7 / 1440.0 << QStringLiteral("0:07:00");
        QTest::newRow("milliseconds dropped") << (5399.999 / 86400.0) << QStringLiteral("1:29:59");
        QTest::newRow("one second left") << (90 / 1440.0 - 5399 / 86400.0) << QStringLiteral("0:00:01");
        QTest::newRow("below zero") << -2 / 86400.0 << QStringLiteral("0:00:00");
        QTest::newRow("zero") << 0.0 << QStringLiteral("0:00:00");
    }
    void timeText()
    {
        QFETCH(double, days);
        QFETCH(QString, text);
        QCOMPARE(TimeText::format(days), text);
        if (days >= 0)
            QCOMPARE(TimeText::wholeSeconds(TimeText::parse(text)), TimeText::wholeSeconds(days));
    }

    void timeCounter_countsFromItsResetAndPauses()
    {
        double now = 46000.5; // some day, noon
        Clock::setSource([&now] { return now; });
        TKZTimeCounter counter;
        QVERIFY(counter.Counting());
        QVERIFY(!counter.Enabled());
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:00:00"));
        now += 61.7 / 86400.0;
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:01:01"));
        counter.setCounting(false);
        now += 1.0 / 24;
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:01:01"));
        counter.setCounting(true);
        now += 2.0 / 86400.0;
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:01:03"));
        counter.setElapsed(QStringLiteral("12:00:36 AM")); // stored, never read back
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:01:03"));
        counter.Reset();
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:00:00"));
        Clock::setSource({});
    }

    void examClock_endsAtTheLimitAndCountsTheTimeUsed()
    {
        ExamClock clock;
        clock.TimeLimit = 7 / 1440.0; // a limit that is not a whole number of seconds in binary
        clock.restart();
        QCOMPARE(clock.remaining(), QStringLiteral("0:07:00"));
        QVERIFY(!clock.tick(QStringLiteral("0:06:59")));
        QCOMPARE(clock.remaining(), QStringLiteral("0:00:01"));
        QCOMPARE(clock.used(QStringLiteral("0:06:59"), true), 419 / 86400.0);
        QVERIFY(clock.tick(QStringLiteral("0:07:00")));
        QCOMPARE(clock.remaining(), QStringLiteral("0:00:00"));

        // A late tick that skips the limit still ends the time, and shows none left.
        QVERIFY(clock.tick(QStringLiteral("0:07:02")));
        QCOMPARE(clock.remaining(), QStringLiteral("0:00:00"));

        // Going on after the end: the counter starts again at the limit. An
        // untimed exam's counter was never reset, so it holds the whole time.
        QCOMPARE(clock.used(QStringLiteral("0:03:00"), true), 10 / 1440.0);
        QCOMPARE(clock.used(QStringLiteral("0:03:00"), false), 3 / 1440.0);

        clock.restart();
        QVERIFY(!clock.expired());
        QCOMPARE(clock.remaining(), QStringLiteral("0:07:00"));
        QCOMPARE(clock.used(QStringLiteral("0:00:05"), true), 5 / 86400.0);
    }

    void updateVerdict_comparesAllSixFlags()
    {
        AnswerEntry e;
        AnswerSheet::UpdateVerdict(e, {false, true, false, false, false, false});
        QCOMPARE(e.Correct, 0);
        e.Choice[1] = 1;
        AnswerSheet::UpdateVerdict(e, {false, true, false, false, false, false});
        QCOMPARE(e.Correct, 1);
        e.Choice[5] = 1;
        AnswerSheet::UpdateVerdict(e, {false, true, false, false, false, false});
        QCOMPARE(e.Correct, 0);
        // Nothing selected is right only for an item without a right choice.
        AnswerEntry none;
        AnswerSheet::UpdateVerdict(none, {});
        QCOMPARE(none.Correct, 1);
    }

    // Four one-line choices under a two-line question in a 722-pixel area.
    void layout_workedExample()
    {
        ItemLayout::Input in;
        in.W = in.C = 722;
        in.questionHeight = 32;
        in.choiceHeights = {16, 16, 16, 16, 16, 16};
        in.choiceVisible = {true, true, true, true, false, false};
        in.explanationHeight = 16;
        const auto r = ItemLayout::compute(in);
        QCOMPARE(r.panelHeight, 48);
        QCOMPARE(r.buttonsTop, 50);
        QCOMPARE(r.calcLeft, 722 - 38);
        QCOMPARE(r.choiceTops[0], 90);
        QCOMPARE(r.choiceTops[1], 121);
        QCOMPARE(r.choiceTops[2], 152);
        QCOMPARE(r.choiceTops[3], 183);
        QCOMPARE(r.explanationTop, 239);
        QCOMPARE(ItemLayout::choiceWidth(722), 612);
        QCOMPARE(ItemLayout::explanationWidth(722), 684);
        QCOMPARE(ItemLayout::questionWidth(722), 706);
    }

    void layout_edgeCases()
    {
        ItemLayout::Input in;
        in.W = in.C = 722;
        in.questionHeight = 16;
        in.choiceHeights = {16, 16, 16, 16, 16, 16};
        in.choiceVisible = {true, true, true, true, false, false};
        const auto base = ItemLayout::compute(in);

        // A longer question moves everything down by its extra height.
        in.questionHeight = 16 + 80;
        const auto tall = ItemLayout::compute(in);
        QCOMPARE(tall.panelHeight - base.panelHeight, 80);
        QCOMPARE(tall.buttonsTop - base.buttonsTop, 80);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(tall.choiceTops[k] - base.choiceTops[k], 80);
        QCOMPARE(tall.explanationTop - base.explanationTop, 80);
        in.questionHeight = 16;

        // The 42-pixel band is kept whether or not there are exhibit buttons.
        QCOMPARE(base.choiceTops[0] - base.panelHeight, 42);

        // Choices a and b only; then a to c: the explanation 40 below the last.
        in.choiceVisible = {true, true, false, false, false, false};
        auto r = ItemLayout::compute(in);
        QCOMPARE(r.explanationTop, r.choiceTops[1] + 16 + 40);
        in.choiceVisible = {true, true, true, false, false, false};
        r = ItemLayout::compute(in);
        QCOMPARE(r.explanationTop, r.choiceTops[2] + 16 + 40);

        // A three-line choice b moves every later row down by two lines.
        in.choiceVisible = {true, true, true, true, false, false};
        in.choiceHeights[1] = 48;
        r = ItemLayout::compute(in);
        QCOMPARE(r.choiceTops[2] - base.choiceTops[2], 32);
        QCOMPARE(r.choiceTops[3] - base.choiceTops[3], 32);
        in.choiceHeights[1] = 16;

        // A gap (a, b and d filled): nothing overlaps, the explanation is
        // below d.
        in.choiceVisible = {true, true, false, true, false, false};
        in.choiceHeights[2] = 200; // what a hidden label showed last
        r = ItemLayout::compute(in);
        QCOMPARE(r.choiceTops[3], r.choiceTops[1] + 16 + 15);
        QCOMPARE(r.explanationTop, r.choiceTops[3] + 16 + 40);

        // The scroll bar narrows the question but not the choices.
        in.C = 705;
        r = ItemLayout::compute(in);
        QCOMPARE(r.calcLeft, 705 - 38);
    }

    // Each tick is aimed at just after the next whole second of the count,
    // so the first second shows after one second, not two, and a late tick
    // does not drag the later ones. Read from the clock the timer is given
    // (held still here), so a busy machine cannot change the outcome.
    void counter_aimsEachTickJustAfterTheNextSecond()
    {
        double now = 100.0;
        Clock::setSource([&now] { return now; });
        const auto at = [](double ms) { return 100.0 + ms / 86400000.0; };
        TKZTimeCounter counter;
        QStringList readings;
        connect(&counter, &QTimer::timeout, this, [&] { readings << counter.Elapsed(); });
        counter.setEnabled(true);
        counter.Reset();
        QCOMPARE(counter.interval(), 1003);

        // On time: the next whole second is a full second away.
        now = at(1003);
        QTRY_VERIFY_WITH_TIMEOUT(readings.size() >= 1, 5000);
        QCOMPARE(readings.first(), QStringLiteral("0:00:01"));
        QCOMPARE(counter.interval(), 1000);

        // 700 ms late: the next tick comes 303 ms later, on the third second.
        now = at(2700);
        const qsizetype seen = readings.size();
        QTRY_VERIFY_WITH_TIMEOUT(readings.size() > seen, 5000);
        QCOMPARE(readings.last(), QStringLiteral("0:00:02"));
        QCOMPARE(counter.interval(), 303);

        // Counting on from a time given back: the next tick is its next second.
        counter.ResetTo(10.5 / 86400);
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:00:10"));
        QCOMPARE(counter.interval(), 503);

        // Paused, the count stands still and the ticks keep its seconds.
        now = at(2700 + 250);
        counter.setCounting(false);
        now = at(60000);
        QCOMPARE(counter.Elapsed(), QStringLiteral("0:00:10"));
        Clock::setSource({});
    }
};

QTEST_GUILESS_MAIN(TestExamRules)
#include "test_examrules.moc"
