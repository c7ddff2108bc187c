// An interrupted exam given back: after the window went away with the exam
// running (as a kill or a power cut leaves it), after the close box, in
// review, with its clock; refused on another exam set; discarded.
#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/exam/ExamRecord.h"
#include "core/exam/ExamSession.h"
#include "core/exam/TKZTimeCounter.h"
#include "core/history/ScoreHistory.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QTest>

using namespace ItemRecord;

class TestResume : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;
    double now = 46000.25;

    template <typename T> T* control(const char* name) { return Driver::find<T>(form, name); }
    QString timeShown() { return control<ShadedLabel>("TimeLabel")->text(); }
    // The program goes away with the exam as it stands: no question, no
    // closing, as a kill leaves it; then starts again and shows the exam window.
    void restart(const QList<Dialogs::Button>& answers)
    {
        form = nullptr;
        env->destroyForms();
        form = env->createForms();
        for (Dialogs::Button b : answers)
            Dialogs::queueAnswer(b);
        Dialogs::clearLog();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QTRY_COMPARE(Dialogs::pendingAnswers(), 0);
        QApplication::processEvents();
    }
    ExamRecord::Exam kept()
    {
        ExamRecord record(env->userDir());
        return record.load();
    }
    int attemptsInHistory()
    {
        std::vector<HistoryAttempt> all;
        QString error;
        ScoreHistory(env->userDir()).load(&all, &error);
        return int(all.size());
    }

private slots:
    void init()
    {
        Clock::setSource([this] { return now; });
        env = std::make_unique<TestEnv>();
        env->writeBank(TestEnv::sampleBank());
        env->writeEmptyCurrentSet();
        env->writeUserSet({TestEnv::item(0, 3, QStringLiteral("Own one"), QStringLiteral("b")),
                           TestEnv::item(0, 2, QStringLiteral("Own two"), QStringLiteral("a"))});
        form = env->createForms();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    void cleanup()
    {
        form = nullptr;
        env.reset();
        Clock::setSource({});
    }

    void killedWhileTesting_givesBackAnswersMarksItemAndClock()
    {
        Driver::startExam(form, "AllQAct", QStringLiteral("Ada"), 90, 3);
        QCOMPARE(form->examMode, ExamMode::Testing);
        Driver::pickChoice(form, 2);
        Driver::press(form, "NextButton");
        control<QCheckBox>("MarkBox")->click();
        Driver::press(form, "LearnButton");
        Driver::pickChoice(form, 1);
        Driver::press(form, "NextButton");
        Driver::press(form, "NextButton");
        now += 600 / 86400.0; // ten minutes into the exam
        Driver::tick(form, "Timer1");
        QCOMPARE(timeShown(), QStringLiteral("1:20:00"));
        const AnswerSheet before = form->Sheet;
        const QList<qint64> order = [this] {
            QList<qint64> ids;
            for (const ExamRecord::Item& i : ExamRecord::itemsOf(*form->dtCurrentSet))
                ids << i.number;
            return ids;
        }();

        // An hour with the program gone does not count.
        now += 1 / 24.0;
        restart({Dialogs::Yes});
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("All Questions, taken by Ada")));
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("2 of 11 items answered")));
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("Time left: 1:20:00")));
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ExamTitle, QStringLiteral("All Questions"));
        QCOMPARE(form->CandidateName, QStringLiteral("Ada"));
        QCOMPARE(form->ItemCount, 11);
        QCOMPARE(form->dtCurrentSet->recNo(), 4);
        QList<qint64> orderNow;
        for (const ExamRecord::Item& i : ExamRecord::itemsOf(*form->dtCurrentSet))
            orderNow << i.number;
        QCOMPARE(orderNow, order);
        for (int r = 1; r <= 11; ++r) {
            QCOMPARE(form->Sheet.entry(r).Choice, before.entry(r).Choice);
            QCOMPARE(form->Sheet.entry(r).Marked, before.entry(r).Marked);
        }
        QVERIFY(form->LearnShown[1]);
        QVERIFY(!form->LearnShown[0]);
        QCOMPARE(timeShown(), QStringLiteral("1:20:00"));
        QVERIFY(control<TKZTimeCounter>("Timer1")->Enabled());
        now += 1 / 86400.0;
        Driver::tick(form, "Timer1");
        QCOMPARE(timeShown(), QStringLiteral("1:19:59"));
        QVERIFY(!control<QPushButton>("NoteButton")->isHidden());

        // Going back to the marked item shows its mark and answer.
        Driver::press(form, "PrevButton");
        Driver::press(form, "PrevButton");
        QVERIFY(control<QCheckBox>("MarkBox")->isChecked());
        // The candidate ends it: nothing is offered any more.
        Dialogs::queueAnswer(Dialogs::Yes);
        Driver::press(form, "Button3");
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(!ExamRecord(env->userDir()).exists());
        restart({});
        QCOMPARE(Dialogs::shownMessages(), QStringList());
        QCOMPARE(form->examMode, ExamMode::Idle);
    }

    void closeBox_keepsTheExam_reviewIsGivenBackWithoutRecordingTwice()
    {
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 1);
        Driver::pickChoice(form, 2);
        // The close box, the warning answered OK: the exam is kept.
        Dialogs::queueAnswer(Dialogs::Ok);
        QVERIFY(form->close());
        QVERIFY(ExamRecord(env->userDir()).exists());
        Dialogs::queueAnswer(Dialogs::Yes);
        form->show();
        QTRY_COMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->Sheet.entry(1).Choice, (std::array<std::uint8_t, 6>{0, 1, 0, 0, 0, 0}));

        // Graded and reviewed, then gone: it comes back in review.
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::setModalHandler([](QDialog* d) {
            if (qobject_cast<TScoreForm*>(d))
                Driver::press(d, "BitBtn1"); // View Answers
            return int(QDialog::Accepted);
        });
        Driver::press(form, "GradeButton");
        QCOMPARE(form->examMode, ExamMode::Reviewing);
        QCOMPARE(attemptsInHistory(), 1);
        Driver::press(form, "NextButton");
        restart({Dialogs::Yes});
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("graded")));
        QCOMPARE(form->examMode, ExamMode::Reviewing);
        QCOMPARE(form->dtCurrentSet->recNo(), 2);
        QVERIFY(control<ShadedLabel>("CorrectLabel")->isVisible());
        // Its score report again, not a second grading.
        bool reportShown = false;
        Dialogs::setModalHandler([&](QDialog* d) {
            reportShown = qobject_cast<TScoreForm*>(d) != nullptr;
            return int(QDialog::Rejected);
        });
        Driver::press(form, "GradeButton");
        QVERIFY(reportShown);
        QCOMPARE(attemptsInHistory(), 1);
        QCOMPARE(form->examMode, ExamMode::Reviewing);
    }

    void anotherExamSet_isRefused_andDiscardForgets()
    {
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 1);
        Driver::pickChoice(form, 1);
        form->CloseCurrentExam();
        // The current set on disk is now another exam's.
        env->writeEmptyCurrentSet();
        restart({Dialogs::Yes, Dialogs::Ok});
        QCOMPARE(Dialogs::shownMessages().size(), 2);
        QVERIFY(Dialogs::shownMessages().at(1).contains(QStringLiteral("holds other items")));
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(!ExamRecord(env->userDir()).exists());
        QVERIFY(control<QWidget>("Panel4")->isVisible());

        // No, then Yes to discarding: forgotten. No, then No: given back.
        Driver::startExam(form, "Action2", QStringLiteral("Bo"), 90, 1);
        form->CloseCurrentExam();
        restart({Dialogs::No, Dialogs::No});
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->CandidateName, QStringLiteral("Bo"));
        form->CloseCurrentExam();
        restart({Dialogs::No, Dialogs::Yes});
        QVERIFY(Dialogs::shownMessages().at(1).startsWith(
            QStringLiteral("Warning: Discard the unfinished exam")));
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(!ExamRecord(env->userDir()).exists());
    }

    void userExam_keepsItsNoteButtonHidden()
    {
        Driver::startExam(form, "UserAct", QStringLiteral("Ada"), 90, 1);
        QCOMPARE(form->ItemCount, 2);
        QVERIFY(control<QPushButton>("NoteButton")->isHidden());
        Driver::pickChoice(form, 1);
        restart({Dialogs::Yes});
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ItemCount, 2);
        QVERIFY(control<QPushButton>("NoteButton")->isHidden());
        QVERIFY(kept().userExam);
    }

    void expiredClock_asksAgainAfterTheResume()
    {
        Driver::startExam(form, "Action1", QStringLiteral("Ada"), 1, 1);
        QCOMPARE(timeShown(), QStringLiteral("0:01:00"));
        now += 30 / 86400.0;
        Driver::tick(form, "Timer1");
        QCOMPARE(timeShown(), QStringLiteral("0:00:30"));
        restart({Dialogs::Yes});
        QCOMPARE(timeShown(), QStringLiteral("0:00:30"));
        // The limit is reached after the resume as before it.
        now += 30 / 86400.0;
        Dialogs::queueAnswer(Dialogs::Ok); // go on without the clock
        Driver::tick(form, "Timer1");
        QVERIFY(Dialogs::shownMessages().last().contains(QStringLiteral("Your time has expired")));
        QCOMPARE(kept().elapsedSeconds, 60);

        // Expired when it was lost: the question comes again once given back.
        restart({Dialogs::Yes, Dialogs::Ok});
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("Its time has expired")));
        QVERIFY(Dialogs::shownMessages().last().contains(QStringLiteral("Your time has expired")));
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(!control<TKZTimeCounter>("Timer1")->Enabled());
    }
};

QTEST_MAIN(TestResume)
#include "test_resume.moc"
