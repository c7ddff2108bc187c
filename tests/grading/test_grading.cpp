// Grading of a finished exam: score, pass test, texts and section tallies.
#include "core/grading/ChartText.h"
#include "core/grading/GradeExam.h"
#include "core/grading/ScoreReport.h"
#include "core/reports/ReportChart.h"
#include "core/store/AnswerSheet.h"

#include <QtTest>

namespace {
// One entry per item: its section and whether it was answered correctly.
AnswerSheet sheetOf(const QList<QPair<int, bool>>& items)
{
    AnswerSheet sheet;
    sheet.resize(int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        sheet[i].Section = items[i].first;
        sheet[i].Correct = items[i].second;
    }
    return sheet;
}

AnswerSheet sheetOf(int n, int c)
{
    QList<QPair<int, bool>> items;
    for (int i = 0; i < n; ++i)
        items.append({i % 6 + 1, i < c});
    return sheetOf(items);
}
} // namespace

class TestGrading : public QObject
{
    Q_OBJECT
private slots:
    void totals_data();
    void totals();
    void texts();
    void sections();
    void chartText_data();
    void chartText();
};

void TestGrading::totals_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("correct");
    QTest::addColumn<double>("score");
    QTest::addColumn<QString>("resultLine");
    QTest::newRow("20/17") << 20 << 17 << 850.0 << "Passing Score: 850   Your Score: 850   Grade: Pass";
    QTest::newRow("20/16") << 20 << 16 << 800.0 << "Passing Score: 850   Your Score: 800   Grade: Fail";
    QTest::newRow("60/51") << 60 << 51 << 850.0 << "Passing Score: 850   Your Score: 850   Grade: Pass";
    // Shown as 850, but the pass test is made on the exact score.
    QTest::newRow("153/130") << 153 << 130 << 1000.0 * 130 / 153
                             << "Passing Score: 850   Your Score: 850   Grade: Fail";
    QTest::newRow("16/1") << 16 << 1 << 62.5 << "Passing Score: 850   Your Score: 62   Grade: Fail";
    QTest::newRow("16/3") << 16 << 3 << 187.5 << "Passing Score: 850   Your Score: 188   Grade: Fail";
    QTest::newRow("all") << 12 << 12 << 1000.0 << "Passing Score: 850   Your Score: 1000   Grade: Pass";
    QTest::newRow("none") << 12 << 0 << 0.0 << "Passing Score: 850   Your Score: 0   Grade: Fail";
    QTest::newRow("no items at all") << 0 << 0 << 0.0 << "Passing Score: 850   Your Score: 0   Grade: Fail";
}

void TestGrading::totals()
{
    QFETCH(int, items);
    QFETCH(int, correct);
    QFETCH(double, score);
    QFETCH(QString, resultLine);
    const GradeResult r = GradeExam(sheetOf(items, correct), QStringLiteral("Ann"), QStringLiteral("Exam"));
    QCOMPARE(r.items, items);
    QCOMPARE(r.correct, correct);
    QCOMPARE(r.score, score);
    QCOMPARE(r.ResultLine, resultLine);
    QCOMPARE(r.passed, resultLine.endsWith(QLatin1String("Pass")));
}

void TestGrading::texts()
{
    QCOMPARE(GradeExam(sheetOf(4, 4), QStringLiteral("Ann Lee"), QStringLiteral("Random Exam")).ScoreTitle,
             QStringLiteral("Ann Lee,  Velarix 2.0,  Random Exam"));
    QCOMPARE(GradeExam(sheetOf(4, 4), QString(), QStringLiteral("User Exam")).ScoreTitle,
             QStringLiteral(",  Velarix 2.0,  User Exam"));
}

void TestGrading::sections()
{
    // Section 1: 3 of 5; section 2: 1 of 8; section 3: 3 of 8; section 4 empty;
    // section 6: 1 of 2; and two entries outside the six sections, both correct.
    QList<QPair<int, bool>> items;
    const int counts[6][2] = {{5, 3}, {8, 1}, {8, 3}, {0, 0}, {0, 0}, {2, 1}};
    for (int round = 0; round < 8; ++round) { // interleaved: the walk order must not matter
        for (int s = 0; s < 6; ++s) {
            if (round < counts[s][0])
                items.append({s + 1, round < counts[s][1]});
        }
    }
    items.append({0, true});
    items.append({7, true});
    const GradeResult r = GradeExam(sheetOf(items), QString(), QString());
    QCOMPARE(r.items, 25);
    QCOMPARE(r.correct, 10);
    const QStringList labels{QStringLiteral("Planning (3/5) "),
                             QStringLiteral("Installation and Configuration (1/8) "),
                             QStringLiteral("Setting Up/Managing Resource Access (3/8) "),
                             QStringLiteral("Integration and Interoperability (0/0) "),
                             QStringLiteral("Monitoring and Optimization (0/0) "),
                             QStringLiteral("Troubleshooting (1/2) ")};
    const int percents[6] = {60, 12, 38, 0, 0, 50};
    for (int s = 0; s < 6; ++s) {
        QCOMPARE(r.Sections[s].label, labels[s]);
        QCOMPARE(r.Sections[s].percent, percents[s]);
    }
    // The two of no known section are counted under "Other", so the rows
    // add up to the item count.
    QCOMPARE(r.Other.label, QStringLiteral("Other (2/2) "));
    QCOMPARE(r.Other.percent, 100);
    const std::vector<SectionTally> rows = r.shownSections();
    QCOMPARE(int(rows.size()), 7);
    int sum = 0;
    for (const SectionTally& t : rows)
        sum += t.items;
    QCOMPARE(sum, r.items);
    QCOMPARE(rows.back().name, QStringLiteral("Other"));

    // The printout shows the same rows, section 1 at the top and "Other"
    // at the bottom.
    ScoreReport report;
    report.fill(r);
    const QList<BarChart::Bar>& bars = report.SectionChart->Chart.bars;
    QCOMPARE(bars.size(), 7);
    QCOMPARE(bars.first().label, QStringLiteral("Other (2/2) "));
    QCOMPARE(bars.last().label, labels[0]);

    // Without such items there is no "Other" row.
    items.removeLast();
    items.removeLast();
    const GradeResult known = GradeExam(sheetOf(items), QString(), QString());
    QCOMPARE(known.Other.items, 0);
    QCOMPARE(int(known.shownSections().size()), 6);
    report.fill(known);
    QCOMPARE(report.SectionChart->Chart.bars.size(), 6);
}

void TestGrading::chartText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxChars");
    QTest::addColumn<QString>("rich");
    QTest::newRow("fits; trailing blank never starts a line") << "Planning (3/5) " << 14 << "Planning (3/5) ";
    QTest::newRow("two lines") << "Setting Up/Managing Resource Access (0/0) " << 22
                               << "Setting Up/Managing<br>Resource Access (0/0) ";
    QTest::newRow("word wider than the width")
        << "Troubleshooting (10/12) " << 5 << "Troubleshooting<br>(10/12) ";
    QTest::newRow("escaped") << "A<B & C" << 3 << "A&lt;B<br>&amp; C";
    QTest::newRow("blanks kept") << " Ann,  Velarix 2.0,   User Exam" << 100
                                 << "&nbsp;Ann, &nbsp;Velarix 2.0, &nbsp;&nbsp;User Exam";
}

void TestGrading::chartText()
{
    QFETCH(QString, text);
    QFETCH(int, maxChars);
    QFETCH(QString, rich);
    const QString w =
        ChartText::wrap(text, maxChars * 10, [](const QString& s) { return int(s.size()) * 10; });
    QCOMPARE(w, rich);
    QCOMPARE(ChartText::plain(w), text);
}

QTEST_GUILESS_MAIN(TestGrading)
#include "test_grading.moc"
