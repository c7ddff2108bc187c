// velarix-screenshots FOLDER: pictures of the exam window with its buttons,
// the two exhibit windows, the calculator picture and the three tabs of the
// Options dialog, for a look at the windows. Runs in a temporary program
// folder, like the tests, and never touches the user's settings or tables.
#include "TestEnv.h"
#include "ui/app/Application.h"
#include "ui/exam/TPict1Form.h"
#include "ui/exam/TPict2Form.h"
#include "ui/exam/TTestForm.h"
#include "ui/exam/TddgRunButton.h"
#include "ui/settings/TOptionsForm.h"
#include "ui/widgets/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

namespace {
QString g_folder;

bool save(QWidget* w, const QString& name)
{
    QTest::qWait(50);
    const QString file = QDir(g_folder).filePath(name + QStringLiteral(".png"));
    if (w->grab().save(file))
        return true;
    std::fprintf(stderr, "velarix-screenshots: cannot write %s\n", qPrintable(file));
    return false;
}

QImage networkDrawing()
{
    QImage bmp(320, 200, QImage::Format_RGB32);
    bmp.fill(Qt::white);
    QPainter p(&bmp);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(80, 60, 240, 60);
    p.drawLine(160, 60, 160, 140);
    for (QPoint c : {QPoint(80, 60), QPoint(240, 60), QPoint(160, 140)}) {
        p.setBrush(QColor(120, 170, 230));
        p.drawRoundedRect(QRect(c - QPoint(40, 18), QSize(80, 36)), 6, 6);
    }
    p.drawText(QRect(40, 42, 80, 36), Qt::AlignCenter, QStringLiteral("srv01"));
    p.drawText(QRect(200, 42, 80, 36), Qt::AlignCenter, QStringLiteral("srv02"));
    p.drawText(QRect(120, 122, 80, 36), Qt::AlignCenter, QStringLiteral("switch"));
    return bmp;
}

bool examWindowAndExhibits()
{
    TestEnv env;
    if (!networkDrawing().save(env.path(QStringLiteral("net.bmp"))) ||
        !networkDrawing().mirrored(true, false).save(env.path(QStringLiteral("net2.bmp"))))
        return false;
    TestItem a = TestEnv::item(1, 1, QStringLiteral("Q1"), QStringLiteral("b"));
    a.pict1 = QStringLiteral("net.bmp");
    a.pict2 = QStringLiteral("net2.bmp");
    env.writeBank({a});
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    QFile calc(env.path(QStringLiteral("calc")));
    if (!calc.open(QIODevice::WriteOnly))
        return false;
    calc.write("#!/bin/sh\n");
    calc.close();
    calc.setPermissions(calc.permissions() | QFile::ExeOwner);
    QFile settings(env.settingsFile());
    if (!settings.open(QIODevice::WriteOnly))
        return false;
    settings.write("[Options]\nCalcPath=" + env.path(QStringLiteral("calc")).toUtf8() + "\n");
    settings.close();

    TTestForm* f = env.createForms();
    Driver::startExam(f, "Action1");
    f->show();
    bool ok = save(f, QStringLiteral("examwindow-buttons"));
    ok = TddgRunButton::CalculatorPicture().scaled(256, 256).save(
             QDir(g_folder).filePath(QStringLiteral("calculator-picture.png"))) &&
         ok;
    Dialogs::setModalHandler([&ok](QDialog* d) {
        d->show();
        ok =
            save(d, qobject_cast<TPict1Form*>(d) ? QStringLiteral("exhibit1") : QStringLiteral("exhibit2")) &&
            ok;
        d->hide();
        return int(QDialog::Accepted);
    });
    Driver::press(f, "ExhBtnA");
    Driver::press(f, "ExhBtnB");
    Dialogs::setModalHandler({});
    return ok;
}

bool optionsTabs()
{
    TestEnv env;
    env.writeEmptyCurrentSet();
    TTestForm* f = env.createForms();
    bool ok = true;
    Dialogs::setModalHandler([&ok](QDialog* d) {
        if (!qobject_cast<TOptionsForm*>(d))
            return int(QDialog::Rejected);
        d->show();
        for (int tab = 0; tab < 3; ++tab) {
            Driver::find<QTabWidget>(d, "PageControl1")->setCurrentIndex(tab);
            ok = save(d, QStringLiteral("options-tab%1").arg(tab + 1)) && ok;
        }
        d->hide();
        return int(QDialog::Rejected);
    });
    Driver::press(f, "Options1");
    Dialogs::setModalHandler({});
    return ok;
}
} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velarix-screenshots FOLDER\n");
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(g_folder)) {
        std::fprintf(stderr, "velarix-screenshots: cannot make %s\n", argv[1]);
        return 1;
    }
    g_folder = QDir(g_folder).absolutePath();
    QCoreApplication::setApplicationName(QStringLiteral("Velarix 2.0"));
    Application::installFontSubstitutions();
    const bool exam = examWindowAndExhibits();
    const bool options = optionsTabs();
    return exam && options ? 0 : 1;
}
