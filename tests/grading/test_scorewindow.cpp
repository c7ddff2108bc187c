// Grade Now, the score window and its way out, through the exam window.
#include "TestEnv.h"
#include "exam/TTestForm.h"
#include "grading/TScoreForm.h"
#include "store/ItemRecord.h"
#include "tables/Table.h"
#include "widgets/Dialogs.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QValueAxis>
#include <QtTest>

namespace {
// n items of practice exam A, sections 1..6 in turn, single and multiple response.
QList<TestItem> bankOf(int n)
{
    QList<TestItem> items;
    for (int i = 0; i < n; ++i)
        items << TestEnv::item(1, i % 6 + 1, QStringLiteral("Q%1").arg(i + 1),
                               i % 3 == 0 ? QStringLiteral("ac") : QStringLiteral("b"), i % 3 == 0);
    return items;
}

TTestForm* startExam(TestEnv& env, int items, const QString& name = QStringLiteral("Ann"))
{
    env.writeBank(bankOf(items));
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    TestEnv::acceptNameDialog(name);
    f->Action1Execute();
    return f;
}

// Answers the current item through its choice labels, rightly or wrongly.
void answerCurrent(TTestForm* f, bool right)
{
    std::array<bool, 6> correct = AnswerSheet::correctFlagsOf(*f->dtCurrentSet);
    for (int k = 1; k <= 6; ++k) {
        if (correct[k - 1] == right && !f->dtCurrentSet->fieldByName(ItemRecord::choiceText(k)).asString().isEmpty()) {
            f->ALabelClick(k);
            if (!f->dtCurrentSet->fieldByName(ItemRecord::Q_TYPE).asBoolean())
                return;  // one choice answers a single-response item
        }
    }
}

// Answers the first `right` items rightly and the rest wrongly.
void answerExam(TTestForm* f, int right)
{
    f->dtCurrentSet->first();
    for (int r = 1; r <= f->ItemCount; ++r) {
        f->dtCurrentSet->setRecNo(r);
        answerCurrent(f, r <= right);
    }
}

QList<qreal> valuesOf(const QBarSet* set)
{
    QList<qreal> v;
    for (int i = 0; i < set->count(); ++i)
        v << set->at(i);
    return v;
}

// Runs fn inside the score window when it is shown modally.
void onScoreWindow(const std::function<void()>& fn)
{
    Dialogs::setModalHandler([fn](QDialog* d) {
        if (d != ScoreForm)
            return int(QDialog::Rejected);
        d->show();
        fn();
        const int result = d->result();
        d->hide();
        return result;
    });
}

void saveShot(QWidget* w, const QString& name)
{
    const QByteArray dir = qgetenv("VELARIX_SHOTS");
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}
}  // namespace

class TestScoreWindow : public QObject
{
    Q_OBJECT
private slots:
    void cancelledGradeNowChangesNothing();
    void gradingFillsTheWindow_data();
    void gradingFillsTheWindow();
    void noWayOutButViewAnswersOrExit();
    void reopeningInReviewShowsTheSameGrading();
    void exitExamFromTheWindow();
    void expiredClockGrades();
};

void TestScoreWindow::cancelledGradeNowChangesNothing()
{
    TestEnv env;
    TTestForm* f = startExam(env, 3);
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Cancel);
    bool shown = false;
    onScoreWindow([&shown] { shown = true; });
    f->GradeButton->click();
    QCOMPARE(Dialogs::shownMessages(),
             QStringList{QStringLiteral("Confirm: This will end your practice exam.\nAre you sure to end this exam?")});
    QVERIFY(!shown);
    QCOMPARE(f->examMode, ExamMode::Testing);
    QVERIFY(f->ScrollBox1->isVisibleTo(f));
    QVERIFY(f->Timer1->isActive());
    QCOMPARE(f->GradeButton->text(), QStringLiteral("&Grade Now"));
}

void TestScoreWindow::gradingFillsTheWindow_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("score");
    QTest::addColumn<QString>("resultLine");
    QTest::newRow("pass") << 20 << 17 << "Ann" << 850.0 << "Passing Score: 850   Your Score: 850   Grade: Pass";
    QTest::newRow("fail") << 16 << 3 << "Ann" << 187.5 << "Passing Score: 850   Your Score: 188   Grade: Fail";
    QTest::newRow("none, odd name") << 6 << 0 << "<b>Al & Bo</b>" << 0.0
                                    << "Passing Score: 850   Your Score: 0   Grade: Fail";
}

void TestScoreWindow::gradingFillsTheWindow()
{
    QFETCH(int, items);
    QFETCH(int, right);
    QFETCH(QString, name);
    QFETCH(double, score);
    QFETCH(QString, resultLine);

    TestEnv env;
    TTestForm* f = startExam(env, items, name);
    answerExam(f, right);
    const GradeResult expected = GradeExam(f->Sheet, name, QStringLiteral("Practice Exam A"));
    QCOMPARE(expected.correct, right);

    Dialogs::queueAnswer(Dialogs::Ok);
    bool checked = false;
    onScoreWindow([&] {
        checked = true;
        // While the window is open the exam is graded but still in Testing.
        QCOMPARE(f->examMode, ExamMode::Testing);
        QVERIFY(!f->ScrollBox1->isVisibleTo(f));
        QVERIFY(!f->TimeLabel->isVisibleTo(f));
        QVERIFY(!f->Timer1->isActive());
        QCOMPARE(f->GradeButton->text(), QStringLiteral("Score Report"));

        QCOMPARE(ScoreForm->windowTitle(), QStringLiteral("Examora"));
        QCOMPARE(ScoreForm->size(), QSize(582, 435));
        QCOMPARE(ScoreForm->TotalChart->title(), (name + QStringLiteral(",  Velarix 2.0,  Practice Exam A")).toHtmlEscaped());
        QCOMPARE(TScoreForm::categoryLabels(ScoreForm->TotalCategories),
                 (QStringList{QStringLiteral("Your score"), QStringLiteral("Required score")}));
        QCOMPARE(valuesOf(ScoreForm->TotalBars), (QList<qreal>{score, 850}));
        QCOMPARE(ScoreForm->TotalBars->color(), QColor(0, 128, 0));
        QCOMPARE(ScoreForm->TotalBars->selectedColor(), QColor(0, 0, 255));
        QVERIFY(!ScoreForm->TotalBars->isBarSelected(0));
        QVERIFY(ScoreForm->TotalBars->isBarSelected(1));
        QCOMPARE(ScoreForm->TotalValues->min(), 0.0);
        QCOMPARE(ScoreForm->TotalValues->max(), 1000.0);
        QCOMPARE(ScoreForm->TotalLabel->text(), resultLine);

        // Sections from 6 at the bottom up to 1 at the top.
        QStringList labels;
        QList<qreal> percents;
        for (int s = 5; s >= 0; --s) {
            labels << expected.Sections[s].label;
            percents << expected.Sections[s].percent;
        }
        QCOMPARE(TScoreForm::categoryLabels(ScoreForm->Chart1Categories), labels);
        QCOMPARE(valuesOf(ScoreForm->Chart1Bars), percents);
        QCOMPARE(ScoreForm->Chart1Bars->color(), QColor(255, 0, 0));
        QCOMPARE(ScoreForm->Chart1Values->max(), 100.0);
        QCOMPARE(ScoreForm->Chart1Title->text(), QStringLiteral(" Sections "));
        saveShot(ScoreForm, QStringLiteral("score-") + QString::fromLatin1(QTest::currentDataTag()).left(4));

        // "View Answers": review from the first item.
        f->dtCurrentSet->setRecNo(f->ItemCount);
        ScoreForm->BitBtn1->click();
    });
    f->GradeButton->click();
    QVERIFY(checked);
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    QVERIFY(!ScoreForm->isVisible());
    QCOMPARE(f->dtCurrentSet->recNo(), 1);
    QVERIFY(f->ScrollBox1->isVisibleTo(f));
    QVERIFY(f->CorrectLabel->isVisibleTo(f));
    QVERIFY(!f->MarkBox->isVisibleTo(f));
    QVERIFY(!f->LearnButton->isEnabled());
}

void TestScoreWindow::noWayOutButViewAnswersOrExit()
{
    TestEnv env;
    TTestForm* f = startExam(env, 2);
    Dialogs::queueAnswer(Dialogs::Ok);
    onScoreWindow([f] {
        ScoreForm->close();
        QTest::keyClick(ScoreForm, Qt::Key_Escape);
        QVERIFY(ScoreForm->isVisible());
        // Print Report keeps the window and the mode, and prints nothing yet.
        Dialogs::clearLog();
        ScoreForm->BitBtn2->click();
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Information: Printing is not available in this version.")});
        QVERIFY(ScoreForm->isVisible());
        QCOMPARE(f->examMode, ExamMode::Testing);
        // Exit answered No keeps it open with its contents.
        Dialogs::queueAnswer(Dialogs::No);
        ScoreForm->BitBtn3->click();
        QVERIFY(ScoreForm->isVisible());
        QCOMPARE(f->examMode, ExamMode::Testing);
        QVERIFY(ScoreForm->BitBtn1->isDefault());
        ScoreForm->BitBtn1->click();
    });
    f->GradeButtonClick();
    QCOMPARE(f->examMode, ExamMode::Reviewing);
}

void TestScoreWindow::reopeningInReviewShowsTheSameGrading()
{
    TestEnv env;
    TTestForm* f = startExam(env, 4);
    answerExam(f, 1);
    Dialogs::queueAnswer(Dialogs::Ok);
    onScoreWindow([] { ScoreForm->BitBtn1->click(); });
    f->GradeButtonClick();
    QCOMPARE(f->examMode, ExamMode::Reviewing);

    // Whatever happens to the answers afterwards, the report stays that of the grading.
    for (int i = 0; i < f->Sheet.size(); ++i)
        f->Sheet[i].Correct = 1;
    Dialogs::clearLog();
    int shown = 0;
    onScoreWindow([&shown] {
        ++shown;
        QCOMPARE(valuesOf(ScoreForm->TotalBars), (QList<qreal>{250, 850}));
        QCOMPARE(ScoreForm->TotalLabel->text(), QStringLiteral("Passing Score: 850   Your Score: 250   Grade: Fail"));
        ScoreForm->BitBtn1->click();
    });
    f->GradeButton->click();
    f->GradeButton->click();
    QCOMPARE(shown, 2);
    QVERIFY(Dialogs::shownMessages().isEmpty());  // no confirmation in review
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    QCOMPARE(f->GradeButton->text(), QStringLiteral("Score Report"));
}

void TestScoreWindow::exitExamFromTheWindow()
{
    TestEnv env;
    TTestForm* f = startExam(env, 2);
    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::queueAnswer(Dialogs::Yes);
    onScoreWindow([] { ScoreForm->BitBtn3->click(); });
    f->GradeButtonClick();
    QVERIFY(Dialogs::shownMessages().contains(QStringLiteral("Confirm: Are you sure you wish to end this exam?")));
    QCOMPARE(f->examMode, ExamMode::Idle);
    QVERIFY(!ScoreForm->isVisible());
    QVERIFY(f->Panel4->isVisibleTo(f));
    QVERIFY(!f->Panel2->isVisibleTo(f));
    QVERIFY(!f->dtCurrentSet->isOpen());
}

void TestScoreWindow::expiredClockGrades()
{
    TestEnv env;
    TTestForm* f = startExam(env, 3);
    answerExam(f, 3);
    Dialogs::queueAnswer(Dialogs::No);  // do not continue
    Dialogs::queueAnswer(Dialogs::Ok);  // end the exam
    bool shown = false;
    onScoreWindow([&shown] {
        shown = true;
        QCOMPARE(ScoreForm->TotalLabel->text(), QStringLiteral("Passing Score: 850   Your Score: 1000   Grade: Pass"));
        ScoreForm->BitBtn1->click();
    });
    f->TimeExpired();
    QVERIFY(shown);
    QCOMPARE(f->examMode, ExamMode::Reviewing);
}

QTEST_MAIN(TestScoreWindow)
#include "test_scorewindow.moc"
