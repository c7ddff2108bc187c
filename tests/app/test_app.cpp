#include "TestEnv.h"
#include "core/sampler/TDM.h"
#include "core/tables/Table.h"
#include "ui/app/Application.h"
#include "ui/app/InstanceLock.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TPict1Form.h"
#include "ui/exam/TPict2Form.h"
#include "ui/exam/TProgressForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/review/TNoteForm.h"
#include "ui/review/TReviewForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/settings/TOptionsForm.h"
#include "ui/widgets/DBMemo.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/PanelStatusBar.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/ShadedLabel.h"
#include "ui/widgets/TAboutForm.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

class TestApp : public QObject
{
    Q_OBJECT
private:
    // Starts the program with its own runtime and settings folders.
    static void startProgram(QProcess& p, const QString& program, const QString& runtime)
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        e.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime);
        p.setProcessEnvironment(e);
        p.start(program, {});
        QVERIFY(p.waitForStarted());
    }
    static bool waitForFile(const QString& path, int ms)
    {
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(path) && t.elapsed() < ms)
            QTest::qWait(50);
        return QFile::exists(path);
    }

private slots:
    void lockName_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::newRow("upper case") << QStringLiteral("C:/apps/EXAMPREP.EXE")
                                    << QStringLiteral("PREVINST:Examprep");
        QTest::newRow("first letter kept")
            << QStringLiteral("/opt/velarix/velarix") << QStringLiteral("PREVINST:velarix");
        QTest::newRow("mixed case") << QStringLiteral("VeLaRiX") << QStringLiteral("PREVINST:Velarix");
        QTest::newRow("cut at first dot")
            << QStringLiteral("/x/Exam.prep.bin") << QStringLiteral("PREVINST:Exam");
        QTest::newRow("other name") << QStringLiteral("/x/velarix-COPY")
                                    << QStringLiteral("PREVINST:velarix-copy");
    }
    void lockName()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        QCOMPARE(InstanceLock::lockNameFor(program), name);
    }

    void infoOptions_answerAtOnce_withoutADisplayOrTheLock()
    {
        QTemporaryDir runtime;
        QProcess running;
        startProgram(running, QStringLiteral(VELARIX_PROGRAM), runtime.path());
        QVERIFY(waitForFile(runtime.filePath(QStringLiteral("PREVINST:velarix.sock")), 15000));
        for (const QString& option : {QStringLiteral("--version"), QStringLiteral("-v"),
                                      QStringLiteral("--help"), QStringLiteral("-h")}) {
            QProcess p;
            QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                e.remove(QString::fromLatin1(name));
            e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
            p.setProcessEnvironment(e);
            p.start(QStringLiteral(VELARIX_PROGRAM), {option});
            QVERIFY2(p.waitForFinished(5000), qPrintable(option));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 0);
            const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
            if (option.contains(u'v'))
                QCOMPARE(out.trimmed(), QStringLiteral("velarix ") + QStringLiteral(VELARIX_VERSION));
            else
                QVERIFY2(out.contains(QStringLiteral("--version")) && out.contains(QStringLiteral("Usage:")),
                         qPrintable(out));
        }
        // The running copy was neither woken nor replaced.
        QCOMPARE(running.state(), QProcess::Running);
        running.kill();
        running.waitForFinished();
    }

    void secondCopy_wakesTheFirstAndEnds()
    {
        QTemporaryDir runtime;
        QProcess first;
        startProgram(first, QStringLiteral(VELARIX_PROGRAM), runtime.path());
        QVERIFY(waitForFile(runtime.filePath(QStringLiteral("PREVINST:velarix.sock")), 15000));

        QProcess second;
        startProgram(second, QStringLiteral(VELARIX_PROGRAM), runtime.path());
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        // Under another file name the program derives another lock and runs beside.
        const QString copy = runtime.filePath(QStringLiteral("Examprep"));
        QVERIFY(QFile::copy(QStringLiteral(VELARIX_PROGRAM), copy));
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ExeOwner);
        QProcess other;
        startProgram(other, copy, runtime.path());
        QVERIFY(!other.waitForFinished(1500));
        other.kill();
        other.waitForFinished();

        // A copy that was killed leaves a lock that does not block the next start.
        first.kill();
        first.waitForFinished();
        QProcess again;
        startProgram(again, QStringLiteral(VELARIX_PROGRAM), runtime.path());
        QVERIFY(!again.waitForFinished(1500));
        again.kill();
        again.waitForFinished();
    }

    void instanceLock_neverInAFolderOthersCanWrite()
    {
        QTemporaryDir base;
        const QString shared = base.filePath(QStringLiteral("shared"));
        QVERIFY(QDir().mkpath(shared));
        QVERIFY(QFile::setPermissions(shared, QFile::Permissions(0x7777)));
        const QString own = base.filePath(QStringLiteral("cache/velarix"));
        const QString notAFolder = base.filePath(QStringLiteral("file"));
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        QVERIFY(!InstanceLock::isPrivateFolder(shared));
        QVERIFY(!InstanceLock::isPrivateFolder(notAFolder));
        QVERIFY(InstanceLock::isPrivateFolder(own)); // made, for its owner only
        QVERIFY(!(QFile::permissions(own) & (QFile::WriteGroup | QFile::WriteOther | QFile::ReadOther)));
        for (const QString& folder : InstanceLock::defaultFolders())
            QVERIFY2(QDir(folder) != QDir(QDir::tempPath()), qPrintable(folder));

        InstanceLock first(QStringLiteral("PREVINST:t"), {notAFolder, shared, own});
        QVERIFY(first.tryLock());
        QCOMPARE(first.folder(), own);
        QVERIFY(QDir(shared).isEmpty());
        QVERIFY(first.listen());
        InstanceLock second(QStringLiteral("PREVINST:t"), {shared, own});
        QVERIFY(!second.tryLock());
        QVERIFY(second.wakeRunning());

        // Where no lock can be made at all, every copy starts as the first.
        InstanceLock lost(QStringLiteral("PREVINST:t"), {notAFolder, shared});
        QVERIFY(lost.tryLock());
        QVERIFY(lost.folder().isEmpty());
        InstanceLock lostToo(QStringLiteral("PREVINST:t"), {notAFolder, shared});
        QVERIFY(lostToo.tryLock());
    }

    void lockPlantedInTheSharedTemporaryFolder_doesNotStopTheProgram()
    {
        // No usable runtime folder, and someone else's live lock in the
        // temporary folder that everyone can write.
        QTemporaryDir base;
        const QString shared = base.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(shared));
        QVERIFY(QFile::setPermissions(shared, QFile::Permissions(0x7777)));
        QLockFile planted(QDir(shared).filePath(QStringLiteral("PREVINST:velarix.lock")));
        QVERIFY(planted.tryLock(0));
        const QString runtime = base.filePath(QStringLiteral("runtime-is-a-file"));
        QFile file(runtime);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        // Qt's own fallback runtime folder in the temporary folder, made
        // beforehand by another user.
        const QString fallback = QDir(shared).filePath(
            QStringLiteral("runtime-%1").arg(QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name)));
        QVERIFY(QDir().mkpath(fallback));
        if (::chown(QFile::encodeName(fallback).constData(), 65534, 65534) != 0)
            QSKIP("needs the right to give a folder to another user");

        QProcess program;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        e.insert(QStringLiteral("XDG_CONFIG_HOME"), base.filePath(QStringLiteral("config")));
        e.insert(QStringLiteral("XDG_CACHE_HOME"), base.filePath(QStringLiteral("cache")));
        e.insert(QStringLiteral("TMPDIR"), shared);
        program.setProcessEnvironment(e);
        program.start(QStringLiteral(VELARIX_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QVERIFY(!program.waitForFinished(2000));
        QVERIFY(QFile::exists(base.filePath(QStringLiteral("cache/velarix/PREVINST:velarix.lock"))));
        program.kill();
        program.waitForFinished();
    }

    // This process is the running copy, with the exam start dialog open and
    // one of the dialog's own windows active over it; a real second copy of
    // the program is started and must bring the dialog to the front.
    void secondCopy_bringsTheRunningCopysDialogToTheFront()
    {
        QTemporaryDir runtime;
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        InstanceLock lock(InstanceLock::lockNameFor(QStringLiteral(VELARIX_PROGRAM)));
        QVERIFY(lock.tryLock());
        QVERIFY(lock.listen());
        connect(&lock, &InstanceLock::activateRequested, &lock, &Application::BringRunningInstanceToFront);

        TestEnv env;
        env.writeBank(TestEnv::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({});
        TTestForm* exam = env.createForms();
        exam->show();
        QVERIFY(QTest::qWaitForWindowExposed(exam));
        TNameForm nameForm(exam);                         // a modal dialog of the exam window
        nameForm.setWindowModality(Qt::ApplicationModal); // as exec() shows it
        nameForm.show();
        QVERIFY(QTest::qWaitForWindowActive(&nameForm));
        QWidget other(&nameForm, Qt::Window); // not blocked by the dialog, so it can take the focus
        other.setWindowTitle(QStringLiteral("in front"));
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));

        QProcess second;
        startProgram(second, QStringLiteral(VELARIX_PROGRAM), runtime.path());
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(QApplication::activeWindow(), &nameForm);
        QVERIFY(nameForm.isVisible());
        // A visible popup menu is never the window that is brought up.
        QMenu popup;
        popup.addAction(QStringLiteral("x"));
        popup.popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QCOMPARE(Application::RunningWindow(), &nameForm);
        popup.close();

        // A minimised window comes back as it was before, here maximised.
        nameForm.hide();
        other.hide();
        exam->showMaximized();
        exam->showMinimized();
        QTRY_VERIFY(exam->isMinimized());
        QProcess third;
        startProgram(third, QStringLiteral(VELARIX_PROGRAM), runtime.path());
        QVERIFY(third.waitForFinished(10000));
        QTRY_VERIFY(!exam->isMinimized());
        QVERIFY(exam->windowState() & Qt::WindowMaximized);
        QTRY_COMPARE(QApplication::activeWindow(), exam);

        if (oldRuntime.isNull())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }

    void startUp_makesTheExamWindowOnly_theRestOnFirstUse()
    {
        TestEnv env;
        env.writeBank(TestEnv::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({TestEnv::item(1, 2, QStringLiteral("Own question"), QStringLiteral("a"))});
        TTestForm* exam = env.createForms();
        const QList<QObject*> made{Driver::made<TProgressForm>(), Driver::made<TScoreForm>(),
                                   Driver::made<TNameForm>(),     Driver::made<TReviewForm>(),
                                   Driver::made<TNoteForm>(),     Driver::made<TOptionsForm>(),
                                   Driver::made<TAboutForm>(),    Driver::made<TSamplerForm>(),
                                   Driver::made<TPict1Form>(),    Driver::made<TPict2Form>()};
        QCOMPARE(made.count(nullptr), made.size());

        // A window made over a set that is already open shows where it stands.
        env.windows().dataModule().dtUserSet->open();
        TSamplerForm* sampler = &env.windows().sampler();
        QCOMPARE(Driver::find<PanelStatusBar>(sampler, "StatusBar1")->panelText(1),
                 QStringLiteral(" Items: 1"));
        QVERIFY(Driver::find<QLabel>(sampler, "fcLabel4")->text().startsWith(QStringLiteral("Item ID: ")));
        QCOMPARE(Driver::find<QPlainTextEdit>(sampler, "DBMemo1")->toPlainText(),
                 QStringLiteral("Own question"));
        // The exam window's dialogs are its own, made when first opened, so
        // they go with it.
        Dialogs::setModalHandler([](QDialog*) { return int(QDialog::Accepted); });
        Driver::press(exam, "About1");
        QCOMPARE(Driver::window<TAboutForm>()->parent(), exam);
        env.destroyForms();
        QVERIFY(!Driver::made<TAboutForm>() && !Driver::made<TSamplerForm>());
    }

    void startWindow_hidesWhileTheExamWindowIsOpen()
    {
        TestEnv env;
        env.writeBank(TestEnv::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({});
        const QString here = QDir::currentPath();
        env.createForms();
        TMainForm mainForm(env.windows());
        QDir::setCurrent(here); // the start window moved to the program's folder
        QCOMPARE(mainForm.windowTitle(), QStringLiteral("Velarix 2.0"));
        QCOMPARE(Driver::find<QPushButton>(&mainForm, "StartTestBtn")->size(), QSize(138, 34));
        QCOMPARE(Driver::find<QPushButton>(&mainForm, "StartTestBtn")->text(),
                 QStringLiteral("Start &Testing"));
        QCOMPARE(Driver::find<QPushButton>(&mainForm, "SamplerBtn")->text(), QStringLiteral("Test &Sampler"));
        QCOMPARE(Driver::find<QPushButton>(&mainForm, "fcShapeBtn3")->text(), QStringLiteral("E&xit"));
        mainForm.show();
        bool hiddenWhileOpen = false;
        Dialogs::setModalHandler([&](QDialog* dialog) {
            hiddenWhileOpen = dialog == &env.windows().exam() && !mainForm.isVisible();
            dialog->show();
            dialog->close();
            return int(QDialog::Rejected);
        });
        Driver::press(&mainForm, "StartTestBtn");
        QVERIFY(hiddenWhileOpen);
        QVERIFY(mainForm.isVisible());
        mainForm.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&mainForm));
        QTest::keyClick(&mainForm, Qt::Key_X, Qt::AltModifier); // the button's click is animated
        QTRY_VERIFY(!mainForm.isVisible());
        QVERIFY(!mainForm.isVisible());
    }
};

QTEST_MAIN(TestApp)
#include "test_app.moc"
