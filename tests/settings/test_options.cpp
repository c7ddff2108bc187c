// The Options dialog: what OK applies and stores, what the close box
// discards, the fonts list, the calculator path and the time field.
#include "TestEnv.h"
#include "ui/exam/ChoiceLabel.h"
#include "core/exam/Clock.h"
#include "core/exam/TKZTimeCounter.h"
#include "ui/exam/TTestForm.h"
#include "ui/exam/TddgRunButton.h"
#include "ui/settings/ClampingSpinBox.h"
#include "ui/settings/RadioGroup.h"
#include "ui/settings/TOptionsForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "SettingsTestFiles.h"

using namespace SettingsTestFiles;

namespace {

// Opens the dialog from the exam window's menu command; `act` works in the
// shown dialog, which then closes with OK or with its close box.
int runOptions(TTestForm* f, const std::function<void(TOptionsForm*)>& act, bool ok)
{
    Dialogs::setModalHandler([act, ok](QDialog* d) {
        if (!qobject_cast<TOptionsForm*>(d))
            return int(QDialog::Rejected);
        d->show();
        act(Driver::window<TOptionsForm>());
        if (ok)
            Driver::window<TOptionsForm>()->BitBtn1->click();
        else
            d->close();
        d->hide();
        return d->result();
    });
    f->Options1->trigger();
    return Driver::window<TOptionsForm>()->result();
}

} // namespace

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::setSource({}); }
    void okWithoutChanges_storesAllTwenty();
    void closeBox_discardsAllButFonts();
    void ok_appliesChangesAndStores();
    void timerOffAndOnDuringExam_restartsAtFullTime();
    void ok_refusedPath_keptAndStored_buttonKeepsProgram_data();
    void ok_refusedPath_keptAndStored_buttonKeepsProgram();
    void timeField_data();
    void timeField();
    void missingCalculatorAtStartUp_offersDoNotShow();
    void browse_putsChosenPath();
    void fontsList_exampleAndChangeFont();
    void onlyAnswersItalic_storesOnlyAnswersItalic();
    void colourOfEachFont_chosenStoredAndLoaded();
};

void TestOptions::onlyAnswersItalic_storesOnlyAnswersItalic()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    runOptions(
        f,
        [](TOptionsForm* d) {
            d->ListBox1->setCurrentRow(1); // Answers
            QFont italic = d->Panel1->font();
            italic.setItalic(true);
            italic.setUnderline(true); // for the run only
            Dialogs::queueFont(italic);
            d->BitBtn3->click();
        },
        true);
    QVERIFY(f->AnswersFont().italic());
    QVERIFY(!f->QuestionFont().italic() && !f->ExplanationFont().italic());
    QVERIFY(!f->QText->font().underline() && !f->ExpText->font().underline());
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("AFontItalic"), QString("1"));
    QCOMPARE(values.value("QFontItalic"), QString("0"));
    QCOMPARE(values.value("EXPFontItalic"), QString("0"));

    // After a restart too, only the answers are italic.
    env.destroyForms();
    f = env.createForms();
    QVERIFY(f->AnswersFont().italic());
    QVERIFY(f->ALabel[0]->font().italic());
    QVERIFY(!f->QText->font().italic());
    QVERIFY(!f->ExpText->font().italic());
}

void TestOptions::colourOfEachFont_chosenStoredAndLoaded()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    runOptions(
        f,
        [](TOptionsForm* d) {
            d->ListBox1->setCurrentRow(1); // Answers
            Dialogs::queueColor(QColor(0, 128, 0));
            d->ColorButton->click();
            QCOMPARE(d->Panel1->palette().color(QPalette::WindowText), QColor(0, 128, 0));
            d->ListBox1->setCurrentRow(2); // Explanation: a cancelled chooser changes nothing
            Dialogs::queueColor(QColor());
            d->ColorButton->click();
        },
        true);
    QCOMPARE(f->AnswersColor(), QColor(0, 128, 0));
    QCOMPARE(f->ALabel[0]->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QCOMPARE(f->QuestionColor(), QColor(Qt::black));
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("AFontColor"), QString::number(0x008000));
    QCOMPARE(values.value("QFontColor"), QString("0"));
    QCOMPARE(values.value("EXPFontColor"), QString("8388608"));
    env.destroyForms();
    f = env.createForms();
    QCOMPARE(f->AnswersColor(), QColor(0, 128, 0));
    QCOMPARE(f->ExplanationColor(), QColor(0, 0, 128));
}

void TestOptions::okWithoutChanges_storesAllTwenty()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    QVERIFY(!QFile::exists(env.settingsFile()));
    QCOMPARE(runOptions(
                 f, [](TOptionsForm*) {}, true),
             int(QDialog::Accepted));
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.size(), 20);
    QCOMPARE(values.value("QFontName"), QString("MS Sans Serif"));
    QCOMPARE(values.value("EXPFontColor"), QString("8388608"));
    QCOMPARE(values.value("DefaultTime"), QString("90"));
    QCOMPARE(values.value("TimerOn"), QString("1"));
    QCOMPARE(values.value("ShowLearnBtn"), QString("0"));
    QCOMPARE(values.value("CalcPath"), f->Options.CalcPath);
}

void TestOptions::closeBox_discardsAllButFonts()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    const ExamOptions before = f->Options;
    const int result = runOptions(
        f,
        [](TOptionsForm* d) {
            d->ListBox1->setCurrentRow(1); // Answers
            Dialogs::queueFont(QFont("DejaVu Serif", 15));
            d->BitBtn3->click();
            d->LearnBtnGroup->button(0)->click();
            d->TimerGroup->button(1)->click();
            d->CalcBtnGroup->button(0)->click();
            d->SpinEdit1->setValue(200);
            d->Edit1->setText("/somewhere/else");
        },
        false);
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(f->AnswersFont().family(), QString("DejaVu Serif"));
    QCOMPARE(f->AnswersFont().pointSize(), 15);
    QCOMPARE(f->Options.ShowLearnBtn, before.ShowLearnBtn);
    QCOMPARE(f->Options.TimerOn, before.TimerOn);
    QCOMPARE(f->Options.ShowCalcBtn, before.ShowCalcBtn);
    QCOMPARE(f->Options.DefaultTime, before.DefaultTime);
    QCOMPARE(f->Options.CalcPath, before.CalcPath);
    QVERIFY(!f->LearnButton->isVisibleTo(f->Panel2));
    QVERIFY(!QFile::exists(env.settingsFile()));

    // The next start shows the stored (here: the design) font again.
    TTestForm* again = env.createForms();
    QCOMPARE(again->AnswersFont().family(), QString("MS Sans Serif"));

    // The next opening starts from the window's values, not from what was
    // left in the dialog.
    runOptions(
        again,
        [](TOptionsForm* d) {
            QCOMPARE(d->LearnBtnGroup->itemIndex(), 1);
            QCOMPARE(d->TimerGroup->itemIndex(), 0);
            QCOMPARE(d->SpinEdit1->value(), 90);
            QCOMPARE(d->PageControl1->currentIndex(), 0);
        },
        false);
}

void TestOptions::ok_appliesChangesAndStores()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    const QString calc = executableScript(env.path("calc"));
    writeFile(env.settingsFile(), "[Options]\nShowCalcBtn=0\nCalcPath=" + calc.toUtf8() + "\n");
    TTestForm* f = env.createForms();
    const QString other = executableScript(env.path("other-calc"));
    QVERIFY(!f->CalcButton->isVisibleTo(f->ItemArea));
    runOptions(
        f,
        [other](TOptionsForm* d) {
            d->PageControl1->setCurrentIndex(2);
            d->LearnBtnGroup->button(0)->click();
            d->CalcBtnGroup->button(0)->click();
            d->SpinEdit1->setValue(120);
            d->Edit1->setText(other);
        },
        true);
    QCOMPARE(f->Options.ShowLearnBtn, true);
    QVERIFY(f->LearnButton->isVisibleTo(f->Panel2));
    QCOMPARE(f->Options.ShowCalcBtn, true);
    QVERIFY(f->CalcButton->isVisibleTo(f->ItemArea));
    QCOMPARE(f->Options.DefaultTime, 120);
    QCOMPARE(f->Options.CalcPath, other);
    QCOMPARE(f->CalcButton->CommandLine(), other);
    QCOMPARE(f->Options.TimerOn, true);
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.size(), 20);
    QCOMPARE(values.value("ShowLearnBtn"), QString("1"));
    QCOMPARE(values.value("ShowCalcBtn"), QString("1"));
    QCOMPARE(values.value("DefaultTime"), QString("120"));
    QCOMPARE(values.value("CalcPath"), other);

    // Hiding the buttons again takes effect at once as well.
    runOptions(
        f,
        [](TOptionsForm* d) {
            d->LearnBtnGroup->button(1)->click();
            d->CalcBtnGroup->button(1)->click();
        },
        true);
    QVERIFY(!f->LearnButton->isVisibleTo(f->Panel2));
    QVERIFY(!f->CalcButton->isVisibleTo(f->ItemArea));
    QCOMPARE(optionsOf(env.settingsFile()).value("ShowCalcBtn"), QString("0"));
}

void TestOptions::timerOffAndOnDuringExam_restartsAtFullTime()
{
    double now = 45000.5;
    Clock::setSource([&now] { return now; });
    TestEnv env;
    env.writeBank(TestEnv::sampleBank());
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    TestEnv::acceptNameDialog(QStringLiteral("Tester"), 90);
    f->Action1->trigger();
    QCOMPARE(f->examMode, ExamMode::Testing);
    QVERIFY(f->Timer1->Enabled());

    now += 10.0 / 1440;
    f->Timer1Timer();
    QCOMPARE(f->TimeLabel->text(), QString("1:20:00"));

    // OK without a change of the timer leaves the clock running on.
    runOptions(
        f, [](TOptionsForm*) {}, true);
    QCOMPARE(f->Timer1->Elapsed(), QString("0:10:00"));
    QCOMPARE(f->TimeLabel->text(), QString("1:20:00"));

    runOptions(
        f, [](TOptionsForm* d) { d->TimerGroup->button(1)->click(); }, true);
    QVERIFY(!f->TimeLabel->isVisibleTo(f->Panel1));
    QVERIFY(!f->Timer1->Enabled());
    QCOMPARE(optionsOf(env.settingsFile()).value("TimerOn"), QString("0"));

    now += 5.0 / 1440;
    runOptions(
        f, [](TOptionsForm* d) { d->TimerGroup->button(0)->click(); }, true);
    QVERIFY(f->TimeLabel->isVisibleTo(f->Panel1));
    QVERIFY(f->Timer1->Enabled());
    QCOMPARE(f->TimeLabel->text(), QString("1:30:00"));
    QCOMPARE(f->Timer1->Elapsed(), QString("0:00:00"));
}

void TestOptions::ok_refusedPath_keptAndStored_buttonKeepsProgram_data()
{
    QTest::addColumn<QString>("name"); // in the program folder
    QTest::addColumn<bool>("createFile");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing .exe") << "calc.exe" << false << "The file: %1 cannot be found.";
    QTest::newRow("not executable") << "notes.txt" << true << "%1 is not an executable file.";
    QTest::newRow("missing program") << "nothing" << false << "%1 is not an executable file.";
}

void TestOptions::ok_refusedPath_keptAndStored_buttonKeepsProgram()
{
    QFETCH(QString, name);
    QFETCH(bool, createFile);
    QFETCH(QString, message);
    TestEnv env;
    env.writeEmptyCurrentSet();
    const QString calc = executableScript(env.path("calc"));
    writeFile(env.settingsFile(), "[Options]\nCalcPath=" + calc.toUtf8() + "\n");
    TTestForm* f = env.createForms();
    const qint64 picture = f->CalcButton->icon().cacheKey();
    const QString path = env.path(name);
    if (createFile)
        writeFile(path, "x");
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    const int result = runOptions(
        f, [path](TOptionsForm* d) { d->Edit1->setText(path); }, true);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(Dialogs::shownMessages(), QStringList("Error: " + message.arg(path)));
    QCOMPARE(f->Options.CalcPath, path);
    QCOMPARE(optionsOf(env.settingsFile()).value("CalcPath"), path);
    QCOMPARE(f->CalcButton->CommandLine(), calc);
    QCOMPARE(f->CalcButton->icon().cacheKey(), picture);
}

void TestOptions::timeField_data()
{
    QTest::addColumn<QString>("keys");      // typed into the emptied field
    QTest::addColumn<int>("stored");        // after OK
    QTest::addColumn<int>("afterFocusOut"); // what the field holds once left

    QTest::newRow("emptied") << "" << 1 << 1;
    QTest::newRow("zero") << "0" << 1 << 1;
    QTest::newRow("above the range") << "9500" << 9000 << 9000;
    QTest::newRow("in range") << "45" << 45 << 45;
    QTest::newRow("letters refused") << "4a5" << 45 << 45;
    QTest::newRow("negative") << "-3" << 1 << 1;
    QTest::newRow("fraction") << "12.5" << 1 << 1;
}

void TestOptions::timeField()
{
    QFETCH(QString, keys);
    QFETCH(int, stored);
    QFETCH(int, afterFocusOut);
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    auto type = [keys](TOptionsForm* d) {
        d->SpinEdit1->findChild<QLineEdit*>()->clear();
        QTest::keyClicks(d->SpinEdit1, keys);
    };
    runOptions(f, type, true);
    QCOMPARE(f->Options.DefaultTime, stored);
    QCOMPARE(optionsOf(env.settingsFile()).value("DefaultTime"), QString::number(stored));

    runOptions(
        f,
        [type, afterFocusOut](TOptionsForm* d) {
            type(d);
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(d->SpinEdit1, &out);
            QCOMPARE(d->SpinEdit1->value(), afterFocusOut);
            QCOMPARE(d->SpinEdit1->text(), QString::number(afterFocusOut));
        },
        false);

    // A stored time outside the range is shown within it.
    f->Options.DefaultTime = 99999;
    runOptions(
        f, [](TOptionsForm* d) { QCOMPARE(d->SpinEdit1->value(), 9000); }, false);
    f->Options.DefaultTime = 0;
    runOptions(
        f, [](TOptionsForm* d) { QCOMPARE(d->SpinEdit1->value(), 1); }, false);
}

void TestOptions::missingCalculatorAtStartUp_offersDoNotShow()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    writeFile(env.settingsFile(), "[Options]\nShowCalcBtn=1\nCalcPath=/nowhere/calc\n");
    TTestForm* f = env.createForms();
    runOptions(
        f, [](TOptionsForm* d) { QCOMPARE(d->CalcBtnGroup->itemIndex(), 1); }, true);
    QCOMPARE(optionsOf(env.settingsFile()).value("ShowCalcBtn"), QString("0"));
}

void TestOptions::browse_putsChosenPath()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    runOptions(
        f,
        [](TOptionsForm* d) {
            d->Edit1->setText("/before");
            Dialogs::queueFileName(QString()); // cancelled
            d->SpeedButton1->click();
            QCOMPARE(d->Edit1->text(), QString("/before"));
            Dialogs::queueFileName("/opt/tools/qalc");
            d->SpeedButton1->click();
            QCOMPARE(d->Edit1->text(), QString("/opt/tools/qalc"));
        },
        false);
}

void TestOptions::fontsList_exampleAndChangeFont()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    writeFile(env.settingsFile(), "[Options]\nQFontName=Verdana\nQFontColor=255\nEXPFontSize=14\n");
    TTestForm* f = env.createForms();
    runOptions(
        f,
        [f](TOptionsForm* d) {
            // Every opening starts on "Question", shown in its own font.
            QCOMPARE(d->ListBox1->currentRow(), 0);
            QCOMPARE(d->Panel1->text(), QString("Question"));
            QCOMPARE(d->Panel1->font().family(), QString("Verdana"));
            QCOMPARE(d->Panel1->palette().color(QPalette::WindowText), QColor(255, 0, 0));

            d->ListBox1->setCurrentRow(2);
            QCOMPARE(d->Panel1->text(), QString("Explanation"));
            QCOMPARE(d->Panel1->font().pointSize(), 14);
            QCOMPARE(d->Panel1->palette().color(QPalette::WindowText), QColor(0, 0, 128));

            Dialogs::queueFont(QFont(), false); // chooser cancelled
            d->BitBtn3->click();
            QCOMPARE(f->ExplanationFont().pointSize(), 14);

            QFont chosen("DejaVu Sans Mono", 11);
            chosen.setBold(true);
            chosen.setUnderline(true);
            Dialogs::queueFont(chosen);
            d->BitBtn3->click();
            QCOMPARE(f->ExplanationFont().family(), QString("DejaVu Sans Mono"));
            QVERIFY(f->ExplanationFont().bold());
            QVERIFY(f->ExplanationFont().underline());
            QCOMPARE(f->ExplanationColor(), QColor(0, 0, 128));
            QCOMPARE(d->Panel1->font().family(), QString("DejaVu Sans Mono"));
            QCOMPARE(f->QuestionFont().family(), QString("Verdana"));
        },
        true);
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("EXPFontName"), QString("DejaVu Sans Mono"));
    QCOMPARE(values.value("EXPFontSize"), QString("11"));
    QCOMPARE(values.value("EXPFontBold"), QString("1"));
    QCOMPARE(values.value("QFontName"), QString("Verdana"));

    runOptions(
        f, [](TOptionsForm* d) { QCOMPARE(d->ListBox1->currentRow(), 0); }, false);
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
