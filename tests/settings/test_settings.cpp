// The settings store: defaults, text encodings, parsing rules, saving, and
// the exam window's loading and saving of its fonts and options.
#include "TestEnv.h"
#include "core/settings/SettingsStore.h"
#include "ui/exam/TTestForm.h"
#include "ui/exam/TddgRunButton.h"
#include "ui/settings/StoredFont.h"
#include "ui/widgets/Dialogs.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "SettingsTestFiles.h"

using namespace SettingsTestFiles;

namespace {

const QStringList AllNames{"QFontName",     "QFontColor",   "QFontSize",    "DefaultTime", "QFontBold",
                           "QFontItalic",   "AFontName",    "AFontColor",   "AFontSize",   "AFontBold",
                           "AFontItalic",   "EXPFontName",  "EXPFontColor", "EXPFontSize", "EXPFontBold",
                           "EXPFontItalic", "ShowLearnBtn", "TimerOn",      "ShowCalcBtn", "CalcPath"};

TddgRunButton* calcButton(TTestForm* f)
{
    return Driver::find<TddgRunButton>(f, "CalcButton");
}
// The control `name` shows within the part `part` of the exam window.
bool shownIn(TTestForm* f, const char* name, const char* part)
{
    return Driver::find<QWidget>(f, name)->isVisibleTo(Driver::find<QWidget>(f, part));
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void load_withoutFile_givesDefaults();
    void save_writesTwentyPlainTextValuesInOrder();
    void saveThenLoad_roundTrip();
    void load_parsingRules_data();
    void load_parsingRules();
    void load_garbledFile_givesDefaults();
    void load_otherSectionsAndCaseOfNames();
    void save_failure_reportedAndStoreUntouched();
    void storedFont_styleOnlyAdded_sizeAndColourRules();
    void examWindow_loadsFontsAndOptionsAtCreation();
    void examWindow_withoutSettings_designFontsAndDefaults();
    void examWindow_missingCalculator_hidesButtonOnlyInMemory();
    void examWindow_calculatorNotExecutable_reportedAndHidden();
    void examWindow_calculatorFound_shownPerSetting();
    void examWindow_saveDropsUnderlineAndCutsLongNames();
};

void TestSettings::load_withoutFile_givesDefaults()
{
    QTemporaryDir dir;
    SettingsStore::Values v;
    SettingsStore(dir.filePath("none.ini")).load(v, "/opt/calc");
    QCOMPARE(v.question.name, QString());
    QCOMPARE(v.question.color, 0);
    QCOMPARE(v.question.size, 10);
    QCOMPARE(v.answers.color, 0);
    QCOMPARE(v.explanation.color, 8388608);
    QCOMPARE(v.explanation.size, 10);
    QVERIFY(!v.answers.bold && !v.answers.italic);
    QCOMPARE(v.options.ShowLearnBtn, false);
    QCOMPARE(v.options.ShowCalcBtn, true);
    QCOMPARE(v.options.TimerOn, true);
    QCOMPARE(v.options.DefaultTime, 90);
    QCOMPARE(v.options.CalcPath, QString("/opt/calc"));
    QVERIFY(!QFile::exists(dir.filePath("none.ini"))); // loading writes nothing
}

void TestSettings::save_writesTwentyPlainTextValuesInOrder()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    SettingsStore::Values v;
    v.question = {"Verdana", 255, 12, true, false};
    v.answers = {"Arial, Narrow", 65280, 9, false, true};
    v.explanation = {"", 8388608, 11, true, true};
    v.options = {true, false, false, 120, "/usr/bin/my calc"};
    QString error;
    QVERIFY(SettingsStore(path).save(v, &error));

    const auto values = optionsOf(path);
    QCOMPARE(values.size(), 20);
    QCOMPARE(values.value("QFontName"), QString("Verdana"));
    QCOMPARE(values.value("QFontColor"), QString("255"));
    QCOMPARE(values.value("QFontSize"), QString("12"));
    QCOMPARE(values.value("QFontBold"), QString("1"));
    QCOMPARE(values.value("QFontItalic"), QString("0"));
    QCOMPARE(values.value("EXPFontColor"), QString("8388608"));
    QCOMPARE(values.value("ShowLearnBtn"), QString("1"));
    QCOMPARE(values.value("ShowCalcBtn"), QString("0"));
    QCOMPARE(values.value("TimerOn"), QString("0"));
    QCOMPARE(values.value("DefaultTime"), QString("120"));
    QCOMPARE(values.value("CalcPath"), QString("/usr/bin/my calc"));

    QStringList order;
    for (const auto& e : SettingsStore::entries(v))
        order << e.first;
    QCOMPARE(order, AllNames);
}

void TestSettings::saveThenLoad_roundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    SettingsStore::Values v;
    v.question = {"Liberation Serif", 0x123456, 14, true, true};
    v.answers = {"Arial, Narrow", 65280, 9, false, true};
    v.explanation = {"@Courier", 8388608, 8, true, false};
    v.options = {true, false, false, -5, "/opt/calc,v2/run"};
    QString error;
    QVERIFY(SettingsStore(path).save(v, &error));

    SettingsStore::Values back;
    SettingsStore(path).load(back, "/unused");
    QCOMPARE(back.question.name, v.question.name);
    QCOMPARE(back.question.color, v.question.color);
    QCOMPARE(back.question.size, 14);
    QVERIFY(back.question.bold && back.question.italic);
    QCOMPARE(back.answers.name, v.answers.name);
    QVERIFY(!back.answers.bold && back.answers.italic);
    QCOMPARE(back.explanation.name, v.explanation.name);
    QCOMPARE(back.explanation.size, 8);
    QCOMPARE(back.options.ShowLearnBtn, true);
    QCOMPARE(back.options.ShowCalcBtn, false);
    QCOMPARE(back.options.TimerOn, false);
    QCOMPARE(back.options.DefaultTime, -5);
    QCOMPARE(back.options.CalcPath, v.options.CalcPath);
}

void TestSettings::load_parsingRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // what the value loads as

    QTest::newRow("size not a number") << "QFontSize"
                                       << "abc"
                                       << "10";
    QTest::newRow("size empty") << "AFontSize"
                                << ""
                                << "10";
    QTest::newRow("size with spaces") << "AFontSize"
                                      << " 12 "
                                      << "12";
    QTest::newRow("size negative") << "QFontSize"
                                   << "-3"
                                   << "-3";
    QTest::newRow("size beyond 32 bits") << "QFontSize"
                                         << "99999999999"
                                         << "10";
    QTest::newRow("size fraction") << "QFontSize"
                                   << "12.5"
                                   << "10";
    QTest::newRow("colour not a number") << "EXPFontColor"
                                         << "navy"
                                         << "8388608";
    QTest::newRow("colour negative") << "QFontColor"
                                     << "-16777208"
                                     << "-16777208";
    QTest::newRow("timer 2 is true") << "TimerOn"
                                     << "2"
                                     << "1";
    QTest::newRow("timer -1 is true") << "TimerOn"
                                      << "-1"
                                      << "1";
    QTest::newRow("timer 0 is false") << "TimerOn"
                                      << "0"
                                      << "0";
    QTest::newRow("timer word gives default") << "TimerOn"
                                              << "no"
                                              << "1";
    QTest::newRow("timer true word gives default") << "TimerOn"
                                                   << "true"
                                                   << "1";
    QTest::newRow("learn word gives default") << "ShowLearnBtn"
                                              << "yes"
                                              << "0";
    QTest::newRow("learn 5 is true") << "ShowLearnBtn"
                                     << "5"
                                     << "1";
    QTest::newRow("calc empty gives default") << "ShowCalcBtn"
                                              << ""
                                              << "1";
    QTest::newRow("bold 1") << "QFontBold"
                            << "1"
                            << "1";
    QTest::newRow("italic junk") << "EXPFontItalic"
                                 << "x1"
                                 << "0";
    QTest::newRow("time outside range kept") << "DefaultTime"
                                             << "99999"
                                             << "99999";
    QTest::newRow("time zero kept") << "DefaultTime"
                                    << "0"
                                    << "0";
    QTest::newRow("time junk") << "DefaultTime"
                               << "ninety"
                               << "90";
    QTest::newRow("empty face name") << "AFontName"
                                     << ""
                                     << "";
    QTest::newRow("long face name cut") << "QFontName" << QString(40, 'F') << QString(31, 'F');
    // U+1D49C takes two units, the 31st and the 32nd: it is dropped whole.
    QTest::newRow("long face name cut before a character it would split")
        << "QFontName" << QString(30, 'F') + QString::fromUcs4(U"\U0001D49Cx") << QString(30, 'F');
    QTest::newRow("long face name keeps a character that fits")
        << "QFontName" << QString(29, 'F') + QString::fromUcs4(U"\U0001D49Cx")
        << QString(29, 'F') + QString::fromUcs4(U"\U0001D49C");
    QTest::newRow("quoted size") << "QFontSize"
                                 << "\"12\""
                                 << "12";
    QTest::newRow("value with equals sign") << "CalcPath"
                                            << "/opt/a=b/calc"
                                            << "/opt/a=b/calc";
    QTest::newRow("path with spaces") << "CalcPath"
                                      << "/opt/My Calc/calc"
                                      << "/opt/My Calc/calc";
    QTest::newRow("empty path stays empty") << "CalcPath"
                                            << ""
                                            << "";
}

void TestSettings::load_parsingRules()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    writeFile(path, "[Options]\n" + name.toUtf8() + "=" + text.toUtf8() + "\n");

    SettingsStore::Values v;
    SettingsStore(path).load(v, "/default/calc");
    const QMap<QString, QString> loaded{
        {"QFontName", v.question.name},
        {"AFontName", v.answers.name},
        {"QFontSize", QString::number(v.question.size)},
        {"AFontSize", QString::number(v.answers.size)},
        {"QFontColor", QString::number(v.question.color)},
        {"EXPFontColor", QString::number(v.explanation.color)},
        {"QFontBold", QString::number(v.question.bold)},
        {"EXPFontItalic", QString::number(v.explanation.italic)},
        {"TimerOn", QString::number(v.options.TimerOn)},
        {"ShowLearnBtn", QString::number(v.options.ShowLearnBtn)},
        {"ShowCalcBtn", QString::number(v.options.ShowCalcBtn)},
        {"DefaultTime", QString::number(v.options.DefaultTime)},
        {"CalcPath", v.options.CalcPath},
    };
    QVERIFY(loaded.contains(name));
    QCOMPARE(loaded.value(name), expected);
}

void TestSettings::load_garbledFile_givesDefaults()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    QByteArray junk("[Options\n=\n==x\n[Options]\nQFontSize=@Variant(\\0\\0\\0\\v\\xff\\xff\\xff\\xff)\n");
    junk += "TimerOn=@ByteArray(\\xff\\xfe)\nDefaultTime=\"unterminated\nShowLearnBtn=1,2\n";
    for (int i = 0; i < 4096; ++i)
        junk += char((i * 7919) % 256);
    writeFile(path, junk);

    SettingsStore::Values v;
    SettingsStore(path).load(v, "/default/calc");
    QCOMPARE(v.question.size, 10);
    QCOMPARE(v.options.TimerOn, true);
    QCOMPARE(v.options.DefaultTime, 90);
    QCOMPARE(v.options.ShowLearnBtn, false);
    QCOMPARE(v.options.ShowCalcBtn, true);

    // Saving over it works and is reported as such.
    v.options.DefaultTime = 45;
    QString error;
    QVERIFY2(SettingsStore(path).save(v, &error), qPrintable(error));
    SettingsStore::Values back;
    SettingsStore(path).load(back, "/default/calc");
    QCOMPARE(back.options.DefaultTime, 45);
    const auto values = optionsOf(path);
    for (const QString& name : AllNames)
        QVERIFY2(values.contains(name), qPrintable(name));
}

void TestSettings::load_otherSectionsAndCaseOfNames()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    // Names are exact: "timeron" is not "TimerOn", and values of another
    // section do not count.
    writeFile(path, "[Other]\r\nTimerOn=0\r\nDefaultTime=5\r\n[Options]\r\ntimeron=0\r\nDEFAULTTIME=7\r\n"
                    "QFontSize=13\r\n");
    SettingsStore::Values v;
    SettingsStore(path).load(v, "/c");
    QCOMPARE(v.options.TimerOn, true);
    QCOMPARE(v.options.DefaultTime, 90);
    QCOMPARE(v.question.size, 13);

    // Saving keeps the other section.
    QString error;
    QVERIFY(SettingsStore(path).save(v, &error));
    QVERIFY(readFile(path).contains("[Other]"));
}

void TestSettings::save_failure_reportedAndStoreUntouched()
{
    TestEnv env;
    // A folder that cannot exist: its parent is a file.
    writeFile(env.path("plain"), "x");
    const QString path = env.path("plain/s.ini");
    SettingsStore::Values v;
    QString error;
    QVERIFY(!SettingsStore(path).save(v, &error));
    QVERIFY2(error.contains("could not be saved"), qPrintable(error));

    // Through the exam window: the error box, the options kept in memory.
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    f->settingsPath = path;
    f->Options.DefaultTime = 45;
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    f->SaveSettings();
    QCOMPARE(Dialogs::shownMessages().size(), 1);
    QVERIFY(Dialogs::shownMessages().first().startsWith("Error: The settings could not be saved"));
    QCOMPARE(f->Options.DefaultTime, 45);
    QCOMPARE(readFile(env.path("plain")), QByteArray("x"));
}

void TestSettings::storedFont_styleOnlyAdded_sizeAndColourRules()
{
    QFont base(QStringLiteral("MS Sans Serif"), 10);
    base.setBold(true);
    QColor color;
    FontSetting s; // no name, bold and italic off
    s.size = 0;    // unusable: the size stays
    s.color = 0x00FF8040;
    StoredFont::apply(s, base, color);
    QCOMPARE(base.family(), QString("MS Sans Serif"));
    QVERIFY(base.bold()); // not taken away
    QVERIFY(!base.italic());
    QCOMPARE(base.pointSize(), 10);
    QCOMPARE(color, QColor(0x40, 0x80, 0xFF));
    QCOMPARE(StoredFont::toStored(color), 0x00FF8040);

    s.size = 100000;
    StoredFont::apply(s, base, color);
    QCOMPARE(base.pointSize(), 10);
    s.size = 24;
    s.italic = true;
    StoredFont::apply(s, base, color);
    QCOMPARE(base.pointSize(), 24);
    QVERIFY(base.italic());

    // A system colour (top byte set) is the window-text colour.
    QCOMPARE(StoredFont::toColor(-16777208), QGuiApplication::palette().color(QPalette::WindowText));
}

void TestSettings::examWindow_loadsFontsAndOptionsAtCreation()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    const QString calc = executableScript(env.path("mycalc"));
    writeFile(env.settingsFile(), "[Options]\nQFontName=Verdana\nQFontSize=14\nQFontBold=1\nQFontColor=255\n"
                                  "AFontName=\nAFontSize=12\nAFontItalic=2\nAFontColor=32768\n"
                                  "EXPFontName=Arial\nShowLearnBtn=1\nTimerOn=0\nDefaultTime=33\n"
                                  "CalcPath=" +
                                      calc.toUtf8() + "\n");
    TTestForm* f = env.createForms();
    QCOMPARE(f->appearance().questionFont.family(), QString("Verdana"));
    QCOMPARE(f->appearance().questionFont.pointSize(), 14);
    QVERIFY(f->appearance().questionFont.bold());
    QCOMPARE(f->appearance().questionColor, QColor(255, 0, 0));
    QCOMPARE(f->appearance().answersFont.family(), QString("MS Sans Serif"));
    QCOMPARE(f->appearance().answersFont.pointSize(), 12);
    QVERIFY(f->appearance().answersFont.italic());
    QVERIFY(!f->appearance().answersFont.bold());
    QCOMPARE(f->appearance().answersColor, QColor(0, 128, 0));
    QCOMPARE(f->appearance().explanationFont.family(), QString("Arial"));
    QCOMPARE(f->appearance().explanationColor, QColor(0, 0, 128));
    QCOMPARE(f->Options.ShowLearnBtn, true);
    QVERIFY(shownIn(f, "LearnButton", "Panel2"));
    QCOMPARE(f->Options.TimerOn, false);
    QCOMPARE(f->Options.DefaultTime, 33);
    QCOMPARE(f->Options.CalcPath, calc);
    QCOMPARE(calcButton(f)->CommandLine(), calc);
    QVERIFY(shownIn(f, "CalcButton", "ItemArea"));
}

void TestSettings::examWindow_withoutSettings_designFontsAndDefaults()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    for (const QFont& font :
         {f->appearance().questionFont, f->appearance().answersFont, f->appearance().explanationFont}) {
        QCOMPARE(font.family(), QString("MS Sans Serif"));
        QCOMPARE(font.pointSize(), 10);
        QVERIFY(!font.bold() && !font.italic());
    }
    QCOMPARE(f->appearance().questionColor, QColor(Qt::black));
    QCOMPARE(f->appearance().answersColor, QColor(Qt::black));
    QCOMPARE(f->appearance().explanationColor, QColor(0, 0, 128));
    QVERIFY(!shownIn(f, "LearnButton", "Panel2"));
    QCOMPARE(f->Options.TimerOn, true);
    QCOMPARE(f->Options.DefaultTime, 90);
    QCOMPARE(f->Options.CalcPath, SettingsStore::defaultCalcPath());
    // The button is there exactly when the default calculator is.
    QCOMPARE(shownIn(f, "CalcButton", "ItemArea"),
             TddgRunButton::FileExists(SettingsStore::defaultCalcPath()));
    QVERIFY(!QFile::exists(env.settingsFile()));
}

void TestSettings::examWindow_missingCalculator_hidesButtonOnlyInMemory()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    const QByteArray stored = "[Options]\nShowCalcBtn=1\nCalcPath=/nowhere/calc.exe\n";
    writeFile(env.settingsFile(), stored);
    Dialogs::clearLog();
    TTestForm* f = env.createForms();
    QVERIFY(Dialogs::shownMessages().isEmpty()); // no error for a missing program
    QVERIFY(!shownIn(f, "CalcButton", "ItemArea"));
    QCOMPARE(f->Options.ShowCalcBtn, false);
    QCOMPARE(calcButton(f)->CommandLine(), QString());
    QCOMPARE(readFile(env.settingsFile()), stored);
}

void TestSettings::examWindow_calculatorNotExecutable_reportedAndHidden()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    writeFile(env.path("notes.txt"), "text");
    writeFile(env.settingsFile(),
              "[Options]\nShowCalcBtn=1\nCalcPath=" + env.path("notes.txt").toUtf8() + "\n");
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    TTestForm* f = env.createForms();
    QCOMPARE(Dialogs::shownMessages(),
             QStringList("Error: " + env.path("notes.txt") + " is not an executable file."));
    QVERIFY(!shownIn(f, "CalcButton", "ItemArea"));
    QCOMPARE(f->Options.ShowCalcBtn, false);
    QCOMPARE(calcButton(f)->CommandLine(), QString());
}

void TestSettings::examWindow_calculatorFound_shownPerSetting()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    const QString calc = executableScript(env.path("calc"));
    writeFile(env.settingsFile(), "[Options]\nShowCalcBtn=0\nCalcPath=" + calc.toUtf8() + "\n");
    TTestForm* f = env.createForms();
    QCOMPARE(calcButton(f)->CommandLine(), calc);
    QVERIFY(!shownIn(f, "CalcButton", "ItemArea"));
    QCOMPARE(f->Options.ShowCalcBtn, false);
}

void TestSettings::examWindow_saveDropsUnderlineAndCutsLongNames()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    QFont font(QString(40, 'N'), 13);
    font.setUnderline(true);
    font.setStrikeOut(true);
    font.setItalic(true);
    {
        ItemAppearance shown = f->appearance();
        shown.answersFont = font;
        f->setAppearance(shown);
    }
    {
        ItemAppearance shown = f->appearance();
        shown.explanationColor = QColor(1, 2, 3);
        f->setAppearance(shown);
    }
    f->SaveSettings();
    const auto values = optionsOf(env.settingsFile());
    QCOMPARE(values.size(), 20);
    QCOMPARE(values.value("AFontName"), QString(31, 'N'));
    QCOMPARE(values.value("AFontSize"), QString("13"));
    QCOMPARE(values.value("AFontItalic"), QString("1"));
    QCOMPARE(values.value("EXPFontColor"), QString::number(1 + 2 * 256 + 3 * 65536));

    // The next start shows the font without underline or strike-out.
    TTestForm* again = env.createForms();
    QCOMPARE(again->appearance().answersFont.family(), QString(31, 'N'));
    QVERIFY(again->appearance().answersFont.italic());
    QVERIFY(!again->appearance().answersFont.underline());
    QVERIFY(!again->appearance().answersFont.strikeOut());
    QCOMPARE(again->appearance().explanationColor, QColor(1, 2, 3));
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
