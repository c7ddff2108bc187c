// The score history and the retake on real windows: what grading records,
// the history window, the retake exam, and paging with the keyboard.
#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/history/ScoreHistory.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Table.h"
#include "ui/exam/ChoiceLabel.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/history/ExamHistory.h"
#include "ui/history/THistoryForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

using namespace ItemRecord;

namespace {
// The line of that name in the history window's score chart.
QLineSeries* line(THistoryForm* h, const QString& name)
{
    QChart* chart = Driver::chart(h, "ScoreChartView");
    for (QAbstractSeries* series : chart ? chart->series() : QList<QAbstractSeries*>())
        if (series->name() == name)
            return qobject_cast<QLineSeries*>(series);
    qFatal("no line %s", qPrintable(name));
}

// Pictures for a look at the windows, when VELARIX_SHOTS names a folder.
void saveShot(QWidget* w, const QString& name)
{
    const QByteArray dir = qgetenv("VELARIX_SHOTS");
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}
} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;

    ScoreHistory history() const { return ScoreHistory(form->History->folder); }
    std::vector<HistoryAttempt> attempts() const
    {
        std::vector<HistoryAttempt> all;
        QString error;
        if (!history().load(&all, &error))
            qWarning("%s", qPrintable(error));
        return all;
    }
    // Starts the exam of that "Exa&ms" action, the candidate Ada, 90 minutes.
    void startExam(const char* action)
    {
        Driver::startExam(form, action, QStringLiteral("Ada"), 90, 7);
        QCOMPARE(form->examMode, ExamMode::Testing);
    }
    QPushButton* button(const char* name) const { return Driver::find<QPushButton>(form, name); }
    QAction* action(const char* name) const { return Driver::find<QAction>(form, name); }
    QMenu* menu(const char* name) const { return Driver::find<QMenu>(form, name); }
    // The exam clock's next tick.
    void tick() const { QMetaObject::invokeMethod(Driver::find<QTimer>(form, "Timer1"), "timeout"); }
    // Answers the item of that question with its correct letter (single response).
    void answerRight(const QString& question, int choice)
    {
        Table& t = *form->dtCurrentSet;
        for (t.first(); !t.eof(); t.next()) {
            if (t.fieldByName(Q_TEXT).asString() == question) {
                Driver::pickChoice(form, choice);
                return;
            }
        }
        QFAIL("item not in the exam");
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->writeBank(TestEnv::sampleBank());
        env->writeEmptyCurrentSet();
        env->writeUserSet({});
        form = env->createForms();
        form->History->folder = env->path(QStringLiteral("history"));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        Dialogs::clearLog();
    }
    void cleanup()
    {
        Clock::setSource({});
        form = nullptr;
        env.reset();
    }

    void gradeNow_recordsOnce_notOnReopeningOrPrinting()
    {
        // The default folder is the per-user data folder, here the test's own.
        QVERIFY(ScoreHistory::defaultFolder().startsWith(env->dir()));
        startExam("Action1");
        answerRight(QStringLiteral("Q1 planning"), 2);
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::queuePrintAnswer(false);
        Dialogs::setModalHandler([](QDialog* d) {
            if (qobject_cast<TScoreForm*>(d)) {
                Driver::press(d, "BitBtn2"); // printing records nothing
                Driver::press(d, "BitBtn1");
            }
            return int(QDialog::Accepted);
        });
        Driver::press(form, "GradeButton");
        std::vector<HistoryAttempt> all = attempts();
        QCOMPARE(int(all.size()), 1);
        const HistoryAttempt& a = all.front();
        QCOMPARE(a.examTitle, QStringLiteral("Practice Exam A"));
        QCOMPARE(a.candidateName, QStringLiteral("Ada"));
        QCOMPARE(a.items, 2);
        QCOMPARE(a.correct, 1);
        QCOMPARE(a.score, 500);
        QCOMPARE(a.grade, QStringLiteral("Fail"));
        QCOMPARE(a.timeLimitSeconds, 90 * 60);
        QCOMPARE(a.sections[0].correct, 1);
        QCOMPARE(a.sections[1].items, 1);
        QStringList results;
        for (const HistoryItem& i : a.results)
            results << ScoreHistory::encodeResults({i});
        results.sort();
        QCOMPARE(results, (QStringList{QStringLiteral("B1+"), QStringLiteral("B2-")}));
        QVERIFY(a.when.secsTo(QDateTime::currentDateTime()) < 60);

        // The score window again, in review: nothing new.
        Driver::press(form, "GradeButton");
        Driver::press(form, "GradeButton");
        QCOMPARE(int(attempts().size()), 1);
        QVERIFY(!Dialogs::shownMessages().join('\n').contains(QStringLiteral("Error")));
    }

    void clockExpiry_thenGrading_recordsOnce()
    {
        double now = 46000.25;
        Clock::setSource([&now] { return now; });
        startExam("Action2");
        now += 91 / 1440.0;
        Dialogs::queueAnswer(Dialogs::No); // do not go on
        Dialogs::queueAnswer(Dialogs::Ok); // end the exam
        Dialogs::setModalHandler([](QDialog*) { return int(QDialog::Accepted); });
        tick();
        QCOMPARE(button("GradeButton")->text(), QStringLiteral("Score Report"));
        const std::vector<HistoryAttempt> all = attempts();
        QCOMPARE(int(all.size()), 1);
        QCOMPARE(all.front().examTitle, QStringLiteral("Practice Exam B"));
        QCOMPARE(all.front().timeUsedSeconds, 90 * 60);
        QCOMPARE(all.front().correct, 0);
    }

    void examAfterAnExpiredOne_recordsOnlyItsOwnTime()
    {
        double now = 46000.25;
        Clock::setSource([&now] { return now; });
        startExam("Action2");
        now += 91 / 1440.0;
        Dialogs::queueAnswer(Dialogs::Ok); // the time is up: go on
        tick();
        Dialogs::queueAnswer(Dialogs::Yes); // end this exam without grading it
        Driver::press(form, "Button3");     // Exit Exam
        QCOMPARE(form->examMode, ExamMode::Idle);

        // The next exam is graded two minutes in, before its clock has ticked.
        startExam("Action1");
        now += 2 / 1440.0;
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::setModalHandler([](QDialog*) { return int(QDialog::Accepted); });
        Driver::press(form, "GradeButton");
        const std::vector<HistoryAttempt> all = attempts();
        QCOMPARE(int(all.size()), 1);
        QCOMPARE(all.front().examTitle, QStringLiteral("Practice Exam A"));
        QCOMPARE(all.front().timeUsedSeconds, 2 * 60);
    }

    void failedWrite_showsTheMessageOnce_andTheExamGoesOn()
    {
        // A file where the history's folder should be.
        QFile blocker(env->path(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        form->History->folder = blocker.fileName();
        startExam("Action1");
        answerRight(QStringLiteral("Q1 planning"), 2);
        Dialogs::queueAnswer(Dialogs::Ok); // grade
        Dialogs::queueAnswer(Dialogs::Ok); // the error box
        int scoreShown = 0;
        Dialogs::setModalHandler([&scoreShown](QDialog* d) {
            if (qobject_cast<TScoreForm*>(d))
                ++scoreShown;
            return int(QDialog::Accepted);
        });
        Driver::press(form, "GradeButton");
        QStringList errors = Dialogs::shownMessages().filter(QStringLiteral("Error: "));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("score history folder")), qPrintable(errors.first()));
        QCOMPARE(scoreShown, 1);
        QCOMPARE(Driver::window<TScoreForm>()->result().shownScore, 500);
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(Dialogs::pendingAnswers(), 0);

        // A damaged table: the same, and the file stays as it was.
        form->CloseCurrentExam();
        const QString folder = env->path(QStringLiteral("damaged"));
        QDir().mkpath(folder);
        form->History->folder = folder;
        QFile damaged(ScoreHistory(folder).filePath());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'z'));
        damaged.close();
        startExam("Action1");
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::setModalHandler([&scoreShown](QDialog* d) {
            if (qobject_cast<TScoreForm*>(d))
                ++scoreShown;
            return int(QDialog::Accepted);
        });
        Driver::press(form, "GradeButton");
        errors = Dialogs::shownMessages().filter(QStringLiteral("Error: "));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("not a table of this program")),
                 qPrintable(errors.first()));
        QCOMPARE(QFileInfo(damaged.fileName()).size(), 4096);
        QCOMPARE(scoreShown, 2);
    }

    void historyWindow_tableCharts_deleteAndExport()
    {
        QVERIFY(action("ScoreHistory1")->isEnabled());
        QVERIFY(menu("N11")->actions().indexOf(action("ScoreHistory1")) <
                menu("N11")->actions().indexOf(action("Exit1")));
        // Empty: a message instead of charts.
        bool shown = false;
        Dialogs::setModalHandler([&shown](QDialog* d) {
            auto* h = qobject_cast<THistoryForm*>(d);
            shown = h != nullptr;
            if (h) {
                [h] {
                    auto* empty = Driver::find<QLabel>(h, "EmptyLabel");
                    QCOMPARE(Driver::find<QStackedWidget>(h, "Pages")->currentWidget(), empty);
                    QVERIFY(empty->text().startsWith(QStringLiteral("No graded exam yet.")));
                    QVERIFY(!Driver::find<QPushButton>(h, "ExportButton")->isEnabled());
                    QVERIFY(!Driver::find<QPushButton>(h, "DeleteButton")->isEnabled());
                }();
            }
            return int(QDialog::Accepted);
        });
        Driver::press(form, "ScoreHistory1");
        QVERIFY(shown);

        QString error;
        const QDateTime day(QDate(2026, 4, 2), QTime(10, 0));
        for (int i = 0; i < 3; ++i) {
            HistoryAttempt a;
            a.when = day.addDays(i);
            a.examTitle = QStringLiteral("Practice Exam %1").arg(QChar('A' + i));
            a.items = 10;
            a.correct = 5 + 2 * i;
            a.score = 500 + 200 * i;
            a.grade = a.score >= 850 ? QStringLiteral("Pass") : QStringLiteral("Fail");
            a.timeUsedSeconds = 600 + i;
            a.sections[0] = {a.correct, 10};
            a.sections[3] = {1, 4};
            QVERIFY(history().append(a, &error));
        }
        const QString csv = env->path(QStringLiteral("out.csv"));
        Dialogs::setModalHandler([csv](QDialog* d) {
            auto* h = qobject_cast<THistoryForm*>(d);
            if (!h)
                return int(QDialog::Rejected);
            [h, csv] {
                h->show();
                QTest::qWait(50);
                saveShot(h, QStringLiteral("history"));
                QCOMPARE(Driver::find<QStackedWidget>(h, "Pages")->currentIndex(), 1);
                auto* table = Driver::find<QTableWidget>(h, "AttemptsTable");
                QCOMPARE(table->rowCount(), 3);
                QCOMPARE(table->item(0, 0)->text(), QStringLiteral("2026-04-04 10:00"));
                QCOMPARE(table->item(0, 1)->text(), QStringLiteral("Practice Exam C"));
                QCOMPARE(table->item(0, 3)->text(), QStringLiteral("900"));
                QCOMPARE(table->item(0, 4)->text(), QStringLiteral("Pass"));
                QCOMPARE(table->item(2, 5)->text(), QStringLiteral("0:10:00"));
                // Oldest to newest along the date axis, the pass line at 850.
                const QLineSeries* scores = line(h, QStringLiteral("Your score"));
                const QLineSeries* pass = line(h, QStringLiteral("Passing score"));
                QCOMPARE(scores->count(), 3);
                QCOMPARE(scores->at(0).y(), 500.0);
                QCOMPARE(scores->at(2).y(), 900.0);
                QCOMPARE(pass->count(), 2);
                QCOMPARE(pass->at(0).y(), 850.0);
                QCOMPARE(pass->at(1).y(), 850.0);
                QVERIFY(Driver::find<QLabel>(h, "WeakestLabel")
                            ->text()
                            .startsWith(
                                QStringLiteral("Weakest section: Integration and Interoperability (25%")));

                // Export through the file chooser.
                Dialogs::queueFileName(csv);
                Driver::press(h, "ExportButton");
                // Delete: No keeps the attempt, Yes removes it.
                auto* deleteButton = Driver::find<QPushButton>(h, "DeleteButton");
                QVERIFY(!deleteButton->isEnabled());
                QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  table->visualItemRect(table->item(1, 1)).center());
                QVERIFY(deleteButton->isEnabled());
                Dialogs::queueAnswer(Dialogs::No);
                deleteButton->click();
                QCOMPARE(table->rowCount(), 3);
                Dialogs::queueAnswer(Dialogs::Yes);
                deleteButton->click();
                QCOMPARE(table->rowCount(), 2);
                QCOMPARE(table->item(1, 1)->text(), QStringLiteral("Practice Exam A"));
                h->hide();
            }();
            return int(QDialog::Accepted);
        });
        Driver::press(form, "ScoreHistory1");
        QVERIFY(Dialogs::shownMessages().last().startsWith(
            QStringLiteral("Confirm: Delete the attempt of 2026-04-03")));
        QCOMPARE(int(attempts().size()), 2);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[1].contains(QStringLiteral("Practice Exam C")));

        // Enabled in every mode.
        startExam("Action1");
        QVERIFY(action("ScoreHistory1")->isEnabled());
        QVERIFY(menu("N11")->isEnabled());
    }

    void retake_bankExam_takesTheWrongItems()
    {
        QPushButton* retakeButton = button("RetakeBtn");
        QVERIFY(retakeButton->isVisible());
        saveShot(form, QStringLiteral("startpage"));
        QCOMPARE(retakeButton->text(), QStringLiteral("Retake &Incorrect"));
        QCOMPARE(menu("N21")->actions().last(), action("RetakeAct"));
        QCOMPARE(retakeButton->y(), button("UserBtn")->y());
        QCOMPARE(retakeButton->x(), button("UserBtn")->x() + 115);

        form->Options.TimerOn = false;
        Driver::startExam(form, "AllQAct", QStringLiteral("Ada"), 90, 3); // eleven items
        answerRight(QStringLiteral("Q1 planning"), 2);
        answerRight(QStringLiteral("Q3 access"), 1);
        Driver::gradeAndView(form);
        form->CloseCurrentExam();

        // The name dialog of the retake: its own caption, no number to choose.
        QString caption;
        bool numberEnabled = true;
        int number = 0;
        Dialogs::setModalHandler([&](QDialog* d) {
            caption = d->windowTitle();
            numberEnabled = Driver::find<QSpinBox>(d, "SpinEdit2")->isEnabled();
            number = Driver::find<QSpinBox>(d, "SpinEdit2")->value();
            Driver::press(d, "BitBtn1");
            return d->result();
        });
        Driver::press(form, "RetakeBtn");
        QCOMPARE(caption, QStringLiteral("Retake Incorrect Items"));
        QVERIFY(!numberEnabled);
        QCOMPARE(number, 9);
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ExamTitle, QStringLiteral("Retake Incorrect Items"));
        QCOMPARE(form->ItemCount, 9);
        QCOMPARE(form->Sheet.size(), 9);
        QCOMPARE(Driver::examNumbers(form), (QList<qint64>{2, 4, 5, 6, 7, 8, 9, 10, 11}));
        QVERIFY(!button("NoteButton")->isHidden());

        // During the retake no other retake can start: not from its menu
        // command, nor from the start page's button, clicked or by its key.
        QVERIFY(!action("RetakeAct")->isEnabled());
        QVERIFY(!retakeButton->isVisible());
        int opened = 0;
        Dialogs::setModalHandler([&opened](QDialog*) {
            ++opened;
            return int(QDialog::Rejected);
        });
        Dialogs::clearLog();
        const QList<qint64> retaken = Driver::examNumbers(form);
        Driver::press(form, "RetakeAct");
        Driver::press(form, "RetakeBtn");
        QTest::keyClick(form, Qt::Key_I, Qt::AltModifier);
        QTest::qWait(300); // a mnemonic clicks after a short delay
        QCOMPARE(opened, 0);
        QCOMPARE(Dialogs::shownMessages(), QStringList());
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ExamTitle, QStringLiteral("Retake Incorrect Items"));
        QCOMPARE(form->ItemCount, 9);
        QCOMPARE(Driver::examNumbers(form), retaken);

        // Retaken and graded: the retake is the latest attempt, and the next
        // retake takes only what is still wrong.
        answerRight(QStringLiteral("Q4 integration"), 4);
        Driver::gradeAndView(form);
        QCOMPARE(attempts().front().examTitle, QStringLiteral("Retake Incorrect Items"));
        QCOMPARE(attempts().front().items, 9);
        form->CloseCurrentExam();
        Driver::acceptNameDialog();
        Driver::press(form, "RetakeAct");
        QCOMPARE(Driver::examNumbers(form), (QList<qint64>{2, 5, 6, 7, 8, 9, 10, 11}));
    }

    void retake_userExam_leavesVanishedItemsOut()
    {
        env->writeUserSet({TestEnv::item(0, 1, QStringLiteral("U1"), QStringLiteral("a")),
                           TestEnv::item(0, 2, QStringLiteral("U2"), QStringLiteral("b")),
                           TestEnv::item(0, 3, QStringLiteral("U3"), QStringLiteral("c"))});
        startExam("UserAct");
        answerRight(QStringLiteral("U2"), 2);
        Driver::gradeAndView(form);
        form->CloseCurrentExam();
        QCOMPARE(ScoreHistory::encodeResults(attempts().front().results).count('U'), 3);

        // U3 (Q_ID 3) is gone from the user set meanwhile.
        env->writeUserSet({TestEnv::item(0, 1, QStringLiteral("U1"), QStringLiteral("a")),
                           TestEnv::item(0, 2, QStringLiteral("U2"), QStringLiteral("b"))});
        Driver::acceptNameDialog();
        Driver::press(form, "RetakeAct");
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(Driver::examNumbers(form), (QList<qint64>{1}));
        QCOMPARE(form->dtCurrentSet->fieldByName(Q_TEXT).asString(), QStringLiteral("U1"));
        QVERIFY(button("NoteButton")->isHidden()); // no notes on the candidate's own items
        QVERIFY(!form->dtQSet->isOpen());
    }

    void retake_withNothingToRetake_saysSoAndChangesNothing()
    {
        Dialogs::setModalHandler([](QDialog*) {
            [] { QFAIL("no dialog may open"); }();
            return int(QDialog::Rejected);
        });
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(form, "RetakeAct");
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral(
                     "Information: There is no graded exam yet, so there is no incorrect item to retake.")});
        QCOMPARE(form->examMode, ExamMode::Idle);

        // An attempt without an incorrect item that still exists.
        HistoryAttempt a;
        a.when = QDateTime::currentDateTime();
        a.results = {{ItemSource::Bank, 1, true}, {ItemSource::Bank, 400, false}};
        QString error;
        QVERIFY(history().append(a, &error));
        Table ces(TableFiles::SessionName, env->userPath(TableFiles::CurrentSet));
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(form, "RetakeBtn");
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral(
                     "Information: The latest graded exam left no incorrect item to retake.")});
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(!form->dtQSet->isOpen());
        QVERIFY(!form->dtCurrentSet->isOpen());
        QVERIFY(Driver::find<QWidget>(form, "Panel4")->isVisible());
    }

    void pageKeys_pageThroughTheItems()
    {
        startExam("Action1"); // two items
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(form->dtCurrentSet->recNo(), 1);
        Driver::find<QWidget>(form, "ScrollBox1")->setFocus(); // the item area would scroll by itself
        QTest::keyClick(form, Qt::Key_PageDown);
        QCOMPARE(form->dtCurrentSet->recNo(), 2);
        QCOMPARE(Driver::find<QLabel>(form, "Label1")->text(), QStringLiteral("Item 2 of 2"));
        QVERIFY(!button("NextButton")->isEnabled());
        QTest::keyClick(form, Qt::Key_PageDown); // at the end: nothing
        QCOMPARE(form->dtCurrentSet->recNo(), 2);
        QTest::keyClick(form, Qt::Key_PageUp);
        QCOMPARE(form->dtCurrentSet->recNo(), 1);
        QTest::keyClick(form, Qt::Key_PageUp);
        QCOMPARE(form->dtCurrentSet->recNo(), 1);
        // The accelerators still work beside the paging keys.
        int reviews = 0;
        Dialogs::setModalHandler([&reviews](QDialog*) {
            ++reviews;
            return int(QDialog::Rejected);
        });
        QTest::keyClick(form, Qt::Key_R, Qt::AltModifier); // "Items &Review"
        QTRY_COMPARE(reviews, 1);                          // a mnemonic clicks after a short delay
        form->CloseCurrentExam();
        QTest::keyClick(form, Qt::Key_PageDown); // no exam: nothing happens
        QCOMPARE(form->examMode, ExamMode::Idle);
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "test_historywindow.moc"
