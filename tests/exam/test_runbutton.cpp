// The calculator button: which files count as programs, the errors of
// CommandLine and of a click, starting a program, and its picture.
#include "TestEnv.h"
#include "ui/exam/TddgRunButton.h"
#include "ui/widgets/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <stdexcept>
#include <unistd.h>

namespace {

QString writeFile(const QString& path, const QByteArray& bytes, bool executable)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    f.close();
    QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    if (executable)
        p |= QFile::ExeOwner | QFile::ExeUser;
    f.setPermissions(p);
    return path;
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

} // namespace

class TestRunButton : public QObject
{
    Q_OBJECT
private slots:
    void isExecutableFile_data();
    void isExecutableFile();
    void commandLine_errorsKeepPreviousProgram_data();
    void commandLine_errorsKeepPreviousProgram();
    void runProgram_startsDetachedWithoutArguments();
    void runProgram_errorNumbers_data();
    void runProgram_errorNumbers();
    void click_showsErrorBox();
    void picture_fromDesktopEntry_elseBuiltIn();
};

void TestRunButton::isExecutableFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind"); // 0 no file, 1 plain file, 2 executable file, 3 folder
    QTest::addColumn<bool>("expected");

    QTest::newRow("calc.exe, no file") << "calc.exe" << 0 << true;
    QTest::newRow("CALC.Exe") << "CALC.Exe" << 0 << true;
    QTest::newRow("calc.exe2") << "calc.exe2" << 0 << true;
    QTest::newRow("calc.ex") << "calc.ex" << 0 << false;
    QTest::newRow("calc, no file") << "calc" << 0 << false;
    QTest::newRow("calc.exe plain file") << "calc.exe" << 1 << true;
    QTest::newRow("program without extension") << "gcalc" << 2 << true;
    QTest::newRow("program with other extension") << "run.sh" << 2 << true;
    QTest::newRow("plain file") << "notes.txt" << 1 << false;
    QTest::newRow("folder") << "bin" << 3 << false;
    QTest::newRow("dot in folder name only") << "dir.exe/calc" << 0 << false;
}

void TestRunButton::isExecutableFile()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(bool, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (kind == 1 || kind == 2)
        writeFile(path, "#!/bin/sh\n", kind == 2);
    if (kind == 3)
        QDir(dir.path()).mkpath(name);
    QCOMPARE(TddgRunButton::IsExecutableFile(path), expected);
}

void TestRunButton::commandLine_errorsKeepPreviousProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind"); // as above
    QTest::addColumn<QString>("message");

    QTest::newRow("missing .exe") << "calc.exe" << 0 << "The file: %1 cannot be found.";
    QTest::newRow(".exe folder") << "calc.exe" << 3 << "The file: %1 cannot be found.";
    QTest::newRow("not executable") << "notes.txt" << 1 << "%1 is not an executable file.";
    QTest::newRow("missing program") << "gcalc" << 0 << "%1 is not an executable file.";
    QTest::newRow("empty") << "" << 0 << "%1 is not an executable file.";
}

void TestRunButton::commandLine_errorsKeepPreviousProgram()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString good = writeFile(dir.filePath("good"), "#!/bin/sh\nexit 0\n", true);
    TddgRunButton button;
    button.show();
    button.setCommandLine(good);
    const qint64 picture = button.icon().cacheKey();

    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (kind == 1)
        writeFile(path, "text", false);
    if (kind == 3)
        QDir(dir.path()).mkpath(name);
    QCOMPARE(errorOf([&] { button.setCommandLine(path); }), message.arg(path));
    QCOMPARE(button.CommandLine(), good);
    QCOMPARE(button.icon().cacheKey(), picture);
}

void TestRunButton::runProgram_startsDetachedWithoutArguments()
{
    QTemporaryDir dir;
    const QString marker = dir.filePath("ran");
    const QString program =
        writeFile(dir.filePath("prog"), "#!/bin/sh\necho \"$#\" > '" + marker.toUtf8() + "'\n", true);
    QCOMPARE(TddgRunButton::RunProgram(program), quint16(0));
    QTRY_VERIFY(QFile::exists(marker) && QFileInfo(marker).size() > 0);
    QFile f(marker);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().trimmed(), QByteArray("0")); // no arguments

    // A relative path is taken in the current folder, not on PATH.
    QFile::remove(marker);
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QCOMPARE(TddgRunButton::RunProgram("prog"), quint16(0));
    QCOMPARE(TddgRunButton::RunProgram("sh"), quint16(ENOENT));
    QDir::setCurrent(old);
    QTRY_VERIFY(QFile::exists(marker));
}

void TestRunButton::runProgram_errorNumbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind"); // as above; 4: executable without an interpreter line
    QTest::addColumn<int>("code");

    QTest::newRow("no program") << "" << 0 << ENOENT;
    QTest::newRow("missing file") << "calc.exe" << 0 << ENOENT;
    QTest::newRow("not executable") << "calc.exe" << 1 << EACCES;
    QTest::newRow("folder") << "bin" << 3 << EACCES;
    QTest::newRow("not a program") << "junk" << 4 << ENOEXEC;
}

void TestRunButton::runProgram_errorNumbers()
{
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(int, code);
    QTemporaryDir dir;
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (kind == 1)
        writeFile(path, "text", false);
    if (kind == 3)
        QDir(dir.path()).mkpath(name);
    if (kind == 4)
        // An ELF magic with nothing runnable behind it; the size comes from the
        // literal itself, without its terminating zero.
        writeFile(path, QByteArrayLiteral("\x7f\x45\x4c\x46\x01\x02\x03 not really"), true);
    QCOMPARE(int(TddgRunButton::RunProgram(path)), code);
}

void TestRunButton::click_showsErrorBox()
{
    TestEnv env;
    TddgRunButton button; // no program assigned
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(Dialogs::shownMessages(), QStringList("Error: Error executing program. Error Code:; 2"));

    const QString program = writeFile(env.path("prog"), "#!/bin/sh\nexit 0\n", true);
    button.setCommandLine(program);
    QFile::remove(program); // deleted since
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    button.click();
    QCOMPARE(Dialogs::shownMessages(), QStringList("Error: Error executing program. Error Code:; 2"));
}

void TestRunButton::picture_fromDesktopEntry_elseBuiltIn()
{
    QTemporaryDir data;
    const QByteArray oldHome = qgetenv("XDG_DATA_HOME"), oldDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.filePath("home")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(data.filePath("system")));
    QDir(data.path()).mkpath("home/applications/sub");

    const QString program = writeFile(data.filePath("mycalc"), "#!/bin/sh\n", true);
    const QString other = writeFile(data.filePath("othercalc"), "#!/bin/sh\n", true);
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(data.filePath("mycalc.png")));
    QFile entry(data.filePath("home/applications/sub/mycalc.desktop"));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Action New]\nExec=" + QFile::encodeName(other) +
                "\nIcon=wrong\n"
                "[Desktop Entry]\nName=My Calc\nExec=env LANG=C \"" +
                QFile::encodeName(program) +
                "\" %U\n"
                "Icon=" +
                QFile::encodeName(data.filePath("mycalc.png")) + "\n");
    entry.close();

    QCOMPARE(TddgRunButton::DesktopIconName(program), data.filePath("mycalc.png"));
    QCOMPARE(TddgRunButton::DesktopIconName(other), QString());
    TddgRunButton button;
    const QImage builtIn = button.icon().pixmap(32, 32).toImage();
    QCOMPARE(builtIn.size(), QSize(32, 32));
    QVERIFY(builtIn.pixelColor(16, 20) != builtIn.pixelColor(0, 0)); // a picture, not a blank
    // Hidden, the button looks its icon up only when it is first shown.
    button.setCommandLine(program);
    QCOMPARE(button.icon().pixmap(32, 32).toImage(), builtIn);
    button.show();
    QCOMPARE(button.icon().pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::red));

    // A program without an entry: the theme's calculator or the built-in one.
    button.setCommandLine(other);
    QVERIFY(!button.icon().pixmap(32, 32).isNull());

    qputenv("XDG_DATA_HOME", oldHome);
    qputenv("XDG_DATA_DIRS", oldDirs);
}

QTEST_MAIN(TestRunButton)
#include "test_runbutton.moc"
