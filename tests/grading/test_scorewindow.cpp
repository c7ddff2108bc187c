// Grade Now, the score window and its ways out, through the exam window.
#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/grading/ChartText.h"
#include "core/store/ItemRecord.h"
#include "core/store/SectionNames.h"
#include "core/tables/Table.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
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
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QValueAxis>
#include <QtTest>

namespace {
// Practice exam A of n items, sections 1..6 in turn, single and multiple
// response, drawn in a fixed order.
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
    Driver::startExam(f, "Action1", name, 90, 11); // one draw: the window looks the same every run
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
                Driver::pickChoice(f, k);
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

TScoreForm* score()
{
    return Driver::window<TScoreForm>();
}
QChart* totalChart()
{
    return Driver::chart(score(), "TotalChart");
}
QChart* sectionChart()
{
    return Driver::chart(score(), "Chart1");
}

QPushButton* examButton(TTestForm* f, const char* name)
{
    return Driver::find<QPushButton>(f, name);
}
bool visibleInExamWindow(TTestForm* f, const char* name)
{
    QWidget* w = Driver::find<QWidget>(f, name);
    return w && w->isVisibleTo(f);
}
QTimer* examClock(TTestForm* f)
{
    return Driver::find<QTimer>(f, "Timer1");
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
    void sevenRows_everyLabelWhole();
};

void TestScoreWindow::sectionChart_allSixBarsAndTheScaleInView()
{
    TestEnv env;
    TTestForm* f = startExam(env, 12);
    answerExam(f, 7);
    Dialogs::queueAnswer(Dialogs::Ok);
    bool checked = false;
    onScoreWindow([&] {
        QCOMPARE(score()->size(), QSize(582, 435));
        auto* box = Driver::find<QScrollArea>(score(), "ScrollBox1");
        auto* view = Driver::find<QChartView>(score(), "Chart1");
        QVERIFY(!box->verticalScrollBar()->isVisible());
        // The chart is no taller than its container: nothing needs scrolling.
        QVERIFY(view->height() <= box->viewport()->height());
        QCOMPARE(box->verticalScrollBar()->maximum(), 0);
        // The plot and the scale under it lie inside the view.
        const QRectF plot = sectionChart()->plotArea();
        const QList<QAbstractAxis*> scales = sectionChart()->axes(Qt::Horizontal);
        QCOMPARE(scales.size(), 1);
        const int scale = QFontMetrics(scales.first()->labelsFont()).height();
        QVERIFY(plot.top() >= 0);
        QVERIFY2(
            plot.bottom() + scale <= view->height(),
            qPrintable(QStringLiteral("%1 + %2 > %3").arg(plot.bottom()).arg(scale).arg(view->height())));
        QBarCategoryAxis* categories = Driver::barCategories(sectionChart());
        QCOMPARE(categories->count(), 6);
        // Each label fits its bar's slot.
        const int slot = int(plot.height() / 6);
        const QFontMetrics labels(categories->labelsFont());
        for (const QString& c : categories->categories())
            QVERIFY((c.count(QStringLiteral("<br>")) + 1) * labels.lineSpacing() <= slot);
        // ...and none is cut short: the chart draws what does not fit as "...".
        view->grab();
        QStringList drawn;
        for (QGraphicsItem* item : view->scene()->items()) {
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
            score()->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/score.png"));
        checked = true;
    });
    Driver::press(f, "GradeButton");
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
    double now = 46000.25;
    Clock::setSource([&now] { return now; });
    const auto restoreClock = qScopeGuard([] { Clock::setSource({}); });
    TTestForm* f = startExam(env, items, name);
    answerExam(f, right);
    const GradeResult expected = GradeExam(f->Sheet, name, QStringLiteral("Practice Exam A"));
    QCOMPARE(expected.correct, right);

    // Grade Now asks first; Cancel changes nothing.
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Cancel);
    Driver::press(f, "GradeButton");
    QCOMPARE(Dialogs::shownMessages(),
             QStringList{QStringLiteral(
                 "Confirm: This will end your practice exam.\nAre you sure to end this exam?")});
    QVERIFY(examClock(f)->isActive());
    QCOMPARE(examButton(f, "GradeButton")->text(), QStringLiteral("&Grade Now"));

    int shown = 0;
    onScoreWindow([&] {
        ++shown;
        QCOMPARE(f->examMode, ExamMode::Testing);
        QVERIFY(!visibleInExamWindow(f, "ScrollBox1"));
        QVERIFY(!visibleInExamWindow(f, "TimeLabel"));
        QVERIFY(!examClock(f)->isActive());
        QCOMPARE(examButton(f, "GradeButton")->text(), QStringLiteral("Score Report"));

        QCOMPARE(ChartText::plain(totalChart()->title()), expected.ScoreTitle);
        QCOMPARE(TScoreForm::categoryLabels(Driver::barCategories(totalChart())),
                 (QStringList{QStringLiteral("Your score"), QStringLiteral("Required score")}));
        QBarSet* total = Driver::barSet(totalChart());
        QCOMPARE(valuesOf(total), (QList<qreal>{expected.score, 850}));
        QCOMPARE(total->color(), QColor(0, 128, 0));
        QCOMPARE(total->selectedColor(), QColor(0, 0, 255));
        QVERIFY(!total->isBarSelected(0));
        QVERIFY(total->isBarSelected(1));
        QCOMPARE(Driver::find<QLabel>(score(), "TotalLabel")->text(), expected.ResultLine);
        // Section 6 at the bottom, section 1 at the top.
        QStringList labels;
        QList<qreal> percents;
        for (int s = 5; s >= 0; --s) {
            labels << expected.Sections[s].label;
            percents << expected.Sections[s].percent;
        }
        QCOMPARE(TScoreForm::categoryLabels(Driver::barCategories(sectionChart())), labels);
        QCOMPARE(valuesOf(Driver::barSet(sectionChart())), percents);

        const QByteArray shots = qgetenv("VELARIX_SHOTS");
        if (!shots.isEmpty())
            score()->grab().save(QStringLiteral("%1/score-%2.png")
                                     .arg(QString::fromLocal8Bit(shots),
                                          QString::fromLatin1(QTest::currentDataTag()).left(4)));

        f->dtCurrentSet->setRecNo(f->ItemCount);
        Driver::press(score(), "BitBtn1"); // View Answers: review from the first item
    });
    if (byClock) {
        Dialogs::queueAnswer(Dialogs::No);                  // do not continue
        Dialogs::queueAnswer(Dialogs::Ok);                  // end the exam
        now += 91 / 1440.0;                                 // past the 90 minutes of the name dialog
        QMetaObject::invokeMethod(examClock(f), "timeout"); // the clock's next tick
    } else {
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(f, "GradeButton");
    }
    QCOMPARE(shown, 1);
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    QVERIFY(!score()->isVisible());
    QCOMPARE(f->dtCurrentSet->recNo(), 1);
    QVERIFY(visibleInExamWindow(f, "ScrollBox1"));
    QVERIFY(visibleInExamWindow(f, "CorrectLabel"));
    QVERIFY(!examButton(f, "LearnButton")->isEnabled());
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
    Driver::startExam(f, "Action1");
    QCOMPARE(f->ItemCount, 3);
    QStringList labels;
    onScoreWindow([&labels] {
        labels = TScoreForm::categoryLabels(Driver::barCategories(sectionChart()));
        Driver::press(score(), "BitBtn1");
    });
    Dialogs::queueAnswer(Dialogs::Ok);
    Driver::press(f, "GradeButton");
    // Bottom to top: "Other", then sections 6 to 1.
    QCOMPARE(labels.size(), 7);
    QCOMPARE(labels.first(), QStringLiteral("Other (0/2) "));
    QCOMPARE(labels.at(5), QStringLiteral("Installation and Configuration (0/1) "));
}

void TestScoreWindow::sevenRows_everyLabelWhole()
{
    TestEnv env;
    QList<TestItem> items;
    for (int section = 0; section <= 6; ++section)
        items << TestEnv::item(1, section, QStringLiteral("Q%1").arg(section), QStringLiteral("b"));
    env.writeBank(items);
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    Driver::startExam(f, "Action1");
    QStringList drawn, labels;
    onScoreWindow([&] {
        labels = TScoreForm::categoryLabels(Driver::barCategories(sectionChart()));
        auto* view = Driver::find<QChartView>(score(), "Chart1");
        view->grab();
        for (QGraphicsItem* item : view->scene()->items())
            if (auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item))
                drawn << text->toPlainText();
        // The window keeps its size; the rows that do not fit scroll.
        QCOMPARE(score()->size(), QSize(582, 435));
        Driver::press(score(), "BitBtn1");
    });
    Dialogs::queueAnswer(Dialogs::Ok);
    Driver::press(f, "GradeButton");
    QCOMPARE(labels.size(), 7);
    // Every row's label is drawn whole, none cut to "...".
    for (const QString& label : labels) {
        const QString name = label.left(label.indexOf(QLatin1String(" (")));
        QVERIFY2(std::any_of(drawn.begin(), drawn.end(),
                             [&name](const QString& t) { return t.startsWith(name + QLatin1String(" (")); }),
                 qPrintable(name + QLatin1String(": ") + drawn.join(QLatin1Char('|'))));
    }
}

void TestScoreWindow::reopeningInReviewShowsTheSameGrading()
{
    TestEnv env;
    TTestForm* f = startExam(env, 4);
    answerExam(f, 1);
    Dialogs::queueAnswer(Dialogs::Ok);
    onScoreWindow([] { Driver::press(score(), "BitBtn1"); });
    Driver::press(f, "GradeButton");

    // Whatever happens to the answers since, the report is that of the grading.
    for (int i = 0; i < f->Sheet.size(); ++i)
        f->Sheet[i].Correct = 1;
    Dialogs::clearLog();
    int shown = 0;
    onScoreWindow([&shown] {
        ++shown;
        QCOMPARE(valuesOf(Driver::barSet(totalChart())), (QList<qreal>{250, 850}));
        QCOMPARE(Driver::find<QLabel>(score(), "TotalLabel")->text(),
                 QStringLiteral("Passing Score: 850   Your Score: 250   Grade: Fail"));
        Driver::press(score(), "BitBtn1");
    });
    Driver::press(f, "GradeButton");
    Driver::press(f, "GradeButton");
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
        score()->close();
        QTest::keyClick(score(), Qt::Key_Escape);
        QVERIFY(score()->isVisible());
        Dialogs::clearLog();
        Driver::press(score(), "BitBtn2"); // Print Report asks for the printer and keeps the window
        QCOMPARE(Dialogs::shownMessages(), QStringList{QStringLiteral("Print: Score Report")});
        Dialogs::queueAnswer(Dialogs::No);
        Driver::press(score(), "BitBtn3");
        QVERIFY(score()->isVisible());
        QCOMPARE(f->examMode, ExamMode::Testing);
        Dialogs::queueAnswer(Dialogs::Yes);
        Driver::press(score(), "BitBtn3");
        QVERIFY(!score()->isVisible());
    });
    Driver::press(f, "GradeButton");
    QVERIFY(Dialogs::shownMessages().contains(
        QStringLiteral("Confirm: Are you sure you wish to end this exam?")));
    QCOMPARE(f->examMode, ExamMode::Idle);
    QVERIFY(visibleInExamWindow(f, "Panel4"));
    QVERIFY(!f->dtCurrentSet->isOpen());
}

QTEST_MAIN(TestScoreWindow)
#include "test_scorewindow.moc"
