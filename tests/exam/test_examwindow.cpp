#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/exam/TKZTimeCounter.h"
#include "core/store/DataFolder.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Database.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "ui/exam/ChoiceLabel.h"
#include "ui/exam/ChoiceRadio.h"
#include "ui/exam/ItemView.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ItemText.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <cmath>

using namespace ItemRecord;

// Answers the score window with "View Answers" while it lives.
struct TestScoreWindowAnswer
{
    TestScoreWindowAnswer()
    {
        Dialogs::setModalHandler([](QDialog* d) {
            if (!qobject_cast<TScoreForm*>(d))
                return int(QDialog::Rejected);
            Driver::press(d, "BitBtn1");
            return int(QDialog::Accepted);
        });
    }
};

class TestExamWindow : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;

    Table& ces() { return *form->dtCurrentSet; }
    // The exam window's controls, by their design names.
    template <typename T> T* control(const char* name) { return Driver::find<T>(form, name); }
    template <typename T> T* control(const char* name, int number)
    {
        return Driver::find<T>(form, name, number);
    }
    // A number field of the name dialog.
    static QSpinBox* nameField(const char* name)
    {
        return Driver::find<QSpinBox>(Driver::window<TNameForm>(), name);
    }
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
        const QByteArray action = "Action" + QByteArray::number(exam);
        Driver::startExam(form, action.constData(), QStringLiteral("Ada"), 90, seed);
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
        QVERIFY(control<QWidget>("Panel4")->isVisible());
        QVERIFY(!control<ItemView>("ScrollBox1")->isVisible());
        QVERIFY(!control<QWidget>("Panel2")->isVisible());
        QVERIFY(control<ShadedLabel>("fcLabel1")->isVisible());
        QVERIFY(control<QMenu>("N21")->isEnabled());
        QVERIFY(!control<QAction>("Print1")->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("Velarix 2.0"));
    }

    // What the candidate sees at any window width: the A to E row and the row
    // of the other exam kinds, each one line of evenly spaced buttons, whole
    // inside the window, with its centre within 3 pixels of the window's.
    void startPage_buttonRowsStayCentredAsTheWindowResizes_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("even") << 1000;
        QTest::newRow("design") << 732;
        QTest::newRow("odd") << 901;
        QTest::newRow("wide") << 1280;
    }
    void startPage_buttonRowsStayCentredAsTheWindowResizes()
    {
        QFETCH(int, width);
        form->resize(width, 560);
        QTRY_COMPARE(form->width(), width);
        const auto checkRow = [this](const QList<QWidget*>& row) {
            QRect span;
            for (int i = 0; i < row.size(); ++i) {
                QVERIFY(row[i]->isVisible());
                const QRect r(row[i]->mapTo(form, QPoint(0, 0)), row[i]->size());
                QVERIFY2(form->rect().contains(r), qPrintable(row[i]->objectName()));
                if (i > 0) {
                    QCOMPARE(r.top(), span.top());
                    QCOMPARE(r.left() - span.right() - 1, 6); // one gap, no overlap
                }
                span = span.isNull() ? r : span.united(r);
            }
            const int centre = span.left() + span.right() + 1; // twice the row's centre
            QVERIFY2(qAbs(centre - form->width()) <= 2 * 3,
                     qPrintable(QStringLiteral("row %1..%2 in a window %3 wide")
                                    .arg(span.left())
                                    .arg(span.right())
                                    .arg(form->width())));
        };
        QList<QWidget*> letters;
        for (int k = 1; k <= 5; ++k)
            letters << control<ShadedButton>("fcShapeBtn", k);
        checkRow(letters);
        checkRow({control<ShadedButton>("AllQBtn"), control<ShadedButton>("RandomBtn"),
                  control<ShadedButton>("UserBtn"), control<ShadedButton>("RetakeBtn"),
                  control<ShadedButton>("SmartBtn")});
        QVERIFY(control<ShadedButton>("fcShapeBtn", 1)->mapTo(form, QPoint(0, 0)).y() <
                control<ShadedButton>("AllQBtn")->mapTo(form, QPoint(0, 0)).y());
    }

    void practiceExam_startsOnItsFirstItem()
    {
        startPracticeExam(1);
        QCOMPARE(form->ItemCount, 2);
        QCOMPARE(form->FirstRecNo, 1);
        QCOMPARE(form->CandidateName, QStringLiteral("Ada"));
        QCOMPARE(control<QLabel>("Label3")->text(), QStringLiteral("Practice Exam A"));
        QCOMPARE(control<ShadedLabel>("Label1")->text(), QStringLiteral("Item 1 of 2"));
        QVERIFY(control<QLabel>("Label2")->text().startsWith(QStringLiteral("Item ID: ")));
        QVERIFY(!control<QPushButton>("PrevButton")->isEnabled());
        QVERIFY(control<QPushButton>("NextButton")->isEnabled());
        QVERIFY(control<ItemView>("ScrollBox1")->isVisible());
        QVERIFY(!control<QWidget>("Panel4")->isVisible());
        QVERIFY(!control<QMenu>("N21")->isEnabled());
        QVERIFY(control<QAction>("Print1")->isEnabled() && control<QAction>("Print2")->isEnabled());
        QVERIFY(control<ShadedLabel>("TimeLabel")->isVisible());
        QCOMPARE(control<ShadedLabel>("TimeLabel")->text(), QStringLiteral("1:30:00"));
        QVERIFY(control<TKZTimeCounter>("Timer1")->Enabled());
        QVERIFY(!control<ItemText>("ExpText")->isVisible());
        QCOMPARE(examItemSet(), (QSet<qint64>{1, 2}));
        QTest::mouseClick(control<QPushButton>("NextButton"), Qt::LeftButton);
        QCOMPARE(control<ShadedLabel>("Label1")->text(), QStringLiteral("Item 2 of 2"));
        QVERIFY(control<QPushButton>("PrevButton")->isEnabled());
        QVERIFY(!control<QPushButton>("NextButton")->isEnabled());
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
        Driver::pickChoice(form, 1);
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
        Driver::press(form, "Action1");
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(control<QWidget>("Panel4")->isVisible());
        QVERIFY(!form->dtQSet->isOpen());
        ces().open();
        QCOMPARE(examItems(), before);
    }

    void everyExamKind_namesItsDialogAndItsExam_data()
    {
        QTest::addColumn<int>("kind"); // 0..4: A..E, then All Questions, Random, User
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("items");
        for (int i = 0; i < 5; ++i) {
            const QString letter(QChar('A' + i));
            QTest::addRow("practice %c", char('A' + i))
                << i << "Begin Practice Exam " + letter << "Practice Exam " + letter << 2;
        }
        QTest::newRow("all questions") << 5 << "Take All Questions"
                                       << "All Questions" << 11;
        QTest::newRow("random") << 6 << "Random Exam"
                                << "Random Exam" << 11;
        QTest::newRow("user") << 7 << "User Exam"
                              << "User Exam" << 1;
    }
    void everyExamKind_namesItsDialogAndItsExam()
    {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, title);
        QFETCH(int, items);
        env->writeUserSet({TestEnv::item(1, 2, QStringLiteral("Own"), QStringLiteral("a"))});
        // Through the start page's buttons, which run the menu's actions.
        QPushButton* buttons[] = {
            control<ShadedButton>("fcShapeBtn", 1), control<ShadedButton>("fcShapeBtn", 2),
            control<ShadedButton>("fcShapeBtn", 3), control<ShadedButton>("fcShapeBtn", 4),
            control<ShadedButton>("fcShapeBtn", 5), control<ShadedButton>("AllQBtn"),
            control<ShadedButton>("RandomBtn"),     control<ShadedButton>("UserBtn")};
        QString shownCaption;
        Dialogs::setModalHandler([&shownCaption](QDialog* dialog) {
            shownCaption = dialog->windowTitle();
            Driver::press(Driver::window<TNameForm>(), "BitBtn1");
            return Driver::window<TNameForm>()->result();
        });
        QTest::mouseClick(buttons[kind], Qt::LeftButton);
        QCOMPARE(shownCaption, caption);
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(control<QLabel>("Label3")->text(), title);
        QCOMPARE(form->ExamTitle, title);
        QCOMPARE(form->ItemCount, items);
    }

    void allQuestionsAndRandomExams_neverTakeRetiredItems()
    {
        Driver::startExam(form, "AllQAct", QStringLiteral("Tester"), 90, 77);
        QCOMPARE(form->ItemCount, 11);
        QVERIFY(!examItems().contains(12));
        QCOMPARE(control<QLabel>("Label3")->text(), QStringLiteral("All Questions"));
        form->CloseCurrentExam();

        // The number field offers every available item; only the random exam enables it.
        form->PrepareNameDialog(false);
        QCOMPARE(nameField("SpinEdit2")->value(), 11);
        QVERIFY(!nameField("SpinEdit2")->isEnabled());
        TestEnv::acceptNameDialog(QStringLiteral("Ada"), 30, 11);
        Driver::press(form, "RandAct");
        QCOMPARE(Driver::window<TNameForm>()->windowTitle(), QStringLiteral("Random Exam"));
        QVERIFY(nameField("SpinEdit2")->isEnabled());
        QCOMPARE(form->ItemCount, 11);
        QCOMPARE(examItemSet().size(), 11);
        form->CloseCurrentExam();
        TestEnv::acceptNameDialog(QStringLiteral("Ada"), 30, 1);
        Driver::press(form, "RandAct");
        QCOMPARE(form->ItemCount, 1);
        QVERIFY(!examItems().contains(12));
        QCOMPARE(control<ShadedLabel>("Label1")->text(), QStringLiteral("Item 1 of 1"));
        QVERIFY(!control<QPushButton>("PrevButton")->isEnabled() &&
                !control<QPushButton>("NextButton")->isEnabled());
    }

    void nameDialog_typedNumbersGoToTheNearestBound_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("timeLimit");
        QTest::addColumn<int>("itemCount");
        QTest::newRow("both above") << QStringLiteral("700") << QStringLiteral("9999") << 600 << 11;
        QTest::newRow("below") << QStringLiteral("0") << QStringLiteral("-4") << 1 << 1;
        QTest::newRow("not a number") << QStringLiteral("x") << QString() << 1 << 1;
        QTest::newRow("inside") << QStringLiteral("45") << QStringLiteral("7") << 45 << 7;
    }
    void nameDialog_typedNumbersGoToTheNearestBound()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, count);
        QFETCH(int, timeLimit);
        QFETCH(int, itemCount);
        form->SeedSource = [] { return 5u; };
        // Typed into the real fields of the shown dialog, then OK.
        Dialogs::setModalHandler([&](QDialog* dialog) {
            if (!qobject_cast<TNameForm*>(dialog))
                return int(QDialog::Rejected);
            Driver::window<TNameForm>()->show();
            for (auto [field, text] :
                 {std::pair{nameField("SpinEdit1"), minutes}, {nameField("SpinEdit2"), count}}) {
                field->setFocus();
                field->selectAll();
                QTest::keyClick(field, Qt::Key_Delete);
                QTest::keyClicks(field, text);
            }
            QTest::mouseClick(Driver::find<QPushButton>(Driver::window<TNameForm>(), "BitBtn1"),
                              Qt::LeftButton);
            Driver::window<TNameForm>()->hide();
            return Driver::window<TNameForm>()->result();
        });
        Driver::press(form, "RandAct");
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(qRound(form->Clock.TimeLimit * 1440), timeLimit);
        QCOMPARE(nameField("SpinEdit1")->value(), timeLimit);
        QCOMPARE(form->ItemCount, itemCount);
    }

    void bankWithAGapInItsKeys_stillGetsTheRightItems()
    {
        {
            Table bank(TableFiles::SessionName, TableFiles::Bank);
            bank.open();
            bank.setRecNo(2); // Q_ID 2 of practice exam A
            bank.deleteRecord();
        }
        Driver::startExam(form, "AllQAct");
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
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(form, "Action4");
        QCOMPARE(form->examMode, ExamMode::Idle);
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(Dialogs::shownMessages().first().startsWith(QStringLiteral("Information: ")));
        QVERIFY(control<QWidget>("Panel4")->isVisible());

        // Nothing at all to draw from: neither a random exam nor all questions.
        env->writeBank({TestEnv::item(0, 1, QStringLiteral("retired"), QStringLiteral("a"))});
        for (QAction* action : {control<QAction>("RandAct"), control<QAction>("AllQAct")}) {
            Dialogs::clearLog();
            Dialogs::queueAnswer(Dialogs::Ok);
            action->trigger();
            QCOMPARE(form->examMode, ExamMode::Idle);
            QCOMPARE(Dialogs::shownMessages().size(), 1);
            QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("no questions available")));
        }
    }

    void userExam_copiesTheUserSet()
    {
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(form, "UserAct");
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Information: User defined question set is empty!")});
        QVERIFY(!form->dtUserSet->isOpen());

        env->writeUserSet({TestEnv::item(0, 3, QStringLiteral("Own question"), QStringLiteral("b"))});
        Driver::startExam(form, "UserAct");
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ItemCount, 1);
        QCOMPARE(ces().fieldByName(Q_OR_NUMBER).asInteger(), 1);
        QCOMPARE(ces().fieldByName(Q_TEXT).asString(), QStringLiteral("Own question"));
        QVERIFY(ces().fieldByName(Q_EXAM_N).isNull());
        QVERIFY(ces().fieldByName(Q_SIM).isNull());
        QVERIFY(ces().fieldByName(PICT1).isNull() && ces().fieldByName(PICT2).isNull());
        QVERIFY(!control<QPushButton>("ExhBtnA")->isVisible() &&
                !control<QPushButton>("ExhBtnB")->isVisible());
        QVERIFY(!control<QPushButton>("NoteButton")->isVisible());
        QVERIFY(!form->dtQSet->isOpen());
        form->CloseCurrentExam();
        startPracticeExam(1);
        QVERIFY(control<QPushButton>("NoteButton")->isVisible());
    }

    void singleResponse_textClicksSelectLikeTheButtons()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q1 planning")); // correct: b
        QVERIFY(control<ChoiceRadio>("RadioButton", 2)->isVisible());
        QVERIFY(!control<QCheckBox>("CheckBox", 2)->isVisible());
        const int r = ces().recNo();
        Driver::pickChoice(form, 2);
        QVERIFY(control<ChoiceRadio>("RadioButton", 2)->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 1, 0, 0, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Correct, 1);
        QTest::mouseClick(control<ChoiceLabel>("ALabel", 4), Qt::LeftButton);
        QVERIFY(control<ChoiceRadio>("RadioButton", 4)->isChecked());
        QVERIFY(!control<ChoiceRadio>("RadioButton", 2)->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 0, 0, 1, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Correct, 0);
        // A click on the selected button keeps it selected.
        QTest::mouseClick(control<ChoiceRadio>("RadioButton", 4), Qt::LeftButton);
        QVERIFY(control<ChoiceRadio>("RadioButton", 4)->isChecked());
        // Away and back: the same selection, flags unchanged.
        QVERIFY(!control<QCheckBox>("MarkBox")->isChecked());
        QTest::mouseClick(control<QCheckBox>("MarkBox"), Qt::LeftButton);
        QCOMPARE(form->Sheet.entry(r).Marked, 1);
        r == 1 ? QTest::mouseClick(control<QPushButton>("NextButton"), Qt::LeftButton)
               : QTest::mouseClick(control<QPushButton>("PrevButton"), Qt::LeftButton);
        QVERIFY(!control<QCheckBox>("MarkBox")->isChecked() || form->Sheet.entry(ces().recNo()).Marked);
        r == 1 ? QTest::mouseClick(control<QPushButton>("PrevButton"), Qt::LeftButton)
               : QTest::mouseClick(control<QPushButton>("NextButton"), Qt::LeftButton);
        QCOMPARE(ces().recNo(), r);
        QVERIFY(control<ChoiceRadio>("RadioButton", 4)->isChecked());
        QVERIFY(control<QCheckBox>("MarkBox")->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 0, 0, 1, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Marked, 1);
        QTest::mouseClick(control<QCheckBox>("MarkBox"), Qt::LeftButton);
        QCOMPARE(form->Sheet.entry(r).Marked, 0);
    }

    void multipleResponse_toggles()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q2 install")); // correct: a and c
        const int r = ces().recNo();
        QVERIFY(control<QCheckBox>("CheckBox", 1)->isVisible());
        QVERIFY(!control<ChoiceRadio>("RadioButton", 1)->isVisible());
        Driver::pickChoice(form, 3);
        QVERIFY(control<QCheckBox>("CheckBox", 3)->isChecked());
        Driver::pickChoice(form, 1);
        QCOMPARE(form->Sheet.entry(r).Correct, 1);
        Driver::pickChoice(form, 3);
        QVERIFY(!control<QCheckBox>("CheckBox", 3)->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
        QCOMPARE(form->Sheet.entry(r).Correct, 0);
        Driver::pickChoice(form, 1);
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{}));
        QCOMPARE(form->Sheet.entry(r).Correct, 0);
    }

    void reviewing_undoesEveryChange()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q1 planning"));
        Driver::pickChoice(form, 1);
        gotoItem(QStringLiteral("Q2 install"));
        Driver::pickChoice(form, 1);
        control<TKZTimeCounter>("Timer1")->setEnabled(false);
        form->examMode = ExamMode::Reviewing;
        form->ReviewControls();
        gotoItem(QStringLiteral("Q1 planning"));
        const int r1 = ces().recNo();
        QVERIFY(control<ItemText>("ExpText")->isVisible());
        QVERIFY(control<ShadedLabel>("CorrectLabel")->isVisible());
        QCOMPARE(control<ShadedLabel>("CorrectLabel")->text(), QStringLiteral("Incorrect"));
        QCOMPARE(control<ChoiceLabel>("ALabel", 2)->palette().color(QPalette::Window), QColor(0, 255, 255));
        QCOMPARE(control<ChoiceLabel>("ALabel", 1)->palette().color(QPalette::Window), QColor(Qt::white));
        Driver::pickChoice(form, 3);
        QTest::mouseClick(control<ChoiceRadio>("RadioButton", 3), Qt::LeftButton);
        QVERIFY(control<ChoiceRadio>("RadioButton", 1)->isChecked());
        QVERIFY(!control<ChoiceRadio>("RadioButton", 3)->isChecked());
        QCOMPARE(form->Sheet.entry(r1).Choice, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
        gotoItem(QStringLiteral("Q2 install"));
        const int r2 = ces().recNo();
        Driver::pickChoice(form, 1);
        Driver::pickChoice(form, 2);
        QVERIFY(control<QCheckBox>("CheckBox", 1)->isChecked());
        QVERIFY(!control<QCheckBox>("CheckBox", 2)->isChecked());
        QCOMPARE(form->Sheet.entry(r2).Choice, (std::array<std::uint8_t, 6>{1, 0, 0, 0, 0, 0}));
        QVERIFY(!control<QCheckBox>("MarkBox")->isVisible());
        QVERIFY(!control<QPushButton>("LearnButton")->isEnabled());
    }

    void learnNow_showsTheAnswerUntilTheNextMove()
    {
        startPracticeExam(1);
        gotoItem(QStringLiteral("Q2 install")); // a and c
        QTest::mouseClick(control<QCheckBox>("CheckBox", 2), Qt::LeftButton);
        QTest::mouseClick(control<QPushButton>("LearnButton"), Qt::LeftButton);
        QVERIFY(control<ItemText>("ExpText")->isVisible());
        QCOMPARE(control<ChoiceLabel>("ALabel", 1)->palette().color(QPalette::Window), QColor(0, 255, 255));
        QCOMPARE(control<ChoiceLabel>("ALabel", 2)->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(control<ChoiceLabel>("ALabel", 3)->palette().color(QPalette::Window), QColor(0, 255, 255));
        QVERIFY(control<QCheckBox>("CheckBox", 2)->isChecked()); // the selection stays
        QVERIFY(!control<ShadedLabel>("CorrectLabel")->isVisible());
        const int r = ces().recNo();
        r == 1 ? QTest::mouseClick(control<QPushButton>("NextButton"), Qt::LeftButton)
               : QTest::mouseClick(control<QPushButton>("PrevButton"), Qt::LeftButton);
        r == 1 ? QTest::mouseClick(control<QPushButton>("PrevButton"), Qt::LeftButton)
               : QTest::mouseClick(control<QPushButton>("NextButton"), Qt::LeftButton);
        QVERIFY(!control<ItemText>("ExpText")->isVisible());
        QCOMPARE(control<ChoiceLabel>("ALabel", 1)->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void layout_onRealWidgets()
    {
        QList<TestItem> bank = TestEnv::sampleBank();
        bank[6].question = QStringLiteral("Two choices only");
        env->writeBank(bank);
        startPracticeExam(4);
        gotoItem(QStringLiteral("Two choices only"));
        QVERIFY(control<ChoiceLabel>("ALabel", 2)->isVisible());
        QVERIFY(!control<ChoiceLabel>("ALabel", 3)->isVisible());
        QVERIFY(!control<ChoiceRadio>("RadioButton", 3)->isVisible());
        QCOMPARE(control<QFrame>("Shape1")->y(), control<QFrame>("QPanel")->height());
        QCOMPARE(control<QPushButton>("ExhBtnA")->y(), control<QFrame>("QPanel")->height() + 2);
        QCOMPARE(control<ChoiceLabel>("ALabel", 1)->y(), control<QFrame>("QPanel")->height() + 42);
        QCOMPARE(control<ChoiceRadio>("RadioButton", 1)->y(), control<ChoiceLabel>("ALabel", 1)->y());
        QCOMPARE(control<ItemText>("ExpText")->y(),
                 control<ChoiceLabel>("ALabel", 2)->y() + control<ChoiceLabel>("ALabel", 2)->height() + 40);
        const int W = control<QWidget>("Panel3")->width() - 2;
        QCOMPARE(control<ChoiceLabel>("ALabel", 1)->width(), W - 110);
        QCOMPARE(control<ItemText>("ExpText")->width(), W - 38);
        // A narrower window re-wraps and keeps the answer.
        Driver::pickChoice(form, 2);
        form->resize(760, 560);
        QTest::qWait(20);
        QCOMPARE(control<ChoiceLabel>("ALabel", 1)->width(), control<QWidget>("Panel3")->width() - 2 - 110);
        QVERIFY(control<ChoiceRadio>("RadioButton", 2)->isChecked());
        QCOMPARE(control<ItemView>("ScrollBox1")->verticalScrollBar()->value(), 0);
    }

    void keyboard_itemAcceleratorsWinDuringAnExam()
    {
        QList<TestItem> bank = TestEnv::sampleBank();
        bank[0] = TestEnv::item(1, 1, QStringLiteral("Six choices"), QStringLiteral("f"), false, 6);
        env->writeBank(bank);
        startPracticeExam(1);
        gotoItem(QStringLiteral("Six choices"));
        const int r = ces().recNo();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTest::keyClick(form, Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(control<QCheckBox>("MarkBox")->isChecked());
        QCOMPARE(form->Sheet.entry(r).Marked, 1);
        QTest::keyClick(form, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(control<ChoiceRadio>("RadioButton", 6)->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 0, 0, 0, 0, 1}));
        QVERIFY(!control<QMenu>("N11")->isVisible());
        // F10 opens the File menu.
        QTest::keyClick(form, Qt::Key_F10);
        QTRY_VERIFY(control<QMenu>("N11")->isVisible());
        control<QMenu>("N11")->close();
        // With the exam closed the menus have their accelerators again.
        form->CloseCurrentExam();
        QCOMPARE(control<QMenu>("N11")->title(), QStringLiteral("&File"));
        QCOMPARE(control<QMenu>("N21")->title(), QStringLiteral("Exa&ms"));
    }

    void runningExam_startPageButtonsStartNoSecondExam()
    {
        startPracticeExam(1);
        const QString first = ces().fieldByName(ItemRecord::Q_TEXT).asString();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        Dialogs::clearLog();
        // Keys and clicks that reach a start-page button while it is hidden.
        QTest::keyClick(form, Qt::Key_Return);
        QTest::keyClick(form, Qt::Key_Space);
        for (QAction* action : control<QMenu>("N21")->actions())
            action->trigger();
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(ces().fieldByName(ItemRecord::Q_TEXT).asString(), first);
        QVERIFY(Dialogs::shownMessages().isEmpty());
        form->CloseCurrentExam();
        for (QAction* action : control<QMenu>("N21")->actions())
            QVERIFY(action->isEnabled());
    }

    void singleResponse_radioButtonsToAScreenReaderAndClearable()
    {
        startPracticeExam(4); // two single-response items
        QAccessibleInterface* radio =
            QAccessible::queryAccessibleInterface(control<ChoiceRadio>("RadioButton", 1));
        QVERIFY(radio);
        QCOMPARE(radio->role(), QAccessible::RadioButton);
        QVERIFY(radio->text(QAccessible::Name).startsWith(QStringLiteral("a. Choice a of")));
        Driver::pickChoice(form, 2);
        QVERIFY(control<ChoiceRadio>("RadioButton", 2)->isChecked());
        QTest::mouseClick(control<QPushButton>("NextButton"),
                          Qt::LeftButton); // not answered: no button checked
        for (int k = 0; k < 6; ++k)
            QVERIFY(!control<ChoiceRadio>("RadioButton", k + 1)->isChecked());
        QTest::mouseClick(control<QPushButton>("PrevButton"), Qt::LeftButton);
        QVERIFY(control<ChoiceRadio>("RadioButton", 2)->isChecked());
        QCOMPARE(QAccessible::queryAccessibleInterface(control<QCheckBox>("CheckBox", 1))->role(),
                 QAccessible::CheckBox);
    }

    static double luminance(const QColor& c)
    {
        auto channel = [](double v) {
            v /= 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
    }
    static double contrast(const QColor& a, const QColor& b)
    {
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    }

    void look_blueLineAndReadableHeader()
    {
        startPracticeExam(1);
        const QImage item = control<QWidget>("ItemArea")->grab().toImage();
        const int y = control<QFrame>("Shape1")->y();
        QCOMPARE(item.pixelColor(item.width() / 2, y), QColor(Qt::blue));
        QCOMPARE(item.pixelColor(item.width() / 2, y + 1), QColor(Qt::white));

        Dialogs::queueAnswer(Dialogs::Ok);
        TestScoreWindowAnswer viewAnswers;
        Driver::press(form, "GradeButton");
        QCOMPARE(form->examMode, ExamMode::Reviewing);
        const QColor strip = control<QWidget>("Panel1")->palette().color(QPalette::Window);
        QVERIFY(control<QLabel>("ReviewLabel")->isVisible());
        QCOMPARE(control<QLabel>("ReviewLabel")->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QVERIFY2(contrast(strip, QColor(0, 0, 255)) >= 4.5,
                 qPrintable(QString::number(contrast(strip, Qt::blue))));
        QVERIFY(contrast(strip, control<QLabel>("ReviewLabel")->palette().color(QPalette::WindowText)) >=
                4.5);
        for (QLabel* l :
             {static_cast<QLabel*>(control<ShadedLabel>("Label1")), control<QLabel>("Label2"),
              control<QLabel>("Label3"), static_cast<QLabel*>(control<ShadedLabel>("TimeLabel"))}) {
            auto* shaded = qobject_cast<ShadedLabel*>(l);
            const QColor text = shaded ? shaded->textColor() : l->palette().color(QPalette::WindowText);
            QVERIFY2(contrast(strip, text) >= 4.5, qPrintable(l->objectName() + text.name()));
        }
        const QByteArray shots = qgetenv("VELARIX_SHOTS");
        if (!shots.isEmpty())
            form->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/review.png"));
    }

    void clock_countsDownAndAsksAtTheEnd()
    {
        double now = 46000.25;
        Clock::setSource([&now] { return now; });
        startPracticeExam(1);
        QCOMPARE(control<ShadedLabel>("TimeLabel")->text(), QStringLiteral("1:30:00"));
        now += 1 / 86400.0;
        // The timer's own tick, once; the later ones are called at once.
        QTRY_COMPARE_WITH_TIMEOUT(control<ShadedLabel>("TimeLabel")->text(), QStringLiteral("1:29:59"), 3000);
        now += (61 * 60 - 1) / 86400.0;
        Driver::tick(form, "Timer1");
        QCOMPARE(control<ShadedLabel>("TimeLabel")->text(), QStringLiteral("0:29:00"));
        // A late tick past the limit still ends the time; OK goes on untimed.
        now += (29 * 60 + 3) / 86400.0;
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::tick(form, "Timer1");
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral(
                     "Information: Your time has expired.\nDo you want continue the exam anyway?")});
        QVERIFY(!control<TKZTimeCounter>("Timer1")->Enabled());
        QVERIFY(!control<ShadedLabel>("TimeLabel")->isVisible());
        QCOMPARE(form->examMode, ExamMode::Testing);

        // No, then Cancel at the grading question: the exam goes on, without a clock.
        form->CloseCurrentExam();
        startPracticeExam(1);
        now += 90 / 1440.0;
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::No);
        Dialogs::queueAnswer(Dialogs::Cancel);
        Driver::tick(form, "Timer1");
        QCOMPARE(Dialogs::shownMessages().size(), 2);
        QVERIFY(Dialogs::shownMessages().at(1).startsWith(
            QStringLiteral("Confirm: This will end your practice exam.")));
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(!control<TKZTimeCounter>("Timer1")->Enabled());
        QVERIFY(control<ShadedLabel>("TimeLabel")->isVisible());
        QCOMPARE(control<ShadedLabel>("TimeLabel")->text(), QStringLiteral("0:00:00"));
        QCOMPARE(control<QPushButton>("GradeButton")->text(), QStringLiteral("&Grade Now"));

        // No, then OK: the exam is graded.
        form->CloseCurrentExam();
        startPracticeExam(1);
        now += 90 / 1440.0;
        Dialogs::queueAnswer(Dialogs::No);
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::tick(form, "Timer1");
        QCOMPARE(control<QPushButton>("GradeButton")->text(), QStringLiteral("Score Report"));
        QVERIFY(!control<ShadedLabel>("TimeLabel")->isVisible());
    }

    // What the window system sends when its close button is pressed.
    static void closeByTitleBar(QWidget* window)
    {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        qApp->notify(window, &close); // sendEvent() would clear the spontaneous flag
    }

    // The real box: its close button goes on untimed, Esc is No.
    void clock_expiryBoxClosedByItsCloseButtonGoesOn()
    {
        double now = 46000.25;
        Clock::setSource([&now] { return now; });
        startPracticeExam(1);
        now += 90 / 1440.0;
        Dialogs::setTestMode(false);
        QString seen;
        auto closeTheBox = [&seen](bool byEsc) {
            QTimer::singleShot(0, [&seen, byEsc] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                seen = box->text();
                if (byEsc)
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    closeByTitleBar(box);
            });
        };
        closeTheBox(false);
        Driver::tick(form, "Timer1");
        QCOMPARE(seen, QStringLiteral("Your time has expired.\nDo you want continue the exam anyway?"));
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(!control<TKZTimeCounter>("Timer1")->Enabled());
        QVERIFY(!control<ShadedLabel>("TimeLabel")->isVisible());
        QCOMPARE(control<QPushButton>("GradeButton")->text(), QStringLiteral("&Grade Now"));

        // Esc: No, and the grading question follows (answered by Esc: Cancel).
        form->StartClock();
        now += 90 / 1440.0;
        closeTheBox(true);
        QTimer::singleShot(50, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = box->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        Driver::tick(form, "Timer1");
        Dialogs::setTestMode(true);
        QVERIFY(seen.startsWith(QStringLiteral("This will end your practice exam.")));
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(control<ShadedLabel>("TimeLabel")->isVisible());

        // In test mode the close button is queued as CloseBox.
        form->StartClock();
        now += 90 / 1440.0;
        Dialogs::queueAnswer(Dialogs::CloseBox);
        Driver::tick(form, "Timer1");
        QCOMPARE(Dialogs::pendingAnswers(), 0);
        QVERIFY(!control<ShadedLabel>("TimeLabel")->isVisible());
        QCOMPARE(control<QPushButton>("GradeButton")->text(), QStringLiteral("&Grade Now"));
    }

    void clock_offWhenTimerIsOff()
    {
        form->Options.TimerOn = false;
        startPracticeExam(1);
        QVERIFY(!control<ShadedLabel>("TimeLabel")->isVisible());
        QVERIFY(!control<TKZTimeCounter>("Timer1")->Enabled());
        // Switching it on during the exam starts at the full time.
        double now = 46000.0;
        Clock::setSource([&now] { return now; });
        form->Options.TimerOn = true;
        form->StartClock();
        QVERIFY(control<ShadedLabel>("TimeLabel")->isVisible());
        now += 5 / 86400.0;
        Driver::tick(form, "Timer1");
        QCOMPARE(control<ShadedLabel>("TimeLabel")->text(), QStringLiteral("1:29:55"));
    }

    void exitExam_asksAndBothAnswersHold()
    {
        startPracticeExam(1);
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::No);
        Driver::press(form, "Button3");
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Confirm: Are you sure you wish to end this exam?")});
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(control<TKZTimeCounter>("Timer1")->Enabled());
        Dialogs::queueAnswer(Dialogs::Yes);
        Driver::press(form, "Button3");
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(!ces().isOpen() && !form->dtQSet->isOpen());
        QVERIFY(!form->dtQSet->filtered());
        QVERIFY(control<QWidget>("Panel4")->isVisible());
        QVERIFY(control<QMenu>("N21")->isEnabled());
        QVERIFY(!control<QAction>("Print1")->isEnabled() && !control<QAction>("Print2")->isEnabled());
        QVERIFY(!control<TKZTimeCounter>("Timer1")->Enabled());
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
        Driver::press(form, "Button3");
        QCOMPARE(form->examMode, ExamMode::Idle);
        {
            // The second item of exam B gets a section that cannot be
            // copied, so assembly fails after it has begun writing.
            Database db;
            db.open(env->path(TableFiles::Bank), Session::find(TableFiles::SessionName)->rawKey());
            db.exec(QStringLiteral("UPDATE items SET Q_SECT = 'x' WHERE Q_ID = 4"));
        }
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::startExam(form, "Action2", QStringLiteral("Tester"), 90, 7);
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(form->examMode, ExamMode::Idle);
        form->CloseCurrentExam();
        Table t(TableFiles::SessionName, env->userPath(TableFiles::CurrentSet));
        t.open();
        QSet<qint64> kept;
        for (t.first(); !t.eof(); t.next())
            kept << t.fieldByName(Q_OR_NUMBER).asInteger();
        QCOMPARE(kept, previous);
    }

    void brokenCurrentSet_isMadeAnewAndKeptAside_data()
    {
        QTest::addColumn<QByteArray>("contents"); // null: no file
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("garbage") << QByteArray(8192, 'z');
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("cut") << QByteArray("cut");
    }
    void brokenCurrentSet_isMadeAnewAndKeptAside()
    {
        QFETCH(QByteArray, contents);
        const QString path = env->userPath(TableFiles::CurrentSet);
        QFile file(path);
        if (contents == "cut") {
            QVERIFY(file.resize(file.size() - 100));
            QVERIFY(file.open(QIODevice::ReadOnly));
            contents = file.readAll();
            file.close();
        } else {
            QVERIFY(file.remove());
            if (!contents.isNull()) {
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(contents);
                file.close();
            }
        }
        Dialogs::clearLog();
        startPracticeExam(1);
        QVERIFY2(Dialogs::shownMessages().isEmpty(), qPrintable(Dialogs::shownMessages().join('\n')));
        QCOMPARE(form->ItemCount, 2);
        QCOMPARE(examItemSet(), (QSet<qint64>{1, 2}));
        QFile kept(path + QStringLiteral(".damaged"));
        QCOMPARE(kept.exists(), !contents.isNull());
        if (!contents.isNull()) {
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), contents);
        }
    }

    void unwritableDataFolder_isNamedBeforeAnExam()
    {
        // /proc takes no new folder, not even from the superuser.
        QVERIFY(!DataFolder::writeProblem(QStringLiteral("/proc/velarix")).isEmpty());
        QVERIFY(DataFolder::notWritableText(QStringLiteral("/opt/x")).contains(QStringLiteral("/opt/x")));
        QCOMPARE(DataFolder::writeProblem(env->userDir()), QString());
        QCOMPARE(
            QDir(env->userDir()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral("write-check")),
            QStringList());

        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", "/proc");
        const QString expected = QStringLiteral("Error: ") + DataFolder::notWritableText(DataFolder::user());
        QVERIFY(expected.contains(QStringLiteral("/proc/")));
        for (QAction* action : {control<QAction>("Action1"), control<QAction>("AllQAct"),
                                control<QAction>("RandAct"), control<QAction>("UserAct")}) {
            Dialogs::clearLog();
            Dialogs::queueAnswer(Dialogs::Ok);
            TestEnv::acceptNameDialog();
            action->trigger();
            QCOMPARE(Dialogs::shownMessages(), QStringList{expected});
            QCOMPARE(form->examMode, ExamMode::Idle);
            QVERIFY(control<QWidget>("Panel4")->isVisible());
            QVERIFY(!form->dtQSet->isOpen() && !ces().isOpen() && !form->dtUserSet->isOpen());
        }
        qputenv("XDG_DATA_HOME", dataHome);
        startPracticeExam(1);
    }

    void errorInAHandler_showsTheErrorBoxAndTheWindowGoesOn()
    {
        QFile::remove(env->path(TableFiles::Bank));
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(form, "Action1");
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("velarix2.DAT")));
        QCOMPARE(form->examMode, ExamMode::Idle);
        QVERIFY(control<QWidget>("Panel4")->isVisible());
    }
};

QTEST_MAIN(TestExamWindow)
#include "test_examwindow.moc"
