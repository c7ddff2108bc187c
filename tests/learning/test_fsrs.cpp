// The memory model against the reference scheduler's own states
// (tools/fsrs-golden writes fsrs_golden.csv from ts-fsrs).
#include "core/learning/Fsrs.h"

#include <QFile>
#include <QSet>
#include <QtTest>
#include <cmath>

namespace {
bool near(double actual, double expected)
{
    return std::abs(actual - expected) <= 1e-6 * std::max(std::abs(expected), 1e-9);
}
} // namespace

class TestFsrs : public QObject
{
    Q_OBJECT
private slots:
    void golden_everyReviewMatchesTheReference()
    {
        QFile file(QStringLiteral(FSRS_GOLDEN));
        QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.first(),
                 QByteArray(
                     "sequence,step,elapsed_days,rating,retrievability,stability,difficulty,interval_days"));

        const Fsrs fsrs;
        Fsrs::State state;
        QSet<int> sequences;
        int reviews = 0, sameDay = 0, lapses = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            if (lines[i].isEmpty())
                continue;
            const QList<QByteArray> f = lines[i].split(',');
            QCOMPARE(f.size(), 8);
            const int step = f[1].toInt(), days = f[2].toInt(), rating = f[3].toInt();
            if (step == 1)
                state = {};
            const QString where = QStringLiteral("line %1: %2").arg(i + 1).arg(QString::fromLatin1(lines[i]));
            if (!f[4].isEmpty())
                QVERIFY2(near(fsrs.retrievability(days, state.stability), f[4].toDouble()),
                         qPrintable(where));
            const Fsrs::Review r = fsrs.review(state, days, Fsrs::Rating(rating));
            QVERIFY2(near(r.state.stability, f[5].toDouble()),
                     qPrintable(where + QStringLiteral(" stability %1").arg(r.state.stability, 0, 'g', 12)));
            QVERIFY2(
                near(r.state.difficulty, f[6].toDouble()),
                qPrintable(where + QStringLiteral(" difficulty %1").arg(r.state.difficulty, 0, 'g', 12)));
            QVERIFY2(r.intervalDays == f[7].toInt(),
                     qPrintable(where + QStringLiteral(" interval %1").arg(r.intervalDays)));
            state = r.state;
            sequences.insert(f[0].toInt());
            ++reviews;
            sameDay += step > 1 && days == 0;
            lapses += step > 1 && days > 0 && rating == 1;
        }
        QVERIFY(sequences.size() >= 1000);
        QVERIFY(sameDay > 500 && lapses > 500);
        qInfo("%d reviews in %d sequences checked", reviews, int(sequences.size()));
    }

    void curve_ninetyPercentAtStabilityAndIntervalsBounded()
    {
        const Fsrs fsrs;
        for (double s : {0.5, 3.0, 40.0, 900.0}) {
            QVERIFY(near(fsrs.retrievabilityUnrounded(s, s), 0.9));
            QVERIFY(fsrs.retrievabilityUnrounded(s * 2, s) < 0.9);
        }
        QCOMPARE(fsrs.retrievabilityUnrounded(0, 5), 1.0);
        QCOMPARE(fsrs.nextInterval(0.2), 1); // never less than a day
        QCOMPARE(fsrs.nextInterval(12), 12);
        QCOMPARE(fsrs.nextInterval(1e6), Fsrs::MaximumInterval);
        QCOMPARE(Fsrs(Fsrs::DefaultWeights, 0.9, 30).nextInterval(400), 30);
        // A lower desired retention schedules later.
        QVERIFY(Fsrs(Fsrs::DefaultWeights, 0.8).nextInterval(10) > 10);
    }

    void weights_outOfRangeAreClampedAsTheReferenceDoes()
    {
        Fsrs::Weights w = Fsrs::DefaultWeights;
        w[4] = 0.2;  // initial difficulty below 1
        w[20] = 2.0; // decay above 0.8
        w[7] = std::nan("");
        const Fsrs fsrs(w);
        QCOMPARE(fsrs.weights()[4], 1.0);
        QCOMPARE(fsrs.weights()[20], 0.8);
        QCOMPARE(fsrs.weights()[7], Fsrs::DefaultWeights[7]);
    }

    void rounding_halvesGoUpAsJavaScriptRounds()
    {
        QCOMPARE(Fsrs::jsRound(2.5), 3.0);
        QCOMPARE(Fsrs::jsRound(-2.5), -2.0);
        QCOMPARE(Fsrs::jsRound(0.49999999999999994), 0.0);
        QCOMPARE(Fsrs::round8(2.0 / 3), 0.66666667);
    }
};

QTEST_GUILESS_MAIN(TestFsrs)
#include "test_fsrs.moc"
