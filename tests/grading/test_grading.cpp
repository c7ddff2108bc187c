// Grading of a finished exam: score, pass test, texts and section tallies.
#include "exam/AnswerSheet.h"
#include "grading/ChartLabelWrap.h"
#include "grading/GradeExam.h"

#include <QtTest>

namespace {
// A sheet of n items in section 1, the first c of them answered correctly.
AnswerSheet sheetOf(int n, int c, int section = 1)
{
    AnswerSheet sheet;
    sheet.resize(n);
    for (int i = 0; i < n; ++i) {
        sheet[i].Section = section;
        sheet[i].Correct = i < c ? 1 : 0;
    }
    return sheet;
}
} // namespace

class TestGrading : public QObject
{
    Q_OBJECT
private slots:
    void totals_data();
    void totals();
    void emptyExamNeverDivides();
    void texts();
    void sections_data();
    void sections();
    void sectionOutsideRangeCountsInTotalOnly();
    void gradingLeavesSheetAlone();
    void roundHalfEvenRule_data();
    void roundHalfEvenRule();
    void labelWrap_data();
    void labelWrap();
};

void TestGrading::totals_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("correct");
    QTest::addColumn<double>("score");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QString>("word");

    QTest::newRow("20/17 passes at 850") << 20 << 17 << 850.0 << 850 << true << "Pass";
    QTest::newRow("20/16") << 20 << 16 << 800.0 << 800 << false << "Fail";
    QTest::newRow("60/51 exactly 85%") << 60 << 51 << 850.0 << 850 << true << "Pass";
    QTest::newRow("153/130 shows 850 and fails")
        << 153 << 130 << 1000.0 * 130 / 153 << 850 << false << "Fail";
    QTest::newRow("16/1 half to even down") << 16 << 1 << 62.5 << 62 << false << "Fail";
    QTest::newRow("16/3 half to even up") << 16 << 3 << 187.5 << 188 << false << "Fail";
    QTest::newRow("all correct") << 12 << 12 << 1000.0 << 1000 << true << "Pass";
    QTest::newRow("none correct") << 12 << 0 << 0.0 << 0 << false << "Fail";
    QTest::newRow("one item, correct") << 1 << 1 << 1000.0 << 1000 << true << "Pass";
}

void TestGrading::totals()
{
    QFETCH(int, items);
    QFETCH(int, correct);
    QFETCH(double, score);
    QFETCH(int, shown);
    QFETCH(bool, passed);
    QFETCH(QString, word);

    const GradeResult r =
        GradeExam(sheetOf(items, correct), QStringLiteral("Ann"), QStringLiteral("Practice Exam A"));
    QCOMPARE(r.items, items);
    QCOMPARE(r.correct, correct);
    QCOMPARE(r.score, score);
    QCOMPARE(r.shownScore, shown);
    QCOMPARE(r.passed, passed);
    QCOMPARE(r.gradeWord, word);
    QCOMPARE(r.ResultLine,
             QStringLiteral("Passing Score: 850   Your Score: %1   Grade: %2").arg(shown).arg(word));
}

void TestGrading::emptyExamNeverDivides()
{
    const GradeResult r = GradeExam(AnswerSheet(), QStringLiteral("Ann"), QStringLiteral("User Exam"));
    QCOMPARE(r.items, 0);
    QCOMPARE(r.score, 0.0);
    QCOMPARE(r.shownScore, 0);
    QVERIFY(!r.passed);
    QCOMPARE(r.ResultLine, QStringLiteral("Passing Score: 850   Your Score: 0   Grade: Fail"));
    for (const SectionTally& t : r.Sections) {
        QCOMPARE(t.items, 0);
        QCOMPARE(t.percent, 0);
        QVERIFY(t.label.endsWith(QStringLiteral(" (0/0) ")));
    }
}

void TestGrading::texts()
{
    GradeResult r = GradeExam(sheetOf(4, 4), QStringLiteral("Ann Lee"), QStringLiteral("Random Exam"));
    QCOMPARE(r.ScoreTitle, QStringLiteral("Ann Lee,  Velarix 2.0,  Random Exam"));
    QCOMPARE(r.ResultLine, QStringLiteral("Passing Score: 850   Your Score: 1000   Grade: Pass"));
    // An empty name leaves the title beginning with the comma and its blanks.
    r = GradeExam(sheetOf(4, 4), QString(), QStringLiteral("User Exam"));
    QCOMPARE(r.ScoreTitle, QStringLiteral(",  Velarix 2.0,  User Exam"));
}

void TestGrading::sections_data()
{
    // Items and correct items per section 1..6, written as "items/correct".
    QTest::addColumn<QList<int>>("items");
    QTest::addColumn<QList<int>>("correct");
    QTest::addColumn<QList<int>>("percent");
    QTest::addColumn<QStringList>("labels");

    const QStringList names{QStringLiteral("Planning"),
                            QStringLiteral("Installation and Configuration"),
                            QStringLiteral("Setting Up/Managing Resource Access"),
                            QStringLiteral("Integration and Interoperability"),
                            QStringLiteral("Monitoring and Optimization"),
                            QStringLiteral("Troubleshooting")};
    auto labels = [&names](const QList<int>& items, const QList<int>& correct) {
        QStringList l;
        for (int s = 0; s < 6; ++s)
            l << QStringLiteral("%1 (%2/%3) ").arg(names[s]).arg(correct[s]).arg(items[s]);
        return l;
    };
    QList<int> items{5, 8, 8, 0, 3, 2}, correct{3, 1, 3, 0, 3, 1};
    QTest::newRow("mixed, 1 of 8 and 3 of 8, an empty section")
        << items << correct << QList<int>{60, 12, 38, 0, 100, 50} << labels(items, correct);
    items = {0, 0, 0, 0, 0, 4};
    correct = {0, 0, 0, 0, 0, 0};
    QTest::newRow("one section, none correct")
        << items << correct << QList<int>{0, 0, 0, 0, 0, 0} << labels(items, correct);
    items = {2, 6, 0, 0, 0, 0};
    correct = {1, 3, 0, 0, 0, 0};
    QTest::newRow("halves") << items << correct << QList<int>{50, 50, 0, 0, 0, 0} << labels(items, correct);
    items = {16, 0, 0, 0, 0, 0};
    correct = {1, 0, 0, 0, 0, 0};
    QTest::newRow("1 of 16 is 6.25") << items << correct << QList<int>{6, 0, 0, 0, 0, 0}
                                     << labels(items, correct);
}

void TestGrading::sections()
{
    QFETCH(QList<int>, items);
    QFETCH(QList<int>, correct);
    QFETCH(QList<int>, percent);
    QFETCH(QStringList, labels);

    // Interleave the sections so that the walk order cannot matter.
    AnswerSheet sheet;
    int total = 0;
    for (int n : items)
        total += n;
    sheet.resize(total);
    QList<int> left = items, rightLeft = correct;
    for (int i = 0; i < total;) {
        for (int s = 0; s < 6 && i < total; ++s) {
            if (left[s] == 0)
                continue;
            --left[s];
            sheet[i].Section = s + 1;
            if (rightLeft[s] > 0) {
                --rightLeft[s];
                sheet[i].Correct = 1;
            }
            ++i;
        }
    }

    const GradeResult r = GradeExam(sheet, QStringLiteral("Ann"), QStringLiteral("All Questions"));
    for (int s = 0; s < 6; ++s) {
        QCOMPARE(r.Sections[s].items, items[s]);
        QCOMPARE(r.Sections[s].correct, correct[s]);
        QCOMPARE(r.Sections[s].percent, percent[s]);
        QCOMPARE(r.Sections[s].label, labels[s]);
    }
}

void TestGrading::sectionOutsideRangeCountsInTotalOnly()
{
    AnswerSheet sheet = sheetOf(4, 4, 2);
    sheet[0].Section = 0;
    sheet[1].Section = 7;
    sheet[2].Section = -3;
    const GradeResult r = GradeExam(sheet, QString(), QString());
    QCOMPARE(r.items, 4);
    QCOMPARE(r.correct, 4);
    QCOMPARE(r.shownScore, 1000);
    int inSections = 0;
    for (const SectionTally& t : r.Sections)
        inSections += t.items;
    QCOMPARE(inSections, 1);
    QCOMPARE(r.Sections[1].label, QStringLiteral("Installation and Configuration (1/1) "));
}

void TestGrading::gradingLeavesSheetAlone()
{
    AnswerSheet sheet = sheetOf(3, 1);
    sheet[1].Marked = 1;
    sheet[2].Choice = {1, 0, 1, 0, 0, 0};
    const std::vector<AnswerEntry> before = sheet.entries();
    GradeExam(sheet, QString(), QString());
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(sheet[i].Choice, before[i].Choice);
        QCOMPARE(sheet[i].Marked, before[i].Marked);
        QCOMPARE(sheet[i].Correct, before[i].Correct);
        QCOMPARE(sheet[i].Section, before[i].Section);
    }
}

void TestGrading::roundHalfEvenRule_data()
{
    QTest::addColumn<qint64>("num");
    QTest::addColumn<qint64>("den");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("0.5") << qint64(1) << qint64(2) << qint64(0);
    QTest::newRow("1.5") << qint64(3) << qint64(2) << qint64(2);
    QTest::newRow("2.5") << qint64(5) << qint64(2) << qint64(2);
    QTest::newRow("2.49") << qint64(249) << qint64(100) << qint64(2);
    QTest::newRow("2.51") << qint64(251) << qint64(100) << qint64(3);
    QTest::newRow("whole") << qint64(850) << qint64(1) << qint64(850);
    QTest::newRow("zero") << qint64(0) << qint64(7) << qint64(0);
}

void TestGrading::roundHalfEvenRule()
{
    QFETCH(qint64, num);
    QFETCH(qint64, den);
    QFETCH(qint64, expected);
    QCOMPARE(qint64(roundHalfEven(num, den)), expected);
}

void TestGrading::labelWrap_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxChars");
    QTest::addColumn<QString>("wrapped");
    QTest::newRow("fits") << "Planning (3/5) " << 20 << "Planning (3/5) ";
    QTest::newRow("trailing blank never starts a line") << "Planning (3/5) " << 14 << "Planning (3/5) ";
    QTest::newRow("two lines") << "Setting Up/Managing Resource Access (0/0) " << 22
                               << "Setting Up/Managing<br>Resource Access (0/0) ";
    QTest::newRow("word wider than the width")
        << "Troubleshooting (10/12) " << 5 << "Troubleshooting<br>(10/12) ";
    QTest::newRow("escaped") << "A<B & C" << 3 << "A&lt;B<br>&amp; C";
}

void TestGrading::labelWrap()
{
    QFETCH(QString, text);
    QFETCH(int, maxChars);
    QFETCH(QString, wrapped);
    // Every character 10 wide.
    const auto width = [](const QString& s) { return int(s.size()) * 10; };
    const QString w = ChartLabelWrap::wrap(text, maxChars * 10, width);
    QCOMPARE(w, wrapped);
    QCOMPARE(ChartLabelWrap::unwrap(w), text);
}

QTEST_GUILESS_MAIN(TestGrading)
#include "test_grading.moc"
