// Grade Now, the score window and its ways out, through the exam window.
#include "TestEnv.h"
#include "core/exam/TKZTimeCounter.h"
#include "ui/exam/TTestForm.h"
#include "core/grading/ChartText.h"
#include "ui/grading/TScoreForm.h"
#include "core/store/ItemRecord.h"
#include "core/store/SectionNames.h"
#include "core/tables/Table.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QValueAxis>
#include <QtTest>

namespace {
// Practice exam A of n items, sections 1..6 in turn, single and multiple response.
TTestForm* startExam(TestEnv& env, int n, const QString& name = QStringLiteral("Ann"))
{
    QList<TestItem> items;
    for (int i = 0; i < n; ++i)
        items << TestEnv::item(1, i % 6 + 1, QStringLiteral("Q%1").arg(i + 1),
                               i % 3 ? QStringLiteral("b") : QStringLiteral("ac"), i % 3 == 0);
    env.writeBank(items);
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    TestEnv::acceptNameDialog(name);
    f->Action1->trigger();
    return f;
}

// Answers the first `right` items rightly and the others wrongly, through the choice labels.
void answerExam(TTestForm* f, int right)
{
    for (int r = 1; r <= f->ItemCount; ++r) {
        f->dtCurrentSet->setRecNo(r);
        const std::array<bool, 6> correct = AnswerSheet::correctFlagsOf(*f->dtCurrentSet);
        const bool multiple = f->dtCurrentSet->fieldByName(ItemRecord::Q_TYPE).asBoolean();
        for (int k = 1; k <= 4; ++k) {
            if (correct[k - 1] == (r <= right)) {
                f->ALabelClick(k);
                if (!multiple)
                    break;
            }
        }
    }
}

QList<qreal> valuesOf(const QBarSet* set)
{
    QList<qreal> v;
    for (int i = 0; i < set->count(); ++i)
        v << set->at(i);
    return v;
}

// Runs fn inside the score window each time it is shown modally.
void onScoreWindow(const std::function<void()>& fn)
{
    Dialogs::setModalHandler([fn](QDialog* d) {
        d->show();
        if (!QTest::qWaitForWindowExposed(d))
            qWarning("score window not exposed");
        fn();
        d->hide();
        return d->result();
    });
}
} // namespace

class TestScoreWindow : public QObject
{
    Q_OBJECT
private slots:
    void gradingFillsTheWindow_data();
    void sectionChart_allSixBarsAndTheScaleInView();
    void gradingFillsTheWindow();
    void reopeningInReviewShowsTheSameGrading();
    void onlyViewAnswersOrExitLeave();
    void itemOfNoKnownSection_showsUnderOther();
};

void TestScoreWindow::sectionChart_allSixBarsAndTheScaleInView()
{
    TestEnv env;
    TTestForm* f = startExam(env, 12);
    answerExam(f, 7);
    Dialogs::queueAnswer(Dialogs::Ok);
    bool checked = false;
    onScoreWindow([&] {
        QCOMPARE(Driver::window<TScoreForm>()->size(), QSize(582, 435));
        QVERIFY(!Driver::window<TScoreForm>()->ScrollBox1->verticalScrollBar()->isVisible());
        // The chart is no taller than its container: nothing needs scrolling.
        QVERIFY(Driver::window<TScoreForm>()->Chart1View->height() <= Driver::window<TScoreForm>()->ScrollBox1->viewport()->height());
        QCOMPARE(Driver::window<TScoreForm>()->ScrollBox1->verticalScrollBar()->maximum(), 0);
        // The plot and the scale under it lie inside the view.
        const QRectF plot = Driver::window<TScoreForm>()->Chart1->plotArea();
        const int scale = QFontMetrics(Driver::window<TScoreForm>()->Chart1Values->labelsFont()).height();
        QVERIFY(plot.top() >= 0);
        QVERIFY2(plot.bottom() + scale <= Driver::window<TScoreForm>()->Chart1View->height(),
                 qPrintable(QStringLiteral("%1 + %2 > %3")
                                .arg(plot.bottom())
                                .arg(scale)
                                .arg(Driver::window<TScoreForm>()->Chart1View->height())));
        QCOMPARE(Driver::window<TScoreForm>()->Chart1Categories->count(), 6);
        // Each label fits its bar's slot.
        const int slot = int(plot.height() / 6);
        const QFontMetrics labels(Driver::window<TScoreForm>()->Chart1Categories->labelsFont());
        for (const QString& c : Driver::window<TScoreForm>()->Chart1Categories->categories())
            QVERIFY((c.count(QStringLiteral("<br>")) + 1) * labels.lineSpacing() <= slot);
        // ...and none is cut short: the chart draws what does not fit as "...".
        Driver::window<TScoreForm>()->Chart1View->grab();
        QStringList drawn;
        for (QGraphicsItem* item : Driver::window<TScoreForm>()->Chart1View->scene()->items()) {
            if (auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item))
                drawn << text->toPlainText();
        }
        for (const QString& name : SectionNames::all())
            QVERIFY2(
                std::any_of(drawn.begin(), drawn.end(),
                            [&name](const QString& t) { return t.startsWith(name + QLatin1String(" (")); }),
                qPrintable(drawn.join(QLatin1Char('|'))));
        const QByteArray shots = qgetenv("VELARIX_SHOTS");
        if (!shots.isEmpty())
            Driver::window<TScoreForm>()->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/score.png"));
        checked = true;
    });
    f->GradeButton->click();
    QVERIFY(checked);
}

void TestScoreWindow::gradingFillsTheWindow_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("right");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("byClock");
    QTest::newRow("pass") << 20 << 17 << "Ann" << false;
    QTest::newRow("fail") << 16 << 3 << "Ann" << false;
    QTest::newRow("none, odd name, time out") << 6 << 0 << "<b>Al & Bo</b>" << true;
}

void TestScoreWindow::gradingFillsTheWindow()
{
    QFETCH(int, items);
    QFETCH(int, right);
    QFETCH(QString, name);
    QFETCH(bool, byClock);
    TestEnv env;
    TTestForm* f = startExam(env, items, name);
    answerExam(f, right);
    const GradeResult expected = GradeExam(f->Sheet, name, QStringLiteral("Practice Exam A"));
    QCOMPARE(expected.correct, right);

    // Grade Now asks first; Cancel changes nothing.
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Cancel);
    f->GradeButton->click();
    QCOMPARE(Dialogs::shownMessages(),
             QStringList{QStringLiteral(
                 "Confirm: This will end your practice exam.\nAre you sure to end this exam?")});
    QVERIFY(f->Timer1->isActive());
    QCOMPARE(f->GradeButton->text(), QStringLiteral("&Grade Now"));

    int shown = 0;
    onScoreWindow([&] {
        ++shown;
        QCOMPARE(f->examMode, ExamMode::Testing);
        QVERIFY(!f->ScrollBox1->isVisibleTo(f));
        QVERIFY(!f->TimeLabel->isVisibleTo(f));
        QVERIFY(!f->Timer1->isActive());
        QCOMPARE(f->GradeButton->text(), QStringLiteral("Score Report"));

        QCOMPARE(ChartText::plain(Driver::window<TScoreForm>()->TotalChart->title()), expected.ScoreTitle);
        QCOMPARE(TScoreForm::categoryLabels(Driver::window<TScoreForm>()->TotalCategories),
                 (QStringList{QStringLiteral("Your score"), QStringLiteral("Required score")}));
        QCOMPARE(valuesOf(Driver::window<TScoreForm>()->TotalBars), (QList<qreal>{expected.score, 850}));
        QCOMPARE(Driver::window<TScoreForm>()->TotalBars->color(), QColor(0, 128, 0));
        QCOMPARE(Driver::window<TScoreForm>()->TotalBars->selectedColor(), QColor(0, 0, 255));
        QVERIFY(!Driver::window<TScoreForm>()->TotalBars->isBarSelected(0));
        QVERIFY(Driver::window<TScoreForm>()->TotalBars->isBarSelected(1));
        QCOMPARE(Driver::window<TScoreForm>()->TotalLabel->text(), expected.ResultLine);
        // Section 6 at the bottom, section 1 at the top.
        QStringList labels;
        QList<qreal> percents;
        for (int s = 5; s >= 0; --s) {
            labels << expected.Sections[s].label;
            percents << expected.Sections[s].percent;
        }
        QCOMPARE(TScoreForm::categoryLabels(Driver::window<TScoreForm>()->Chart1Categories), labels);
        QCOMPARE(valuesOf(Driver::window<TScoreForm>()->Chart1Bars), percents);

        const QByteArray shots = qgetenv("VELARIX_SHOTS");
        if (!shots.isEmpty())
            Driver::window<TScoreForm>()->grab().save(QStringLiteral("%1/score-%2.png")
                                       .arg(QString::fromLocal8Bit(shots),
                                            QString::fromLatin1(QTest::currentDataTag()).left(4)));

        f->dtCurrentSet->setRecNo(f->ItemCount);
        Driver::window<TScoreForm>()->BitBtn1->click(); // View Answers: review from the first item
    });
    if (byClock) {
        Dialogs::queueAnswer(Dialogs::No); // do not continue
        Dialogs::queueAnswer(Dialogs::Ok); // end the exam
        f->TimeExpired();
    } else {
        Dialogs::queueAnswer(Dialogs::Ok);
        f->GradeButton->click();
    }
    QCOMPARE(shown, 1);
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    QVERIFY(!Driver::window<TScoreForm>()->isVisible());
    QCOMPARE(f->dtCurrentSet->recNo(), 1);
    QVERIFY(f->ScrollBox1->isVisibleTo(f));
    QVERIFY(f->CorrectLabel->isVisibleTo(f));
    QVERIFY(!f->LearnButton->isEnabled());
}

void TestScoreWindow::itemOfNoKnownSection_showsUnderOther()
{
    TestEnv env;
    env.writeBank({TestEnv::item(1, 2, QStringLiteral("Q1"), QStringLiteral("b")),
                   TestEnv::item(1, 9, QStringLiteral("Q2"), QStringLiteral("a")),
                   TestEnv::item(1, 0, QStringLiteral("Q3"), QStringLiteral("c"))});
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    TestEnv::acceptNameDialog();
    f->Action1->trigger();
    QCOMPARE(f->ItemCount, 3);
    QStringList labels;
    onScoreWindow([&labels] {
        labels = TScoreForm::categoryLabels(Driver::window<TScoreForm>()->Chart1Categories);
        Driver::window<TScoreForm>()->BitBtn1->click();
    });
    Dialogs::queueAnswer(Dialogs::Ok);
    f->GradeButton->click();
    // Bottom to top: "Other", then sections 6 to 1.
    QCOMPARE(labels.size(), 7);
    QCOMPARE(labels.first(), QStringLiteral("Other (0/2) "));
    QCOMPARE(labels.at(5), QStringLiteral("Installation and Configuration (0/1) "));
}

void TestScoreWindow::reopeningInReviewShowsTheSameGrading()
{
    TestEnv env;
    TTestForm* f = startExam(env, 4);
    answerExam(f, 1);
    Dialogs::queueAnswer(Dialogs::Ok);
    onScoreWindow([] { Driver::window<TScoreForm>()->BitBtn1->click(); });
    f->GradeButton->click();

    // Whatever happens to the answers since, the report is that of the grading.
    for (int i = 0; i < f->Sheet.size(); ++i)
        f->Sheet[i].Correct = 1;
    Dialogs::clearLog();
    int shown = 0;
    onScoreWindow([&shown] {
        ++shown;
        QCOMPARE(valuesOf(Driver::window<TScoreForm>()->TotalBars), (QList<qreal>{250, 850}));
        QCOMPARE(Driver::window<TScoreForm>()->TotalLabel->text(),
                 QStringLiteral("Passing Score: 850   Your Score: 250   Grade: Fail"));
        Driver::window<TScoreForm>()->BitBtn1->click();
    });
    f->GradeButton->click();
    f->GradeButton->click();
    QCOMPARE(shown, 2);
    QVERIFY(Dialogs::shownMessages().isEmpty()); // no confirmation in review
    QCOMPARE(f->examMode, ExamMode::Reviewing);
}

void TestScoreWindow::onlyViewAnswersOrExitLeave()
{
    TestEnv env;
    TTestForm* f = startExam(env, 2);
    Dialogs::queueAnswer(Dialogs::Ok);
    onScoreWindow([f] {
        Driver::window<TScoreForm>()->close();
        QTest::keyClick(Driver::window<TScoreForm>(), Qt::Key_Escape);
        QVERIFY(Driver::window<TScoreForm>()->isVisible());
        Dialogs::clearLog();
        Driver::window<TScoreForm>()->BitBtn2->click(); // Print Report asks for the printer and keeps the window
        QCOMPARE(Dialogs::shownMessages(), QStringList{QStringLiteral("Print: Score Report")});
        Dialogs::queueAnswer(Dialogs::No);
        Driver::window<TScoreForm>()->BitBtn3->click();
        QVERIFY(Driver::window<TScoreForm>()->isVisible());
        QCOMPARE(f->examMode, ExamMode::Testing);
        Dialogs::queueAnswer(Dialogs::Yes);
        Driver::window<TScoreForm>()->BitBtn3->click();
        QVERIFY(!Driver::window<TScoreForm>()->isVisible());
    });
    f->GradeButton->click();
    QVERIFY(Dialogs::shownMessages().contains(
        QStringLiteral("Confirm: Are you sure you wish to end this exam?")));
    QCOMPARE(f->examMode, ExamMode::Idle);
    QVERIFY(f->Panel4->isVisibleTo(f));
    QVERIFY(!f->dtCurrentSet->isOpen());
}

QTEST_MAIN(TestScoreWindow)
#include "test_scorewindow.moc"
