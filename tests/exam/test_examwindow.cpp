#include "TestEnv.h"
#include "app/TNameForm.h"
#include "exam/ChoiceLabel.h"
#include "exam/Clock.h"
#include "exam/TKZTimeCounter.h"
#include "exam/TTestForm.h"
#include "store/ItemRecord.h"
#include "store/TableFiles.h"
#include "tables/Database.h"
#include "tables/Session.h"
#include "tables/Table.h"
#include "widgets/Dialogs.h"
#include "widgets/ShadedButton.h"
#include "widgets/ShadedLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSpinBox>
#include <QTest>

using namespace ItemRecord;

class TestExamWindow : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;

    Table& ces() { return *form->dtCurrentSet; }
    QList<qint64> examItems()
    {
        QList<qint64> ids;
        Table& t = ces();
        const qint64 mark = t.bookmark();
        t.disableControls();
        for (t.first(); !t.eof(); t.next())
            ids << t.fieldByName(Q_OR_NUMBER).asInteger();
        t.gotoBookmark(mark);
        t.enableControls();
        return ids;
    }
    QSet<qint64> examItemSet()
    {
        const QList<qint64> ids = examItems();
        return QSet<qint64>(ids.begin(), ids.end());
    }
    // Moves to the first item of the given question text.
    void gotoItem(const QString& question)
    {
        for (ces().first(); !ces().eof(); ces().next()) {
            if (ces().fieldByName(Q_TEXT).asString() == question)
                return;
        }
        QFAIL("item not in the exam");
    }
    void startPracticeExam(int exam, quint32 seed = 1)
    {
        form->SeedSource = [seed] { return seed; };
        TestEnv::acceptNameDialog(QStringLiteral("Ada"), 90);
        QAction* actions[] = {form->Action1, form->Action2, form->Action3, form->Action4, form->Action5};
        actions[exam - 1]->trigger();
        QCOMPARE(form->examMode, ExamMode::Testing);
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
    }
    void cleanup()
    {
        Clock::setSource({});
        form = nullptr;
        env.reset();
    }

    void startPage_onCreation()
    {
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(form->Panel4->isVisible());
        QVERIFY(!form->ScrollBox1->isVisible());
        QVERIFY(!form->Panel2->isVisible());
        QVERIFY(form->fcLabel1->isVisible());
        QVERIFY(form->N21->isEnabled());
        QVERIFY(!form->Print1->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("Velarix 2.0"));
        // The A to E row is centred on the window's width.
        form->resize(732, 560);
        QTest::qWait(10);
        const int F = form->width();
        const int n = F - 150 - 30; // an exact half goes to the even neighbour
        QCOMPARE(form->fcShapeBtn[0]->x(), n / 2 + ((n % 2) && ((n / 2) % 2) ? 1 : 0));
        if (F == 732)
            QCOMPARE(form->fcShapeBtn[0]->x(), 276);
        QCOMPARE(form->fcShapeBtn[1]->x(), form->fcShapeBtn[0]->x() + 36);
        QCOMPARE(form->RandomBtn->x(), form->AllQBtn->x() + 115);
    }

    void practiceExam_startsOnItsFirstItem()
    {
        startPracticeExam(1);
        QCOMPARE(form->ItemCount, 2);
        QCOMPARE(form->FirstRecNo, 1);
        QCOMPARE(form->CandidateName, QStringLiteral("Ada"));
        QCOMPARE(form->Label3->text(), QStringLiteral("Practice Exam A"));
        QCOMPARE(form->Label1->text(), QStringLiteral("Item 1 of 2"));
        QVERIFY(form->Label2->text().startsWith(QStringLiteral("Item ID: ")));
        QVERIFY(!form->PrevButton->isEnabled());
        QVERIFY(form->NextButton->isEnabled());
        QVERIFY(form->ScrollBox1->isVisible());
        QVERIFY(!form->Panel4->isVisible());
        QVERIFY(!form->N21->isEnabled());
        QVERIFY(form->Print1->isEnabled() && form->Print2->isEnabled());
        QVERIFY(form->TimeLabel->isVisible());
        QCOMPARE(form->TimeLabel->text(), QStringLiteral("1:30:00"));
        QVERIFY(form->Timer1->Enabled());
        QVERIFY(!form->ExpText->isVisible());
        QCOMPARE(examItemSet(), (QSet<qint64>{1, 2}));
        form->NextButtonClick();
        QCOMPARE(form->Label1->text(), QStringLiteral("Item 2 of 2"));
        QVERIFY(form->PrevButton->isEnabled());
        QVERIFY(!form->NextButton->isEnabled());
    }

    void sameExamTwice_sameItemsFreshOrder()
    {
        startPracticeExam(5, 1);
        const QList<qint64> first = examItems();
        form->CloseCurrentExam();
        startPracticeExam(5, 2);
        const QList<qint64> second = examItems();
        QCOMPARE(QSet<qint64>(first.begin(), first.end()), QSet<qint64>(second.begin(), second.end()));
        QCOMPARE(first.size(), 2);
        // The answer sheet of the first exam does not carry over.
        form->ALabelClick(1);
        form->CloseCurrentExam();
        startPracticeExam(5, 3);
        for (const AnswerEntry& e : form->Sheet.entries())
            QCOMPARE(e.Choice, (std::array<std::uint8_t, 6>{}));
    }

    void cancelledNameDialog_changesNothing()
    {
        startPracticeExam(2);
        const QList<qint64> before = examItems();
        form->CloseCurrentExam();
        TestEnv::cancelNameDialog();
        form->Action1->trigger();
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(form->Panel4->isVisible());
        QVERIFY(!form->dtQSet->isOpen());
        ces().open();
        QCOMPARE(examItems(), before);
    }

    void allQuestionsAndRandomExams_neverTakeRetiredItems()
    {
        form->SeedSource = [] { return 77u; };
        TestEnv::acceptNameDialog();
        form->AllQAct->trigger();
        QCOMPARE(form->ItemCount, 11);
        QVERIFY(!examItems().contains(12));
        QCOMPARE(form->Label3->text(), QStringLiteral("All Questions"));
        form->CloseCurrentExam();

        // The number field offers every available item; only the random exam enables it.
        form->PrepareNameDialog(false);
        QCOMPARE(NameForm->SpinEdit2->value(), 11);
        QVERIFY(!NameForm->SpinEdit2->isEnabled());
        TestEnv::acceptNameDialog(QStringLiteral("Ada"), 30, 11);
        form->RandActExecute();
        QCOMPARE(NameForm->windowTitle(), QStringLiteral("Random Exam"));
        QVERIFY(NameForm->SpinEdit2->isEnabled());
        QCOMPARE(form->ItemCount, 11);
        QCOMPARE(examItemSet().size(), 11);
        form->CloseCurrentExam();
        TestEnv::acceptNameDialog(QStringLiteral("Ada"), 30, 1);
        form->RandActExecute();
        QCOMPARE(form->ItemCount, 1);
        QVERIFY(!examItems().contains(12));
        QCOMPARE(form->Label1->text(), QStringLiteral("Item 1 of 1"));
        QVERIFY(!form->PrevButton->isEnabled() && !form->NextButton->isEnabled());
    }

    void bankWithAGapInItsKeys_stillGetsTheRightItems()
    {
        {
            Table bank(TableFiles::SessionName, TableFiles::Bank);
            bank.open();
            bank.setRecNo(2); // Q_ID 2 of practice exam A
            bank.deleteRecord();
        }
        TestEnv::acceptNameDialog();
        form->AllQAct->trigger();
        QCOMPARE(form->ItemCount, 10);
        const QList<qint64> items = examItems();
        QCOMPARE(QSet<qint64>(items.begin(), items.end()), (QSet<qint64>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    }

    void examKindWithoutItems_saysSoAndChangesNothing()
    {
        QList<TestItem> bank = TestEnv::sampleBank();
        bank.removeIf([](const TestItem& t) { return t.exam == 4; });
        env->writeBank(bank);
        TestEnv::acceptNameDialog();
        Dialogs::clearLog();
        form->Action4->trigger();
        QCOMPARE(form->examMode, ExamMode::Idle);
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(Dialogs::shownMessages().first().startsWith(QStringLiteral("Information: ")));
        QVERIFY(form->Panel4->isVisible());

        // Nothing at all to draw from: neither a random exam nor all questions.
        env->writeBank({TestEnv::item(0, 1, QStringLiteral("retired"), QStringLiteral("a"))});
        for (QAction* action : {form->RandAct, form->AllQAct}) {
            Dialogs::clearLog();
            action->trigger();
            QCOMPARE(form->examMode, ExamMode::Idle);
            QCOMPARE(Dialogs::shownMessages().size(), 1);
            QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("no questions available")));
        }
    }

    void userExam_copiesTheUserSet()
    {
        Dialogs::clearLog();
        form->UserActExecute();
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Information: User defined question set is empty!")});
        QVERIFY(!form->dtUserSet->isOpen());

        env->writeUserSet({TestEnv::item(0, 3, QStringLiteral("Own question"), QStringLiteral("b"))});
        TestEnv::acceptNameDialog();
        form->UserActExecute();
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ItemCount, 1);
        QCOMPARE(ces().fieldByName(Q_OR_NUMBER).asInteger(), 1);
        QCOMPARE(ces().fieldByName(Q_TEXT).asString(), QStringLiteral("Own question"));
        QVERIFY(ces().fieldByName(Q_EXAM_N).isNull());
        QVERIFY(ces().fieldByName(Q_SIM).isNull());
        QVERIFY(ces().fieldByName(PICT1).isNull() && ces().fieldByName(PICT2).isNull());
        QVERIFY(!form->ExhBtnA->isVisible() && !form->ExhBtnB->isVisible());
        QVERIFY(!form->NoteButton->isVisible());
        QVERIFY(!form->dtQSet->isOpen());
        form->CloseCurrentExam();
        startPracticeExam(1);
        QVERIFY(form->NoteButton->isVisible());
    }

    void singleResponse_textClicksSelectLikeTheButtons()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q1 planning")); // correct: b
        QVERIFY(form->RadioButton[1]->isVisible());
        QVERIFY(!form->CheckBox[1]->isVisible());
        const int r = ces().recNo();
        form->ALabelClick(2);
        QVERIFY(form->RadioButton[1]->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 1, 0, 0, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Correct, 1);
        QTest::mouseClick(form->ALabel[3], Qt::LeftButton);
        QVERIFY(form->RadioButton[3]->isChecked());
        QVERIFY(!form->RadioButton[1]->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 0, 0, 1, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Correct, 0);
        // A click on the selected button keeps it selected.
        QTest::mouseClick(form->RadioButton[3], Qt::LeftButton);
        QVERIFY(form->RadioButton[3]->isChecked());
        // Away and back: the same selection, flags unchanged.
        form->MarkBox->setChecked(true);
        QCOMPARE(form->Sheet.entry(r).Marked, 1);
        r == 1 ? form->NextButtonClick() : form->PrevButtonClick();
        QVERIFY(!form->MarkBox->isChecked() || form->Sheet.entry(ces().recNo()).Marked);
        r == 1 ? form->PrevButtonClick() : form->NextButtonClick();
        QCOMPARE(ces().recNo(), r);
        QVERIFY(form->RadioButton[3]->isChecked());
        QVERIFY(form->MarkBox->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 0, 0, 1, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Marked, 1);
        form->MarkBox->setChecked(false);
        QCOMPARE(form->Sheet.entry(r).Marked, 0);
    }

    void multipleResponse_toggles()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q2 install")); // correct: a and c
        const int r = ces().recNo();
        QVERIFY(form->CheckBox[0]->isVisible());
        QVERIFY(!form->RadioButton[0]->isVisible());
        form->ALabelClick(3);
        QVERIFY(form->CheckBox[2]->isChecked());
        form->ALabelClick(1);
        QCOMPARE(form->Sheet.entry(r).Correct, 1);
        form->ALabelClick(3);
        QVERIFY(!form->CheckBox[2]->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Correct, 0);
        form->ALabelClick(1);
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{}));
        QCOMPARE(form->Sheet.entry(r).Correct, 0);
    }

    void reviewing_undoesEveryChange()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q1 planning"));
        form->ALabelClick(1);
        gotoItem(QStringLiteral("Q2 install"));
        form->ALabelClick(1);
        form->Timer1->setEnabled(false);
        form->examMode = ExamMode::Reviewing;
        form->ReviewControls();
        gotoItem(QStringLiteral("Q1 planning"));
        const int r1 = ces().recNo();
        QVERIFY(form->ExpText->isVisible());
        QVERIFY(form->CorrectLabel->isVisible());
        QCOMPARE(form->CorrectLabel->text(), QStringLiteral("Incorrect"));
        QCOMPARE(form->ALabel[1]->palette().color(QPalette::Window), QColor(0, 255, 255));
        QCOMPARE(form->ALabel[0]->palette().color(QPalette::Window), QColor(Qt::white));
        form->ALabelClick(3);
        QTest::mouseClick(form->RadioButton[2], Qt::LeftButton);
        QVERIFY(form->RadioButton[0]->isChecked());
        QVERIFY(!form->RadioButton[2]->isChecked());
        QCOMPARE(form->Sheet.entry(r1).Choice, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
        gotoItem(QStringLiteral("Q2 install"));
        const int r2 = ces().recNo();
        form->ALabelClick(1);
        form->ALabelClick(2);
        QVERIFY(form->CheckBox[0]->isChecked());
        QVERIFY(!form->CheckBox[1]->isChecked());
        QCOMPARE(form->Sheet.entry(r2).Choice, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
        QVERIFY(!form->MarkBox->isVisible());
        QVERIFY(!form->LearnButton->isEnabled());
    }

    void learnNow_showsTheAnswerUntilTheNextMove()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q2 install")); // a and c
        form->ALabelClick(2);
        form->LearnButtonClick();
        QVERIFY(form->ExpText->isVisible());
        QCOMPARE(form->ALabel[0]->palette().color(QPalette::Window), QColor(0, 255, 255));
        QCOMPARE(form->ALabel[1]->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(form->ALabel[2]->palette().color(QPalette::Window), QColor(0, 255, 255));
        QVERIFY(form->CheckBox[1]->isChecked()); // the selection stays
        QVERIFY(!form->CorrectLabel->isVisible());
        const int r = ces().recNo();
        r == 1 ? form->NextButtonClick() : form->PrevButtonClick();
        r == 1 ? form->PrevButtonClick() : form->NextButtonClick();
        QVERIFY(!form->ExpText->isVisible());
        QCOMPARE(form->ALabel[0]->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void layout_onRealWidgets()
    {
        QList<TestItem> bank = TestEnv::sampleBank();
        bank[6].question = QStringLiteral("Two choices only");
        env->writeBank(bank);
        startPracticeExam(4);
        gotoItem(QStringLiteral("Two choices only"));
        QVERIFY(form->ALabel[1]->isVisible());
        QVERIFY(!form->ALabel[2]->isVisible());
        QVERIFY(!form->RadioButton[2]->isVisible());
        QCOMPARE(form->Shape1->y(), form->QPanel->height());
        QCOMPARE(form->ExhBtnA->y(), form->QPanel->height() + 2);
        QCOMPARE(form->ALabel[0]->y(), form->QPanel->height() + 42);
        QCOMPARE(form->RadioButton[0]->y(), form->ALabel[0]->y());
        QCOMPARE(form->ExpText->y(), form->ALabel[1]->y() + form->ALabel[1]->height() + 40);
        const int W = form->Panel3->width() - 2;
        QCOMPARE(form->ALabel[0]->width(), W - 110);
        QCOMPARE(form->ExpText->width(), W - 38);
        // A narrower window re-wraps and keeps the answer.
        form->ALabelClick(2);
        form->resize(760, 560);
        QTest::qWait(20);
        QCOMPARE(form->ALabel[0]->width(), form->Panel3->width() - 2 - 110);
        QVERIFY(form->RadioButton[1]->isChecked());
        QCOMPARE(form->ScrollBox1->verticalScrollBar()->value(), 0);
    }

    void clock_countsDownAndAsksAtTheEnd()
    {
        double now = 46000.25;
        Clock::setSource([&now] { return now; });
        startPracticeExam(1);
        QCOMPARE(form->TimeLabel->text(), QStringLiteral("1:30:00"));
        now += 1 / 86400.0;
        form->Timer1Timer();
        QCOMPARE(form->TimeLabel->text(), QStringLiteral("1:29:59"));
        now += (61 * 60 - 1) / 86400.0;
        form->Timer1Timer();
        QCOMPARE(form->TimeLabel->text(), QStringLiteral("0:29:00"));
        // A late tick past the limit still ends the time; OK goes on untimed.
        now += (29 * 60 + 3) / 86400.0;
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        form->Timer1Timer();
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral(
                     "Information: Your time has expired.\nDo you want continue the exam anyway?")});
        QVERIFY(!form->Timer1->Enabled());
        QVERIFY(!form->TimeLabel->isVisible());
        QCOMPARE(form->examMode, ExamMode::Testing);

        // No, then Cancel at the grading question: the exam goes on, without a clock.
        form->CloseCurrentExam();
        startPracticeExam(1);
        now += 90 / 1440.0;
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::No);
        Dialogs::queueAnswer(Dialogs::Cancel);
        form->Timer1Timer();
        QCOMPARE(Dialogs::shownMessages().size(), 2);
        QVERIFY(Dialogs::shownMessages().at(1).startsWith(
            QStringLiteral("Confirm: This will end your practice exam.")));
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(!form->Timer1->Enabled());
        QVERIFY(form->TimeLabel->isVisible());
        QCOMPARE(form->TimeLabel->text(), QStringLiteral("0:00:00"));
        QCOMPARE(form->GradeButton->text(), QStringLiteral("&Grade Now"));

        // No, then OK: the exam is graded.
        form->CloseCurrentExam();
        startPracticeExam(1);
        now += 90 / 1440.0;
        Dialogs::queueAnswer(Dialogs::No);
        Dialogs::queueAnswer(Dialogs::Ok);
        form->Timer1Timer();
        QCOMPARE(form->GradeButton->text(), QStringLiteral("Score Report"));
        QVERIFY(!form->TimeLabel->isVisible());
    }

    void clock_offWhenTimerIsOff()
    {
        form->Options.TimerOn = false;
        startPracticeExam(1);
        QVERIFY(!form->TimeLabel->isVisible());
        QVERIFY(!form->Timer1->Enabled());
        // Switching it on during the exam starts at the full time.
        double now = 46000.0;
        Clock::setSource([&now] { return now; });
        form->Options.TimerOn = true;
        form->StartClock();
        QVERIFY(form->TimeLabel->isVisible());
        now += 5 / 86400.0;
        form->Timer1Timer();
        QCOMPARE(form->TimeLabel->text(), QStringLiteral("1:29:55"));
    }

    void exitExam_asksAndBothAnswersHold()
    {
        startPracticeExam(1);
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::No);
        form->Button3Click();
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Confirm: Are you sure you wish to end this exam?")});
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(form->Timer1->Enabled());
        Dialogs::queueAnswer(Dialogs::Yes);
        form->Button3Click();
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(!ces().isOpen() && !form->dtQSet->isOpen());
        QVERIFY(!form->dtQSet->filtered());
        QVERIFY(form->Panel4->isVisible());
        QVERIFY(form->N21->isEnabled());
        QVERIFY(!form->Print1->isEnabled() && !form->Print2->isEnabled());
        QVERIFY(!form->Timer1->Enabled());
    }

    void closingTheWindow_asksOnlyDuringAnExam()
    {
        startPracticeExam(1);
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Cancel);
        QVERIFY(!form->close());
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Warning: This exam is not completed.\nAre you shure ?")});
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(form->isVisible());
        Dialogs::queueAnswer(Dialogs::Ok);
        QVERIFY(form->close());
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(!ces().isOpen());
        // On the start page it closes without a question.
        form->show();
        Dialogs::clearLog();
        QVERIFY(form->close());
        QVERIFY(Dialogs::shownMessages().isEmpty());
    }

    void failedAssembly_keepsThePreviousExamWhole()
    {
        startPracticeExam(1);
        const QSet<qint64> previous = examItemSet();
        Dialogs::queueAnswer(Dialogs::Yes);
        form->Button3Click();
        QCOMPARE(form->examMode, ExamMode::Idle);
        {
            // The second item of exam B gets a section that cannot be
            // copied, so assembly fails after it has begun writing.
            Database db;
            db.open(env->path(TableFiles::Bank), Session::find(TableFiles::SessionName)->rawKey());
            db.exec(QStringLiteral("UPDATE items SET Q_SECT = 'x' WHERE Q_ID = 4"));
        }
        Dialogs::clearLog();
        form->SeedSource = [] { return 7u; };
        TestEnv::acceptNameDialog();
        form->Action2->trigger();
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(form->examMode, ExamMode::Idle);
        form->CloseCurrentExam();
        Table t(TableFiles::SessionName, TableFiles::CurrentSet);
        t.open();
        QSet<qint64> kept;
        for (t.first(); !t.eof(); t.next())
            kept << t.fieldByName(Q_OR_NUMBER).asInteger();
        QCOMPARE(kept, previous);
    }

    void errorInAHandler_showsTheErrorBoxAndTheWindowGoesOn()
    {
        QFile::remove(env->path(TableFiles::Bank));
        Dialogs::clearLog();
        form->Action1->trigger();
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("velarix2.DAT")));
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(form->Panel4->isVisible());
    }
};

QTEST_MAIN(TestExamWindow)
#include "test_examwindow.moc"
