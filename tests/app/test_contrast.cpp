// Every window, shown under a light and a dark system palette, keeps its
// texts readable: measured on the rendered window, each text stands out
// from what is behind it by at least 4.5:1 (WCAG's measure for body text).
#include "TestEnv.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TProgressForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/settings/TOptionsForm.h"
#include "ui/widgets/Contrast.h"
#include "ui/widgets/DBNavigator.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/TAboutForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QEnterEvent>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A dark palette as desktops' dark themes give it.
QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(53, 53, 53));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    p.setColor(QPalette::Base, QColor(42, 42, 42));
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::ToolTipBase, QColor(53, 53, 53));
    p.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    p.setColor(QPalette::Text, QColor(230, 230, 230));
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(42, 130, 218));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Light, QColor(80, 80, 80));
    p.setColor(QPalette::Midlight, QColor(66, 66, 66));
    p.setColor(QPalette::Mid, QColor(40, 40, 40));
    p.setColor(QPalette::Dark, QColor(30, 30, 30));
    p.setColor(QPalette::Shadow, QColor(20, 20, 20));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(127, 127, 127));
    return p;
}

void usePalette(bool dark)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
}

// What a text in a rectangle of a rendered window reads like: the most
// common colour there is the background, the text the colour that stands
// out from it most (the glyphs' cores are the text's own colour, their
// smoothed edges lie in between; the two most extreme pixels are left out,
// so that a stray dot does not count as text).
double contrastIn(const QImage& image, const QRect& area)
{
    const QRect r = area & image.rect();
    QHash<QRgb, int> counts;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    std::vector<double> ratios;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double r = Contrast::ratio(QColor(background), QColor(it.key()));
        for (int i = 0; i < std::min(it.value(), 3); ++i)
            ratios.push_back(r);
    }
    std::sort(ratios.begin(), ratios.end(), std::greater<double>());
    return ratios.size() > 2 ? ratios[2] : 1.0;
}

struct Reading
{
    QString where;
    double ratio;
};

class Meter
{
public:
    Meter(QWidget* window, QString name) : m_window(window), m_name(std::move(name))
    {
        QTest::qWait(30);
        m_image = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Pictures of what was measured, for a look: VELARIX_SHOTS=folder.
        const QString shots = qEnvironmentVariable("VELARIX_SHOTS");
        if (!shots.isEmpty())
            m_image.save(
                QDir(shots).filePath((QApplication::palette().color(QPalette::Window).lightness() < 128
                                          ? QStringLiteral("dark ")
                                          : QStringLiteral("light ")) +
                                     m_name + QStringLiteral(".png")));
    }

    // Every text, tick and arrow the window shows.
    QList<Reading> readAll()
    {
        for (QWidget* w : m_window->findChildren<QWidget*>()) {
            if (w->window() != m_window || !w->isVisible())
                continue;
            if (auto* view = qobject_cast<QChartView*>(w)) {
                readAxes(view);
                continue;
            }
            if (w->visibleRegion().isEmpty())
                continue;
            if (auto* label = qobject_cast<QLabel*>(w)) {
                if (!label->text().trimmed().isEmpty())
                    read(w, w->rect() & w->visibleRegion().boundingRect());
            } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
                readCheckable(box, QStyle::SE_CheckBoxContents, QStyle::SE_CheckBoxIndicator);
            } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
                readCheckable(radio, QStyle::SE_RadioButtonContents, QStyle::SE_RadioButtonIndicator);
            } else if (auto* tool = qobject_cast<QToolButton*>(w);
                       tool && qobject_cast<DBNavigator*>(w->parentWidget())) {
                if (tool->isEnabled())
                    read(w,
                         QRect(QPoint(0, 0), tool->iconSize())
                             .translated((w->width() - tool->iconSize().width()) / 2,
                                         (w->height() - tool->iconSize().height()) / 2),
                         QStringLiteral(" arrow"));
            } else if (auto* shaded = qobject_cast<ShadedButton*>(w)) {
                if (shaded->isEnabled())
                    readShaded(shaded);
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                if (button->isEnabled() && !button->text().isEmpty())
                    read(w, w->rect().adjusted(4, 4, -4, -4));
            } else if (auto* view = qobject_cast<QChartView*>(w)) {
                readAxes(view);
            }
        }
        return m_readings;
    }
    const QImage& image() const { return m_image; }

private:
    QString nameOf(QWidget* w) const
    {
        return QStringLiteral("%1 %2/%3").arg(m_name, w->metaObject()->className(), w->objectName());
    }
    void read(QWidget* w, const QRect& local, const QString& part = QString())
    {
        if (local.isEmpty())
            return;
        const QRect r(w->mapTo(m_window, local.topLeft()), local.size());
        m_readings.append({nameOf(w) + part, contrastIn(m_image, r)});
    }
    // A caption on a shaded face: the face changes from row to row, so the
    // caption is measured against the face beside it in each of its rows,
    // and its worst row counts.
    void readShaded(ShadedButton* b)
    {
        const QRect text =
            b->fontMetrics().boundingRect(b->rect(), Qt::AlignCenter | Qt::TextShowMnemonic, b->text());
        const QPoint origin = b->mapTo(m_window, QPoint(0, 0));
        const int faceX = origin.x() + std::max(3, text.left() - 4) - 1;
        QColor caption;
        double captionContrast = 0;
        const QColor middle = m_image.pixelColor(faceX, origin.y() + text.center().y());
        for (int y = text.top(); y <= text.bottom(); ++y)
            for (int x = text.left(); x <= text.right(); ++x) {
                const QColor c = m_image.pixelColor(origin + QPoint(x, y));
                if (Contrast::ratio(c, middle) > captionContrast) {
                    captionContrast = Contrast::ratio(c, middle);
                    caption = c;
                }
            }
        double worst = 21;
        for (int y = text.top() + 1; y < text.bottom(); ++y)
            worst = std::min(worst, Contrast::ratio(caption, m_image.pixelColor(faceX, origin.y() + y)));
        m_readings.append({nameOf(b), worst});
    }
    void readCheckable(QAbstractButton* b, QStyle::SubElement text, QStyle::SubElement indicator)
    {
        if (!b->isEnabled())
            return;
        QStyleOptionButton option;
        option.initFrom(b);
        if (!b->text().isEmpty())
            read(b, b->style()->subElementRect(text, &option, b), QStringLiteral(" text"));
        // The tick against its box; the box's frame left out.
        if (b->isChecked())
            read(b, b->style()->subElementRect(indicator, &option, b).adjusted(2, 2, -2, -2),
                 QStringLiteral(" tick"));
    }
    void readAxes(QChartView* view)
    {
        // The labels left of the plot and under it, the axis lines and ticks left out.
        const QRect plot = view->chart()->plotArea().toRect();
        read(view, QRect(0, plot.top(), plot.left() - 8, plot.height()), QStringLiteral(" category labels"));
        read(view, QRect(plot.left(), plot.bottom() + 8, plot.width(), view->height() - plot.bottom() - 8),
             QStringLiteral(" value labels"));
    }

    QWidget* m_window;
    QString m_name;
    QImage m_image;
    QList<Reading> m_readings;
};

// Texts whose colour and background are both the window's own design,
// whatever the system's colours: white on the teal Exit button.
const QStringList BothColoursFixed{
    QStringLiteral("start window ShadedButton/fcShapeBtn3"),
    QStringLiteral("start window, the mouse over each button ShadedButton/fcShapeBtn3")};

QStringList unreadable(const QList<Reading>& readings)
{
    QStringList bad;
    for (const Reading& r : readings)
        if (r.ratio < Contrast::Readable && !BothColoursFixed.contains(r.where))
            bad << QStringLiteral("%1: %2:1").arg(r.where).arg(r.ratio, 0, 'f', 2);
    return bad;
}

// The figures of the places a dark theme used to spoil, for the record.
void report(const QList<Reading>& readings, bool dark)
{
    static const char* const watched[] = {
        "PromptLabel",  "TAboutForm", "TScoreForm QChartView/Chart1", "TNoteForm QLabel/Label2",
        "MarkBox tick", "arrow"};
    for (const Reading& r : readings)
        for (const char* w : watched)
            if (r.where.contains(QString::fromLatin1(w)))
                std::printf("contrast %s %s %.2f:1\n", dark ? "dark" : "light", qPrintable(r.where), r.ratio);
}

// Every shaded button of window as the mouse pointer over it shows it (or
// no longer over it), whichever the tests before left the pointer on.
void hoverEveryShadedButton(QWidget* window, bool over)
{
    for (ShadedButton* b : window->findChildren<ShadedButton*>()) {
        if (over) {
            const QPointF at = QRectF(b->rect()).center();
            QEnterEvent enter(at, at, b->mapToGlobal(at));
            QApplication::sendEvent(b, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(b, &leave);
        }
    }
}

// The windows, each shown with something in it, measured as shown.
QList<Reading> readEveryWindow()
{
    QList<Reading> all;
    auto measure = [&all](QWidget* w, const QString& name) {
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("%s not exposed", qPrintable(name));
        all += Meter(w, name).readAll();
    };

    TestEnv env;
    QList<TestItem> bank;
    for (int i = 0; i < 12; ++i)
        bank << TestEnv::item(1, i % 6 + 1, QStringLiteral("Question %1 about servers").arg(i + 1),
                              i % 3 ? QStringLiteral("b") : QStringLiteral("ac"), i % 3 == 0);
    env.writeBank(bank);
    env.writeEmptyCurrentSet();
    env.writeUserSet({TestEnv::item(0, 3, QStringLiteral("First own"), QStringLiteral("b")),
                      TestEnv::item(0, 5, QStringLiteral("Second own"), QStringLiteral("ac"), true),
                      TestEnv::item(0, 1, QStringLiteral("Third own"), QStringLiteral("d"))});
    TTestForm* exam = env.createForms();
    TMainForm mainForm(env.windows());
    QDir::setCurrent(env.dir());
    measure(&mainForm, QStringLiteral("start window"));
    hoverEveryShadedButton(&mainForm, true);
    measure(&mainForm, QStringLiteral("start window, the mouse over each button"));
    hoverEveryShadedButton(&mainForm, false);
    mainForm.hide();

    exam->showNormal();
    exam->resize(1000, 580);
    measure(exam, QStringLiteral("exam window idle"));
    hoverEveryShadedButton(exam, true);
    measure(exam, QStringLiteral("exam window idle, the mouse over each button"));
    hoverEveryShadedButton(exam, false);
    Driver::startExam(exam, "Action1", QStringLiteral("Ann"), 90, 11);
    Driver::pickChoice(exam, 2);
    Driver::find<QCheckBox>(exam, "MarkBox")->click();
    measure(exam, QStringLiteral("exam window testing"));

    // The dialogs the exam window opens, measured while they are up.
    Dialogs::setModalHandler([&](QDialog* d) {
        if (auto* tabs = d->findChild<QTabWidget*>()) {
            for (int i = 0; i < tabs->count(); ++i) {
                tabs->setCurrentIndex(i);
                measure(d, QStringLiteral("%1 tab %2")
                               .arg(QString::fromLatin1(d->metaObject()->className()))
                               .arg(i + 1));
            }
        } else {
            measure(d, QString::fromLatin1(d->metaObject()->className()));
        }
        d->hide();
        return int(QDialog::Rejected);
    });
    Driver::press(exam, "NoteButton");
    Driver::press(exam, "Options1");
    Driver::press(exam, "About1");
    Dialogs::queueAnswer(Dialogs::Ok); // grade now
    Driver::press(exam, "GradeButton");
    Driver::press(exam, "ScoreHistory1");
    Dialogs::setModalHandler({});

    TNameForm name(exam);
    measure(&name, QStringLiteral("TNameForm"));
    name.hide();
    TProgressForm progress(exam);
    measure(&progress, QStringLiteral("TProgressForm"));
    progress.hide();
    Dialogs::queueAnswer(Dialogs::Yes); // end the exam
    Driver::press(exam, "Button3");
    exam->hide();

    // The sampler on its second item: every arrow of its navigator enabled.
    Dialogs::setModalHandler([](QDialog* d) {
        d->show();
        return int(QDialog::Accepted);
    });
    mainForm.show();
    Driver::press(&mainForm, "SamplerBtn");
    Dialogs::setModalHandler({});
    TSamplerForm& sampler = env.windows().sampler();
    Driver::find<QToolButton>(&sampler, "nbNext")->click();
    measure(&sampler, QStringLiteral("sampler"));
    Dialogs::queueAnswer(Dialogs::Ok);
    sampler.close();
    return all;
}

} // namespace

class TestContrast : public QObject
{
    Q_OBJECT
private slots:
    void everyTextReads_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light palette") << false;
        QTest::newRow("dark palette") << true;
    }
    void everyTextReads()
    {
        QFETCH(bool, dark);
        usePalette(dark);
        const QList<Reading> readings = readEveryWindow();
        report(readings, dark);
        if (qEnvironmentVariableIsSet("VELARIX_CONTRAST_ALL"))
            for (const Reading& r : readings)
                std::printf("  %s %.2f:1\n", qPrintable(r.where), r.ratio);
        QVERIFY(readings.size() > 40);
        const QStringList bad = unreadable(readings);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QLatin1Char('\n'))));
    }

    // The name dialog's number field, enabled again after an exam that fixes
    // its number, takes the desktop's colours as the name field beside it does.
    void nameDialog_numberField_takesTheDesktopsColours_data() { everyTextReads_data(); }
    void nameDialog_numberField_takesTheDesktopsColours()
    {
        QFETCH(bool, dark);
        usePalette(dark);
        TNameForm form;
        form.setNumberEnabled(false);
        form.setNumberEnabled(true);
        auto* number = Driver::find<QSpinBox>(&form, "SpinEdit2");
        auto* name = Driver::find<QLineEdit>(&form, "NameEdit");
        for (QPalette::ColorRole role : {QPalette::Base, QPalette::Text})
            QCOMPARE(number->palette().color(role), name->palette().color(role));
    }

    // The navigator's arrows: an enabled one stands out more than a disabled one.
    void navigatorArrows_enabledStandOutMore_data() { everyTextReads_data(); }
    void navigatorArrows_enabledStandOutMore()
    {
        QFETCH(bool, dark);
        usePalette(dark);
        QWidget window;
        auto* navigator = new DBNavigator(&window);
        window.resize(120, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* first = Driver::find<QToolButton>(&window, "nbFirst");
        auto* next = Driver::find<QToolButton>(&window, "nbNext");
        // No table: every arrow disabled. One enabled to compare.
        QVERIFY(!first->isEnabled());
        next->setEnabled(true);
        const QImage shot = window.grab().toImage();
        auto arrow = [&](QToolButton* b) {
            const QRect r(b->mapTo(&window, QPoint((b->width() - 16) / 2, (b->height() - 16) / 2)),
                          QSize(16, 16));
            return contrastIn(shot, r);
        };
        Q_UNUSED(navigator);
        QVERIFY2(arrow(next) >= Contrast::Readable, qPrintable(QString::number(arrow(next))));
        QVERIFY2(arrow(next) > arrow(first),
                 qPrintable(QStringLiteral("%1 <= %2").arg(arrow(next)).arg(arrow(first))));
    }
};

QTEST_MAIN(TestContrast)
#include "test_contrast.moc"
