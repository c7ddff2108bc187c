// Every window on a small laptop screen and on a large one: it opens inside
// the screen's area, its smallest size fits it, the windows whose content
// grows can be made larger, and no chart label is cut to "...".
//
// The offscreen platform takes its screen from a configuration file
// (QT_QPA_PLATFORM=offscreen:configfile=...); this test writes one for the
// size given as -screen WIDTHxHEIGHT (1024x600 when none is given).
#include "TestEnv.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/TKeyboardForm.h"

#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QGraphicsTextItem>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

namespace {

QSize g_screen(1024, 600);

struct Fit
{
    QString window;
    QRect frame;
    QSize minimum;
    bool resizable;
    QStringList cut; // chart labels drawn as "..."
};

Fit fitOf(QWidget* w)
{
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        qWarning("%s not exposed", w->metaObject()->className());
    QTest::qWait(20);
    Fit fit{QString::fromLatin1(w->metaObject()->className()),
            w->frameGeometry(),
            w->minimumSizeHint().expandedTo(w->minimumSize()),
            w->maximumSize().width() > w->width(),
            {}};
    const QString shots = qEnvironmentVariable("VELARIX_SHOTS");
    if (!shots.isEmpty())
        w->grab().save(QDir(shots).filePath(
            QStringLiteral("%1x%2 %3.png").arg(g_screen.width()).arg(g_screen.height()).arg(fit.window)));
    for (QChartView* view : w->findChildren<QChartView*>()) {
        view->grab();
        for (QGraphicsItem* item : view->scene()->items())
            if (auto* text = qgraphicsitem_cast<QGraphicsTextItem*>(item))
                if (text->isVisible() && (text->toPlainText().contains(QStringLiteral("...")) ||
                                          text->toPlainText().contains(QChar(0x2026))))
                    fit.cut << view->objectName() + QStringLiteral(": ") + text->toPlainText();
    }
    return fit;
}

QList<Fit> fitOfEveryWindow()
{
    QList<Fit> fits;
    TestEnv env;
    QList<TestItem> bank;
    for (int i = 0; i < 12; ++i)
        bank << TestEnv::item(1, i % 6 + 1, QStringLiteral("Question %1").arg(i + 1), QStringLiteral("b"));
    env.writeBank(bank);
    env.writeEmptyCurrentSet();
    env.writeUserSet({TestEnv::item(0, 3, QStringLiteral("First own"), QStringLiteral("b"))});
    TTestForm* exam = env.createForms();
    TMainForm mainForm(env.windows());
    QDir::setCurrent(env.dir());
    fits << fitOf(&mainForm);
    mainForm.hide();

    fits << fitOf(exam);
    Driver::startExam(exam, "Action1", QStringLiteral("Ann"), 90, 3);
    // The dialogs of the exam window, as they open.
    Dialogs::setModalHandler([&fits](QDialog* d) {
        fits << fitOf(d);
        d->hide();
        return int(QDialog::Rejected);
    });
    for (const char* opens : {"Button1", "NoteButton", "Options1", "About1", "Keyboard1"})
        Driver::press(exam, opens);
    for (int graded = 0; graded < 3; ++graded) {
        // A few attempts in the score history, on different days.
        Dialogs::setModalHandler([](QDialog*) { return int(QDialog::Rejected); });
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(exam, "GradeButton");
        Dialogs::queueAnswer(Dialogs::Yes);
        Driver::press(exam, "Button3");
        Driver::startExam(exam, "Action1", QStringLiteral("Ann"), 90, 3);
    }
    Dialogs::setModalHandler([&fits](QDialog* d) {
        fits << fitOf(d);
        d->hide();
        return int(QDialog::Rejected);
    });
    Dialogs::queueAnswer(Dialogs::Ok);
    Driver::press(exam, "GradeButton");
    Driver::press(exam, "ScoreHistory1");
    TNameForm name(exam);
    fits << fitOf(&name);
    name.hide();
    Dialogs::queueAnswer(Dialogs::Yes);
    Driver::press(exam, "Button3");
    exam->hide();

    Dialogs::setModalHandler([](QDialog* d) {
        d->show();
        return int(QDialog::Accepted);
    });
    mainForm.show();
    Driver::press(&mainForm, "SamplerBtn");
    Dialogs::setModalHandler({});
    fits << fitOf(&env.windows().sampler());
    Dialogs::queueAnswer(Dialogs::Ok);
    env.windows().sampler().close();
    return fits;
}

} // namespace

class TestSmallScreen : public QObject
{
    Q_OBJECT
private slots:
    void theScreenIsTheOneAskedFor()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), g_screen);
    }

    void everyWindowFitsAndOpensInside()
    {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QList<Fit> fits = fitOfEveryWindow();
        QStringList seen, faults;
        for (const Fit& f : fits) {
            seen << f.window;
            std::printf("%dx%d: %s %dx%d at %d,%d\n", g_screen.width(), g_screen.height(),
                        qPrintable(f.window), f.frame.width(), f.frame.height(), f.frame.x(), f.frame.y());
            if (!area.contains(f.frame))
                faults << QStringLiteral("%1 outside the screen: %2,%3 %4x%5")
                              .arg(f.window)
                              .arg(f.frame.x())
                              .arg(f.frame.y())
                              .arg(f.frame.width())
                              .arg(f.frame.height());
            if (f.minimum.width() > area.width() || f.minimum.height() > area.height())
                faults << QStringLiteral("%1 cannot be made small enough").arg(f.window);
            if (!f.cut.isEmpty())
                faults << f.window + QStringLiteral(" cuts ") + f.cut.join(QStringLiteral(", "));
        }
        for (const char* window :
             {"TMainForm", "TTestForm", "TReviewForm", "TNoteForm", "TOptionsForm", "TAboutForm",
              "TKeyboardForm", "TScoreForm", "THistoryForm", "TNameForm", "TSamplerForm"})
            QVERIFY2(seen.contains(QString::fromLatin1(window)), window);
        // The windows whose content grows can be made larger.
        for (const Fit& f : fits)
            if (QStringList{"THistoryForm", "TReviewForm", "TSamplerForm"}.contains(f.window))
                QVERIFY2(f.resizable, qPrintable(f.window));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

int main(int argc, char** argv)
{
    // -screen WxH, taken out before Qt and QtTest see the arguments.
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-screen") == 0 && i + 1 < argc) {
            const QStringList size = QString::fromLatin1(argv[++i]).split(QLatin1Char('x'));
            g_screen = QSize(size.value(0).toInt(), size.value(1).toInt());
            continue;
        }
        args.push_back(argv[i]);
    }
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(QStringLiteral("{\"screens\": [{\"name\": \"laptop\", \"x\": 0, \"y\": 0, \"width\": %1, "
                              "\"height\": %2, \"dpi\": 96, \"dpr\": 1}]}")
                   .arg(g_screen.width())
                   .arg(g_screen.height())
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    int count = int(args.size());
    QApplication app(count, args.data());
    TestSmallScreen test;
    return QTest::qExec(&test, count, args.data());
}

#include "test_smallscreen.moc"
