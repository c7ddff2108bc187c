// The Options dialog: what OK applies and stores, what the close box
// discards, the fonts list, the calculator path and the time field.
#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/exam/TKZTimeCounter.h"
#include "ui/app/Application.h"
#include "ui/exam/ChoiceLabel.h"
#include "ui/exam/TTestForm.h"
#include "ui/exam/TddgRunButton.h"
#include "ui/settings/ClampingSpinBox.h"
#include "ui/settings/RadioGroup.h"
#include "ui/settings/StoredFont.h"
#include "ui/settings/TOptionsForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

#include "SettingsTestFiles.h"

using namespace SettingsTestFiles;

namespace {

// Opens the dialog from the exam window's menu command; `act` works in the
// shown dialog, which then closes with OK or with its close box.
int runOptions(TTestForm* f, bool ok, const std::function<void(TOptionsForm*)>& act)
{
    Dialogs::setModalHandler([act, ok](QDialog* d) {
        if (!qobject_cast<TOptionsForm*>(d))
            return int(QDialog::Rejected);
        d->show();
        act(Driver::window<TOptionsForm>());
        if (ok)
            Driver::press(d, "BitBtn1"); // OK
        else
            d->close();
        d->hide();
        return d->result();
    });
    Driver::press(f, "Options1");
    return Driver::window<TOptionsForm>()->result();
}

// Clicks an entry of the fonts list: 0 Question, 1 Answers, 2 Explanation.
void chooseFontEntry(TOptionsForm* d, int row)
{
    auto* list = Driver::find<QListWidget>(d, "ListBox1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(row)).center());
    QCOMPARE(list->currentRow(), row);
}
// The example of the chosen font.
QLabel* example(TOptionsForm* d)
{
    return Driver::find<QLabel>(d, "Panel1");
}
RadioGroup* group(TOptionsForm* d, const char* name)
{
    return Driver::find<RadioGroup>(d, name);
}
// Clicks entry k of a group of radio buttons.
void pick(TOptionsForm* d, const char* groupName, int k)
{
    group(d, groupName)->button(k)->click();
}
// Replaces the text of a field by typing: select all, then the keys.
void retype(QWidget* field, const QString& keys)
{
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, keys);
}
QSpinBox* timeBox(TOptionsForm* d)
{
    return Driver::find<QSpinBox>(d, "SpinEdit1");
}
QLineEdit* pathField(TOptionsForm* d)
{
    return Driver::find<QLineEdit>(d, "Edit1");
}
void chooseTab(TOptionsForm* d, int index)
{
    QTabBar* tabs = Driver::find<QTabWidget>(d, "PageControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
}

// Controls of the exam window.
TddgRunButton* calcButton(TTestForm* f)
{
    return Driver::find<TddgRunButton>(f, "CalcButton");
}
// The control `name` shows within the part `part` of the exam window.
bool shownIn(TTestForm* f, const char* name, const char* part)
{
    return Driver::find<QWidget>(f, name)->isVisibleTo(Driver::find<QWidget>(f, part));
}
QFont examFont(TTestForm* f, const char* name)
{
    return Driver::find<QWidget>(f, name)->font();
}
TKZTimeCounter* examClock(TTestForm* f)
{
    return Driver::find<TKZTimeCounter>(f, "Timer1");
}
// The exam clock's next tick.
void tick(TTestForm* f)
{
    QMetaObject::invokeMethod(examClock(f), "timeout");
}
QString timeShown(TTestForm* f)
{
    return Driver::find<QLabel>(f, "TimeLabel")->text();
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
    void missingFace_offeredAsTheInstalledOneAndKeptWhenUnchanged();
};

void TestOptions::missingFace_offeredAsTheInstalledOneAndKeptWhenUnchanged()
{
    Application::installFontSubstitutions(); // as the program does at its start
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        QSKIP("MS Sans Serif is installed here");
    TestEnv env;
    env.writeEmptyCurrentSet();
    writeFile(env.settingsFile(), "[Options]\nQFontName=MS Sans Serif\nQFontSize=10\nQFontBold=1\n");
    TTestForm* f = env.createForms();
    QCOMPARE(f->appearance().questionFont.family(), QStringLiteral("MS Sans Serif"));

    // The chooser is offered the installed face drawn in its place, bold as stored.
    const QFont offered = StoredFont::installedFace(f->appearance().questionFont);
    QVERIFY(QFontDatabase::hasFamily(offered.family()));
    QCOMPARE(offered.family(), QFontInfo(f->appearance().questionFont).family());
    QVERIFY(offered.bold());
    QCOMPARE(offered.pointSize(), 10);
    QVERIFY(QFontDatabase::styles(offered.family()).filter(QStringLiteral("Bold")).size() > 0);
    // An installed face is offered as it is.
    const QFont installed(QStringLiteral("DejaVu Sans"), 12);
    QVERIFY(StoredFont::sameChoice(StoredFont::installedFace(installed), installed));

    // OK in the chooser without a change: the stored font stays as it was.
    runOptions(f, true, [&offered](TOptionsForm* d) {
        chooseFontEntry(d, 0);
        Dialogs::queueFont(offered);
        Driver::press(d, "BitBtn3"); // Change Font
    });
    auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("QFontName"), QString("MS Sans Serif"));
    QCOMPARE(values.value("QFontBold"), QString("1"));
    QCOMPARE(values.value("QFontSize"), QString("10"));

    // A change is stored with the face chosen.
    runOptions(f, true, [&offered](TOptionsForm* d) {
        chooseFontEntry(d, 0);
        QFont bigger = offered;
        bigger.setPointSize(14);
        Dialogs::queueFont(bigger);
        Driver::press(d, "BitBtn3");
    });
    values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("QFontName"), offered.family());
    QCOMPARE(values.value("QFontBold"), QString("1"));
    QCOMPARE(values.value("QFontSize"), QString("14"));
}

void TestOptions::onlyAnswersItalic_storesOnlyAnswersItalic()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    runOptions(f, true, [](TOptionsForm* d) {
        chooseFontEntry(d, 1); // Answers
        QFont italic = example(d)->font();
        italic.setItalic(true);
        italic.setUnderline(true); // for the run only
        Dialogs::queueFont(italic);
        Driver::press(d, "BitBtn3"); // Change Font
    });
    QVERIFY(f->appearance().answersFont.italic());
    QVERIFY(!f->appearance().questionFont.italic() && !f->appearance().explanationFont.italic());
    QVERIFY(!examFont(f, "QText").underline() && !examFont(f, "ExpText").underline());
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("AFontItalic"), QString("1"));
    QCOMPARE(values.value("QFontItalic"), QString("0"));
    QCOMPARE(values.value("EXPFontItalic"), QString("0"));

    // After a restart too, only the answers are italic.
    env.destroyForms();
    f = env.createForms();
    QVERIFY(f->appearance().answersFont.italic());
    QVERIFY(examFont(f, "ALabel1").italic());
    QVERIFY(!examFont(f, "QText").italic());
    QVERIFY(!examFont(f, "ExpText").italic());
}

void TestOptions::colourOfEachFont_chosenStoredAndLoaded()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    runOptions(f, true, [](TOptionsForm* d) {
        chooseFontEntry(d, 1); // Answers
        Dialogs::queueColor(QColor(0, 128, 0));
        Driver::press(d, "ColorButton");
        QCOMPARE(example(d)->palette().color(QPalette::WindowText), QColor(0, 128, 0));
        chooseFontEntry(d, 2); // Explanation: a cancelled chooser changes nothing
        Dialogs::queueColor(QColor());
        Driver::press(d, "ColorButton");
    });
    QCOMPARE(f->appearance().answersColor, QColor(0, 128, 0));
    QCOMPARE(Driver::find<QWidget>(f, "ALabel1")->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QCOMPARE(f->appearance().questionColor, QColor(Qt::black));
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("AFontColor"), QString::number(0x008000));
    QCOMPARE(values.value("QFontColor"), QString("0"));
    QCOMPARE(values.value("EXPFontColor"), QString("8388608"));
    env.destroyForms();
    f = env.createForms();
    QCOMPARE(f->appearance().answersColor, QColor(0, 128, 0));
    QCOMPARE(f->appearance().explanationColor, QColor(0, 0, 128));
}

void TestOptions::okWithoutChanges_storesAllTwenty()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    QVERIFY(!QFile::exists(env.settingsFile()));
    QCOMPARE(runOptions(f, true, [](TOptionsForm*) {}), int(QDialog::Accepted));
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
    const int result = runOptions(f, false, [](TOptionsForm* d) {
        chooseFontEntry(d, 1); // Answers
        Dialogs::queueFont(QFont("DejaVu Serif", 15));
        Driver::press(d, "BitBtn3"); // Change Font
        pick(d, "LearnBtnGroup", 0);
        pick(d, "TimerGroup", 1);
        pick(d, "CalcBtnGroup", 0);
        retype(timeBox(d), QStringLiteral("200"));
        retype(pathField(d), "/somewhere/else");
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(f->appearance().answersFont.family(), QString("DejaVu Serif"));
    QCOMPARE(f->appearance().answersFont.pointSize(), 15);
    QCOMPARE(f->Options.ShowLearnBtn, before.ShowLearnBtn);
    QCOMPARE(f->Options.TimerOn, before.TimerOn);
    QCOMPARE(f->Options.ShowCalcBtn, before.ShowCalcBtn);
    QCOMPARE(f->Options.DefaultTime, before.DefaultTime);
    QCOMPARE(f->Options.CalcPath, before.CalcPath);
    QVERIFY(!shownIn(f, "LearnButton", "Panel2"));
    QVERIFY(!QFile::exists(env.settingsFile()));

    // The next start shows the stored (here: the design) font again.
    TTestForm* again = env.createForms();
    QCOMPARE(again->appearance().answersFont.family(), QString("MS Sans Serif"));

    // The next opening starts from the window's values, not from what was
    // left in the dialog.
    runOptions(again, false, [](TOptionsForm* d) {
        QCOMPARE(group(d, "LearnBtnGroup")->itemIndex(), 1);
        QCOMPARE(group(d, "TimerGroup")->itemIndex(), 0);
        QCOMPARE(timeBox(d)->value(), 90);
        QCOMPARE(Driver::find<QTabWidget>(d, "PageControl1")->currentIndex(), 0);
    });
}

void TestOptions::ok_appliesChangesAndStores()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    const QString calc = executableScript(env.path("calc"));
    writeFile(env.settingsFile(), "[Options]\nShowCalcBtn=0\nCalcPath=" + calc.toUtf8() + "\n");
    TTestForm* f = env.createForms();
    const QString other = executableScript(env.path("other-calc"));
    QVERIFY(!shownIn(f, "CalcButton", "ItemArea"));
    runOptions(f, true, [other](TOptionsForm* d) {
        chooseTab(d, 2);
        pick(d, "LearnBtnGroup", 0);
        pick(d, "CalcBtnGroup", 0);
        retype(timeBox(d), QStringLiteral("120"));
        retype(pathField(d), other);
    });
    QCOMPARE(f->Options.ShowLearnBtn, true);
    QVERIFY(shownIn(f, "LearnButton", "Panel2"));
    QCOMPARE(f->Options.ShowCalcBtn, true);
    QVERIFY(shownIn(f, "CalcButton", "ItemArea"));
    QCOMPARE(f->Options.DefaultTime, 120);
    QCOMPARE(f->Options.CalcPath, other);
    QCOMPARE(calcButton(f)->CommandLine(), other);
    QCOMPARE(f->Options.TimerOn, true);
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.size(), 20);
    QCOMPARE(values.value("ShowLearnBtn"), QString("1"));
    QCOMPARE(values.value("ShowCalcBtn"), QString("1"));
    QCOMPARE(values.value("DefaultTime"), QString("120"));
    QCOMPARE(values.value("CalcPath"), other);

    // Hiding the buttons again takes effect at once as well.
    runOptions(f, true, [](TOptionsForm* d) {
        pick(d, "LearnBtnGroup", 1);
        pick(d, "CalcBtnGroup", 1);
    });
    QVERIFY(!shownIn(f, "LearnButton", "Panel2"));
    QVERIFY(!shownIn(f, "CalcButton", "ItemArea"));
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
    Driver::startExam(f, "Action1", QStringLiteral("Tester"), 90);
    QCOMPARE(f->examMode, ExamMode::Testing);
    QVERIFY(examClock(f)->Enabled());

    now += 10.0 / 1440;
    tick(f);
    QCOMPARE(timeShown(f), QString("1:20:00"));

    // OK without a change of the timer leaves the clock running on.
    runOptions(f, true, [](TOptionsForm*) {});
    QCOMPARE(examClock(f)->Elapsed(), QString("0:10:00"));
    QCOMPARE(timeShown(f), QString("1:20:00"));

    runOptions(f, true, [](TOptionsForm* d) { pick(d, "TimerGroup", 1); });
    QVERIFY(!shownIn(f, "TimeLabel", "Panel1"));
    QVERIFY(!examClock(f)->Enabled());
    QCOMPARE(optionsOf(env.settingsFile()).value("TimerOn"), QString("0"));

    now += 5.0 / 1440;
    runOptions(f, true, [](TOptionsForm* d) { pick(d, "TimerGroup", 0); });
    QVERIFY(shownIn(f, "TimeLabel", "Panel1"));
    QVERIFY(examClock(f)->Enabled());
    QCOMPARE(timeShown(f), QString("1:30:00"));
    QCOMPARE(examClock(f)->Elapsed(), QString("0:00:00"));
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
    const qint64 picture = calcButton(f)->icon().cacheKey();
    const QString path = env.path(name);
    if (createFile)
        writeFile(path, "x");
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    const int result = runOptions(f, true, [path](TOptionsForm* d) { retype(pathField(d), path); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(Dialogs::shownMessages(), QStringList("Error: " + message.arg(path)));
    QCOMPARE(f->Options.CalcPath, path);
    QCOMPARE(optionsOf(env.settingsFile()).value("CalcPath"), path);
    QCOMPARE(calcButton(f)->CommandLine(), calc);
    QCOMPARE(calcButton(f)->icon().cacheKey(), picture);
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
    auto type = [keys](TOptionsForm* d) { retype(timeBox(d), keys); };
    runOptions(f, true, type);
    QCOMPARE(f->Options.DefaultTime, stored);
    QCOMPARE(optionsOf(env.settingsFile()).value("DefaultTime"), QString::number(stored));

    runOptions(f, false, [type, afterFocusOut](TOptionsForm* d) {
        type(d);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(timeBox(d), &out);
        QCOMPARE(timeBox(d)->value(), afterFocusOut);
        QCOMPARE(timeBox(d)->text(), QString::number(afterFocusOut));
    });

    // A stored time outside the range is shown within it.
    f->Options.DefaultTime = 99999;
    runOptions(f, false, [](TOptionsForm* d) { QCOMPARE(timeBox(d)->value(), 9000); });
    f->Options.DefaultTime = 0;
    runOptions(f, false, [](TOptionsForm* d) { QCOMPARE(timeBox(d)->value(), 1); });
}

void TestOptions::missingCalculatorAtStartUp_offersDoNotShow()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    writeFile(env.settingsFile(), "[Options]\nShowCalcBtn=1\nCalcPath=/nowhere/calc\n");
    TTestForm* f = env.createForms();
    runOptions(f, true, [](TOptionsForm* d) { QCOMPARE(group(d, "CalcBtnGroup")->itemIndex(), 1); });
    QCOMPARE(optionsOf(env.settingsFile()).value("ShowCalcBtn"), QString("0"));
}

void TestOptions::browse_putsChosenPath()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    runOptions(f, false, [](TOptionsForm* d) {
        retype(pathField(d), "/before");
        Dialogs::queueFileName(QString()); // cancelled
        Driver::press(d, "SpeedButton1");
        QCOMPARE(pathField(d)->text(), QString("/before"));
        Dialogs::queueFileName("/opt/tools/qalc");
        Driver::press(d, "SpeedButton1");
        QCOMPARE(pathField(d)->text(), QString("/opt/tools/qalc"));
    });
}

void TestOptions::fontsList_exampleAndChangeFont()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    writeFile(env.settingsFile(), "[Options]\nQFontName=Verdana\nQFontColor=255\nEXPFontSize=14\n");
    TTestForm* f = env.createForms();
    runOptions(f, true, [f](TOptionsForm* d) {
        // Every opening starts on "Question", shown in its own font.
        QCOMPARE(Driver::find<QListWidget>(d, "ListBox1")->currentRow(), 0);
        QCOMPARE(example(d)->text(), QString("Question"));
        QCOMPARE(example(d)->font().family(), QString("Verdana"));
        QCOMPARE(example(d)->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        chooseFontEntry(d, 2);
        QCOMPARE(example(d)->text(), QString("Explanation"));
        QCOMPARE(example(d)->font().pointSize(), 14);
        QCOMPARE(example(d)->palette().color(QPalette::WindowText), QColor(0, 0, 128));

        Dialogs::queueFont(QFont(), false); // chooser cancelled
        Driver::press(d, "BitBtn3");        // Change Font
        QCOMPARE(f->appearance().explanationFont.pointSize(), 14);

        QFont chosen("DejaVu Sans Mono", 11);
        chosen.setBold(true);
        chosen.setUnderline(true);
        Dialogs::queueFont(chosen);
        Driver::press(d, "BitBtn3"); // Change Font
        QCOMPARE(f->appearance().explanationFont.family(), QString("DejaVu Sans Mono"));
        QVERIFY(f->appearance().explanationFont.bold());
        QVERIFY(f->appearance().explanationFont.underline());
        QCOMPARE(f->appearance().explanationColor, QColor(0, 0, 128));
        QCOMPARE(example(d)->font().family(), QString("DejaVu Sans Mono"));
        QCOMPARE(f->appearance().questionFont.family(), QString("Verdana"));
    });
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.value("EXPFontName"), QString("DejaVu Sans Mono"));
    QCOMPARE(values.value("EXPFontSize"), QString("11"));
    QCOMPARE(values.value("EXPFontBold"), QString("1"));
    QCOMPARE(values.value("QFontName"), QString("Verdana"));

    runOptions(f, false,
               [](TOptionsForm* d) { QCOMPARE(Driver::find<QListWidget>(d, "ListBox1")->currentRow(), 0); });
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
