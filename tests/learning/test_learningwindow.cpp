// Learning from every answer through the program's windows: the item memory
// taught once per grading, "Learn Now" counted as a lapse, the first feed
// from the score history, Smart Review from the start page, and the
// readiness forecast in the score history window.
#include "TestEnv.h"
#include "core/history/ScoreHistory.h"
#include "core/learning/Fsrs.h"
#include "core/learning/ItemMemory.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/history/ExamHistory.h"
#include "ui/history/THistoryForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedButton.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QtTest>

using namespace ItemRecord;

namespace {
// One item of a graded exam, as the memory takes it.
ItemOutcome outcome(int id, bool correct)
{
    ItemOutcome o;
    o.number = id;
    o.correct = correct;
    o.choicesKnown = false;
    return o;
}

HistoryAttempt attemptOn(const QDateTime& when, const QList<QPair<int, bool>>& results)
{
    HistoryAttempt a;
    a.when = when;
    a.examTitle = QStringLiteral("Practice Exam A");
    a.items = int(results.size());
    a.grade = QStringLiteral("Fail");
    for (const auto& [id, correct] : results) {
        a.results.push_back({ItemSource::Bank, id, correct});
        a.correct += correct;
    }
    a.score = a.items ? 1000 * a.correct / a.items : 0;
    return a;
}
} // namespace

class TestLearningWindow : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;

    QString folder() const { return ScoreHistory::defaultFolder(); }
    ItemMemory memory() const { return ItemMemory(folder()); }
    const ItemState* state(const MemoryStates& all, int id) const { return all.find(ItemSource::Bank, id); }
    std::vector<HistoryAttempt> attempts() const
    {
        std::vector<HistoryAttempt> all;
        QString error;
        if (!ScoreHistory(folder()).load(&all, &error))
            qWarning("%s", qPrintable(error));
        return all;
    }
    void appendAttempt(HistoryAttempt a) const
    {
        QString error;
        QVERIFY2(ScoreHistory(folder()).append(a, &error), qPrintable(error));
    }
    // Picks choice k of the exam's item with that question.
    void answer(const QString& question, int k, bool learnFirst = false)
    {
        Table& t = *form->dtCurrentSet;
        for (t.first(); !t.eof(); t.next()) {
            if (t.fieldByName(Q_TEXT).asString() == question) {
                if (learnFirst)
                    Driver::press(form, "LearnButton");
                Driver::pickChoice(form, k);
                return;
            }
        }
        QFAIL("item not in the exam");
    }
    // The readiness text of the history window opened from the File menu.
    QString readinessShown()
    {
        QString text;
        bool visible = false;
        Dialogs::setModalHandler([&](QDialog* d) {
            if (auto* h = qobject_cast<THistoryForm*>(d)) {
                h->show();
                auto* label = Driver::find<QLabel>(h, "ReadinessLabel");
                visible = label->isVisible();
                text = label->text();
                // Wrapped inside the window at the smallest screen's width.
                h->resize(1000, 560);
                QApplication::processEvents();
                if (label->geometry().right() > h->width())
                    text = QStringLiteral("outside the window");
                // Pictures for a look, when VELARIX_SHOTS names a folder: as
                // shown, and under a dark palette.
                const QString shots = qEnvironmentVariable("VELARIX_SHOTS");
                if (!shots.isEmpty()) {
                    h->grab().save(shots + QStringLiteral("/readiness.png"));
                    QPalette dark = h->palette();
                    dark.setColor(QPalette::Window, QColor(40, 40, 40));
                    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
                    const QPalette was = h->palette();
                    h->setPalette(dark);
                    label->grab().save(shots + QStringLiteral("/readiness-dark.png"));
                    h->setPalette(was);
                }
                h->hide();
            }
            return int(QDialog::Accepted);
        });
        Driver::press(form, "ScoreHistory1");
        Dialogs::setModalHandler({});
        return visible ? text : QString();
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->writeBank(TestEnv::sampleBank());
        env->writeEmptyCurrentSet();
        env->writeUserSet({});
        form = env->createForms();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        Dialogs::clearLog();
    }
    void cleanup()
    {
        form = nullptr;
        env.reset();
    }

    void grading_teachesOnce_learnNowIsALapse()
    {
        QVERIFY(folder().startsWith(env->dir()));
        ExamOptions options = form->Options;
        options.ShowLearnBtn = true;
        form->applyOptions(options);
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 7);
        // Q1 read through Learn Now, then answered right; Q2 (a and c) half right.
        answer(QStringLiteral("Q1 planning"), 2, true);
        answer(QStringLiteral("Q2 install"), 1);
        Driver::gradeAndView(form, true);

        const std::vector<HistoryAttempt> all = attempts();
        QCOMPARE(int(all.size()), 1);
        QVERIFY(memory().wasApplied(ItemMemory::gradingIdOf(all.front())));
        MemoryStates learnt = memory().readAll();
        QCOMPARE(learnt.size(), 2);
        const Fsrs fsrs;
        const ItemState* q1 = state(learnt, 1);
        const ItemState* q2 = state(learnt, 2);
        QVERIFY(q1 && q2);
        QCOMPARE(q1->seen, 1);
        QCOMPARE(q1->lastResult, ItemResult::CorrectAfterLearn);
        QCOMPARE(q1->memory.stability, fsrs.initialStability(Fsrs::Rating::Again));
        QCOMPARE(q2->lastResult, ItemResult::Wrong);
        QCOMPARE(q2->wrong, 1);
        QCOMPARE(q2->wrongPicks[0], 0); // a is a right choice: no wrong pick
        QVERIFY(q1->lastReview().secsTo(QDateTime::currentDateTime()) < 60);

        // The score window again in review, twice: nothing taught again.
        Driver::press(form, "GradeButton");
        Driver::press(form, "GradeButton");
        learnt = memory().readAll();
        QCOMPARE(state(learnt, 1)->seen, 1);
        QCOMPARE(state(learnt, 2)->seen, 1);
        QCOMPARE(int(attempts().size()), 1);
        QVERIFY(!Dialogs::shownMessages().join('\n').contains(QStringLiteral("Error")));

        // The next exam: Q1 answered right without help is a recall.
        form->CloseCurrentExam();
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 7);
        answer(QStringLiteral("Q1 planning"), 2);
        Driver::gradeAndView(form, true);
        learnt = memory().readAll();
        QCOMPARE(state(learnt, 1)->seen, 2);
        QCOMPARE(state(learnt, 1)->lastResult, ItemResult::Correct);
        QCOMPARE(state(learnt, 2)->seen, 2);
        QCOMPARE(state(learnt, 2)->lastResult, ItemResult::Unanswered);
        QVERIFY(state(learnt, 1)->memory.stability > fsrs.initialStability(Fsrs::Rating::Again));
    }

    void firstGrading_feedsTheHistoryOnce()
    {
        const QDateTime now = QDateTime::currentDateTime();
        appendAttempt(attemptOn(now.addDays(-10), {{1, true}, {3, false}}));
        appendAttempt(attemptOn(now.addDays(-5), {{1, true}}));
        QVERIFY(!QFileInfo::exists(memory().filePath()));

        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 7);
        answer(QStringLiteral("Q1 planning"), 2);
        Driver::gradeAndView(form, true);
        QVERIFY(memory().isFed());
        MemoryStates learnt = memory().readAll();
        QCOMPARE(learnt.size(), 3);
        QCOMPARE(state(learnt, 1)->seen, 3);
        QCOMPARE(state(learnt, 1)->wrong, 0);
        QCOMPARE(state(learnt, 3)->seen, 1);
        QCOMPARE(state(learnt, 3)->wrong, 1);
        QCOMPARE(state(learnt, 3)->lastReview().date(), now.addDays(-10).date());
        QCOMPARE(state(learnt, 2)->seen, 1);

        // The next grading feeds nothing again.
        form->CloseCurrentExam();
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 7);
        Driver::gradeAndView(form, true);
        learnt = memory().readAll();
        QCOMPARE(state(learnt, 1)->seen, 4);
        QCOMPARE(state(learnt, 3)->seen, 1);
        QCOMPARE(int(attempts().size()), 4);
    }

    void failedMemory_toldOnce_andTheExamGoesOn()
    {
        // A folder where the memory's file should be: the history is kept,
        // the memory is not, and one error box says so.
        QVERIFY(QDir().mkpath(memory().filePath()));
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 7);
        Dialogs::queueAnswer(Dialogs::Ok); // grade
        Dialogs::queueAnswer(Dialogs::Ok); // the error box
        int scoreShown = 0;
        Dialogs::setModalHandler([&scoreShown](QDialog* d) {
            scoreShown += qobject_cast<TScoreForm*>(d) != nullptr;
            return int(QDialog::Accepted);
        });
        Driver::press(form, "GradeButton");
        const QStringList errors = Dialogs::shownMessages().filter(QStringLiteral("Error: "));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("Smart Review")), qPrintable(errors.first()));
        QCOMPARE(scoreShown, 1);
        QCOMPARE(int(attempts().size()), 1);
        QCOMPARE(Dialogs::pendingAnswers(), 0);
    }

    void smartReview_fromTheStartPage_choosesBySectionAndMemory()
    {
        // The fifth navy button, on the row of the others, and its menu item.
        auto* smart = Driver::find<ShadedButton>(form, "SmartBtn");
        auto* retake = Driver::find<ShadedButton>(form, "RetakeBtn");
        QVERIFY(smart->isVisible());
        QCOMPARE(smart->text(), QStringLiteral("&Smart Review"));
        QCOMPARE(smart->y(), retake->y());
        QCOMPARE(smart->x(), retake->x() + retake->width() + 6);
        // The row stays centred in the window.
        const int rowLeft = Driver::find<ShadedButton>(form, "AllQBtn")->mapTo(form, QPoint(0, 0)).x();
        const int rowRight = smart->mapTo(form, QPoint(smart->width(), 0)).x();
        QVERIFY2(qAbs(rowLeft + rowRight - form->width()) <= 6, qPrintable(QString::number(rowRight)));
        QCOMPARE(Driver::find<QAction>(form, "SmartAct")->text(), QStringLiteral("&Smart Review"));
        QStringList keys;
        for (QAction* a : Driver::find<QMenu>(form, "N21")->actions())
            if (!a->isSeparator())
                keys << a->text().section(QLatin1Char('&'), 1, 1).left(1).toUpper();
        QCOMPARE(keys.removeDuplicates(), 0);

        // Sections of the active items: 1 {1, 7}, 2 {2, 8}, 3 {3, 9}, 4 {4, 10},
        // 5 {5, 11}, 6 {6}. A form of 5 takes one of each of sections 1 to 5.
        const QDateTime now = QDateTime::currentDateTime();
        ItemMemory m = memory();
        const std::vector<HistoryAttempt> none;
        const auto grade = [&m, &none](const QString& id, const QDateTime& when, std::vector<ItemOutcome> o) {
            QVERIFY(m.apply({id, when, std::move(o)}, &none));
        };
        grade(QStringLiteral("long ago"), now.addDays(-30), {outcome(1, true), outcome(11, true)});
        grade(QStringLiteral("ten days"), now.addDays(-10), {outcome(5, false)});
        grade(QStringLiteral("yesterday"), now.addDays(-1), {outcome(9, true)});
        grade(QStringLiteral("today"), now.addSecs(-60),
              {outcome(7, true), outcome(2, true), outcome(3, true)});

        QString caption;
        bool numberEnabled = false;
        int offered = 0, maximum = 0;
        Dialogs::setModalHandler([&](QDialog* d) {
            if (!qobject_cast<TNameForm*>(d))
                return int(QDialog::Accepted);
            auto* number = Driver::find<QSpinBox>(d, "SpinEdit2");
            caption = d->windowTitle();
            numberEnabled = number->isEnabled();
            offered = number->value();
            maximum = number->maximum();
            number->setValue(5);
            Driver::press(d, "BitBtn1");
            return d->result();
        });
        form->SeedSource = [] { return 11u; };
        smart->click();
        QCOMPARE(caption, QStringLiteral("Smart Review"));
        QVERIFY(numberEnabled);
        QCOMPARE(offered, 11); // all the bank holds, under the usual 50
        QCOMPARE(maximum, 11);
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ExamTitle, QStringLiteral("Smart Review"));
        QCOMPARE(form->ItemCount, 5);
        QCOMPARE(form->Sheet.size(), 5);
        QVERIFY(!Driver::find<QPushButton>(form, "NoteButton")->isHidden());
        // Due first (1 over 7; 5, forgotten sooner, over 11), then unseen (8),
        // then the least recalled (9 over 3), and section 4 unseen either way.
        QList<qint64> ids = Driver::examNumbers(form);
        QVERIFY2(ids.removeOne(4) != ids.removeOne(10), "one of section 4");
        QCOMPARE(ids, (QList<qint64>{1, 5, 8, 9}));
        QVERIFY(Dialogs::shownMessages().isEmpty());
    }

    void smartReview_nothingSeen_saysSo_andDrawsARandomMix()
    {
        Dialogs::queueAnswer(Dialogs::Ok); // the note that it is a random exam
        Driver::startExam(form, "SmartAct", QStringLiteral("Ada"), 90, 5);
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY2(
            Dialogs::shownMessages().first().contains(QStringLiteral("random exam of questions you have not "
                                                                     "seen")),
            qPrintable(Dialogs::shownMessages().first()));
        QCOMPARE(form->ItemCount, 11);
        QCOMPARE(Driver::examNumbers(form), (QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

        // Cancelled at the name dialog: nothing starts, the start page stays.
        form->CloseCurrentExam();
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::cancelNameDialog();
        Driver::press(form, "SmartAct");
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(Driver::find<QWidget>(form, "Panel4")->isVisible());
    }

    void readiness_notEnoughPracticeYet()
    {
        QCOMPARE(readinessShown(),
                 QStringLiteral("<b>Not enough practice yet: a forecast needs at least 2 graded "
                                "exams (you have 0) and 100 different items answered (you have "
                                "0).</b>"));
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 7);
        answer(QStringLiteral("Q1 planning"), 2);
        Driver::gradeAndView(form, true);
        QVERIFY(
            readinessShown().contains(QStringLiteral("2 graded exams (you have 1) and 100 different items "
                                                     "answered (you have 2)")));
    }

    void readiness_aCaseByHand()
    {
        // 100 single-response items of three choices, 20 in each of sections
        // 1 to 5, each answered right once exactly its stability ago: recall
        // 0.9, so each is right with 0.9 + 0.1 / 3. The 50-item form (10 of
        // each section) scores binomially: mean 933, 10% quantile 44 right
        // (880), 90% quantile 49 (980), P(at least 43 right) = 0.983.
        QList<TestItem> bank;
        for (int i = 0; i < 100; ++i)
            bank << TestEnv::item(1 + i % 5, 1 + i % 5, QStringLiteral("Item %1").arg(i + 1),
                                  QStringLiteral("a"), false, 3);
        env->writeBank(bank);
        const double stability = Fsrs().initialStability(Fsrs::Rating::Good);
        const QDateTime reviewed =
            QDateTime::currentDateTime().addMSecs(-qint64(stability * 24 * 3600 * 1000));
        std::vector<ItemOutcome> outcomes;
        for (int id = 1; id <= 100; ++id)
            outcomes.push_back(outcome(id, true));
        const std::vector<HistoryAttempt> none;
        QVERIFY(memory().apply({QStringLiteral("by hand"), reviewed, outcomes}, &none));
        appendAttempt(attemptOn(reviewed.addDays(-1), {}));
        appendAttempt(attemptOn(reviewed, {}));

        const QStringList lines = readinessShown().split(QStringLiteral("<br>"));
        QCOMPARE(lines.size(), 3);
        QCOMPARE(
            lines[0],
            QStringLiteral("<b>Predicted score: 933 (80% between 880 and 980), chance of passing: 98%</b>"));
        QCOMPARE(lines[1],
                 QStringLiteral("Predicted share right: Planning 93%, Installation and Configuration 93%, "
                                "Setting Up/Managing Resource Access 93%, Integration and "
                                "Interoperability 93%, Monitoring and Optimization 93%. Practice would "
                                "gain most in Planning (up to 13 points)."));
        QCOMPARE(lines[2],
                 QStringLiteral("Based on 2 graded exams and the 100 of the bank's 100 items you have "
                                "answered, recalled as the FSRS-6 memory model expects."));
    }
};

QTEST_MAIN(TestLearningWindow)
#include "test_learningwindow.moc"
