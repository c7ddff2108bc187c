// The desktop entry script on a temporary data folder, and the windows' icon.
#include "ui/app/ProgramIcon.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
struct Run
{
    int exitCode = -1;
    QString output;
};

Run runScript(const QString& script, const QStringList& args, const QString& dataHome)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("HOME"), dataHome + QStringLiteral("/home")); // never the real one
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("bash"), QStringList{script} + args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitCode(), QString::fromLocal8Bit(p.readAll())};
}

QStringList pngSizes()
{
    return {QStringLiteral("16"), QStringLiteral("32"),  QStringLiteral("48"),
            QStringLiteral("64"), QStringLiteral("128"), QStringLiteral("256")};
}
} // namespace

class TestDesktopEntry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void installValidateAndRemove()
    {
        QTemporaryDir tmp;
        // A program folder with a blank and a quote in its name.
        const QString program = tmp.filePath(QStringLiteral("Velarix \"2\" folder"));
        QDir().mkpath(program + QStringLiteral("/icons"));
        const QString script = program + QStringLiteral("/install-desktop-entry");
        QVERIFY(QFile::copy(QStringLiteral(INSTALL_SCRIPT), script));
        for (const QString& name : QDir(QStringLiteral(ICON_DIR)).entryList(QDir::Files))
            QVERIFY(
                QFile::copy(QStringLiteral(ICON_DIR "/") + name, program + QStringLiteral("/icons/") + name));
        const QString data = tmp.filePath(QStringLiteral("data"));

        // Without the program there is nothing to point the entry at.
        Run r = runScript(script, {}, data);
        QCOMPARE(r.exitCode, 1);
        QVERIFY(r.output.contains(QStringLiteral("not built")));
        QVERIFY(!QFile::exists(data + QStringLiteral("/applications/com.examora.velarix.desktop")));

        QFile exe(program + QStringLiteral("/velarix"));
        QVERIFY(exe.open(QIODevice::WriteOnly));
        exe.write("#!/bin/sh\n");
        exe.close();
        exe.setPermissions(exe.permissions() | QFile::ExeOwner);
        r = runScript(script, {}, data);
        QVERIFY2(r.exitCode == 0, qPrintable(r.output));
        const QString entry = data + QStringLiteral("/applications/com.examora.velarix.desktop");
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY(text.contains(QStringLiteral("\nName=Velarix 2.0\n")));
        QVERIFY(text.contains(QStringLiteral("\nIcon=com.examora.velarix\n")));
        QVERIFY2(text.contains(
                     QStringLiteral("\nExec=\"%1/Velarix \\\\\"2\\\\\" folder/velarix\"\n").arg(tmp.path())),
                 qPrintable(text));
        QVERIFY(QFile::exists(data + QStringLiteral("/icons/hicolor/scalable/apps/com.examora.velarix.svg")));
        for (const QString& s : pngSizes())
            QVERIFY(QFile::exists(
                data + QStringLiteral("/icons/hicolor/%1x%1/apps/com.examora.velarix.png").arg(s)));

        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (!validator.isEmpty()) {
            QProcess v;
            v.setProcessChannelMode(QProcess::MergedChannels);
            v.start(validator, {entry});
            QVERIFY(v.waitForFinished(30000));
            QVERIFY2(v.exitCode() == 0, v.readAll().constData());
        } else {
            qInfo("desktop-file-validate is not installed; the entry was not validated");
        }

        // Installing again refreshes; --remove takes everything out.
        QCOMPARE(runScript(script, {}, data).exitCode, 0);
        r = runScript(script, {QStringLiteral("--remove")}, data);
        QCOMPARE(r.exitCode, 0);
        QVERIFY(!QFile::exists(entry));
        QVERIFY(
            !QFile::exists(data + QStringLiteral("/icons/hicolor/scalable/apps/com.examora.velarix.svg")));
        for (const QString& s : pngSizes())
            QVERIFY(!QFile::exists(
                data + QStringLiteral("/icons/hicolor/%1x%1/apps/com.examora.velarix.png").arg(s)));
        QCOMPARE(runScript(script, {QStringLiteral("--bogus")}, data).exitCode, 2);
    }

    void programIcon_hasEverySize()
    {
        const QIcon icon = ProgramIcon::icon();
        QVERIFY(!icon.isNull());
        for (int size : {16, 32, 48, 256}) {
            const QPixmap pm = icon.pixmap(size, size);
            QCOMPARE(pm.size(), QSize(size, size));
            QVERIFY(pm.toImage().pixelColor(size / 2, size / 2).alpha() > 0);
        }
        // The shipped drawing renders as well.
        QVERIFY(!QIcon(QStringLiteral(ICON_DIR "/velarix.svg")).pixmap(64, 64).isNull());
    }
};

QTEST_MAIN(TestDesktopEntry)
#include "test_desktopentry.moc"
