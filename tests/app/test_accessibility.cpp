// Every input of every window has a name that a screen reader can read, and
// the answer controls say what kind of choice they offer.
#include "TestEnv.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"
#include "ui/browser/TBrowserForm.h"
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
#include "ui/widgets/TAboutForm.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>

namespace {
// The controls a candidate types into, ticks, picks from or presses. The
// parts that other controls are made of (a spin box's editor, scroll bars,
// a tab bar's arrows) are named through their owner.
bool isInput(QWidget* w)
{
    QWidget* parent = w->parentWidget();
    if (parent && (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent) ||
                   qobject_cast<QTabBar*>(parent) || qobject_cast<QAbstractItemView*>(parent)))
        return false;
    // Qt's own helpers (a menu bar's or tool bar's overflow button).
    if (w->objectName().startsWith(QStringLiteral("qt_")))
        return false;
    if (qobject_cast<QScrollBar*>(w))
        return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSlider*>(w);
}

QString accessibleName(QWidget* w)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

QStringList unnamedInputs(QWidget* window)
{
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() == window && isInput(w) && accessibleName(w).isEmpty())
            unnamed << QStringLiteral("%1 %2 (%3)")
                           .arg(window->metaObject()->className(), w->metaObject()->className(),
                                w->objectName());
    }
    return unnamed;
}
} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void everyInputOfEveryWindowHasAName_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* name : {"TMainForm", "TTestForm", "TProgressForm", "TScoreForm", "TNameForm",
                                 "TReviewForm", "TNoteForm", "TOptionsForm", "TAboutForm", "TSamplerForm",
                                 "TPict1Form", "TPict2Form", "TBrowserForm"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyInputOfEveryWindowHasAName()
    {
        QFETCH(QString, window);
        TestEnv env;
        env.writeBank(TestEnv::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({});
        TTestForm* exam = env.createForms();
        TMainForm mainForm(env.windows());
        // Each of the exam window's dialogs as the exam window makes it.
        TProgressForm progress(exam);
        TScoreForm score(exam);
        TNameForm name(exam);
        TReviewForm review(exam);
        TNoteForm note(exam);
        TOptionsForm options(exam);
        TAboutForm about(exam);
        TPict1Form pict1(exam);
        TPict2Form pict2(exam);
        TBrowserForm browser(exam);
        const QList<QWidget*> windows{&mainForm, exam,    &progress, &score,
                                      &name,     &review, &note,     &options,
                                      &about,    &pict1,  &pict2,    &env.windows().sampler(),
                                      &browser};
        QWidget* shown = nullptr;
        for (QWidget* w : windows) {
            if (QString::fromLatin1(w->metaObject()->className()) == window)
                shown = w;
        }
        QVERIFY(shown);
        const QStringList unnamed = unnamedInputs(shown);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("\n"))));
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
