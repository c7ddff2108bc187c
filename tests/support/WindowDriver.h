#pragma once

#include <QApplication>
#include <QObject>
#include <QString>
#include <QWidget>

class QDialog;
class TTestForm;

// Finds a window's controls by their design names (their objectNames) and
// takes the program's usual roads through its windows, the way a candidate
// does: with real clicks and keys.
namespace Driver {

namespace detail {
// The objects named `name` under root, not looking inside another window
// (a dialog made as root's child); all names met go to seen.
QList<QObject*> named(QObject* root, const QString& name, QStringList* seen);
// Fails the running test: what was looked for, and what was there.
void failFind(const QObject* root, const QString& name, const char* type, const QStringList& seen);
void failWindow(const char* type);
} // namespace detail

// The control of class T named `name` in window. When there is none, the
// running test fails with the names the window does have, and this returns
// null.
template <typename T> T* find(QObject* window, const QString& name)
{
    QStringList seen;
    for (QObject* o : detail::named(window, name, &seen))
        if (T* t = dynamic_cast<T*>(o))
            return t;
    detail::failFind(window, name, typeid(T).name(), seen);
    return nullptr;
}
template <typename T> T* find(QObject* window, const char* name)
{
    return find<T>(window, QString::fromLatin1(name));
}
// One of a row of like controls: ("RadioButton", 3) is RadioButton3.
template <typename T> T* find(QObject* window, const char* name, int number)
{
    return find<T>(window, QString::fromLatin1(name) + QString::number(number));
}

// The window of class T that exists now, or null.
template <typename T> T* made()
{
    for (QWidget* w : QApplication::allWidgets())
        if (T* t = dynamic_cast<T*>(w))
            return t;
    return nullptr;
}
// The same, failing the running test when there is none.
template <typename T> T* window()
{
    T* t = made<T>();
    if (!t)
        detail::failWindow(typeid(T).name());
    return t;
}

// ---- the exam window ------------------------------------------------------------

// Answers the next name dialog with OK (name, minutes, number of items;
// 0 keeps the number shown), typed into its fields.
void acceptNameDialog(const QString& name = QStringLiteral("Tester"), int minutes = 90, int count = 0);
// Answers the next name dialog with Cancel.
void cancelNameDialog();
// Starts an exam from the "Exa&ms" menu action of that design name
// ("Action1" .. "Action5", "AllQAct", "RandAct", "UserAct", "RetakeAct"),
// the name dialog answered with OK. seed fixes the draw (0 leaves it to the clock).
void startExam(TTestForm* exam, const char* action, const QString& name = QStringLiteral("Tester"),
               int minutes = 90, quint32 seed = 0);
// Clicks the letter of choice k (1..6) of the item shown.
void pickChoice(TTestForm* exam, int k);
// Clicks a button or triggers an action of the exam window by design name.
void press(QObject* window, const char* name);
// The timer of that design name in window ticks once, as when its interval
// runs out (whether it is running or not).
void tick(QObject* window, const char* timerName);
// "&Grade Now" answered OK, then "&View Answers" in the score window; with
// printFirst its Print is pressed before, the print dialog cancelled. The
// exam window is then reviewing.
void gradeAndView(TTestForm* exam, bool printFirst = false);
// The numbers (Q_OR_NUMBER) of the exam's items, lowest first.
QList<qint64> examNumbers(TTestForm* exam);

} // namespace Driver

// ---- charts of the score and history windows ----------------------------------
class QBarCategoryAxis;
class QBarSet;
class QChart;
namespace Driver {
// The chart shown by the chart view of that design name.
QChart* chart(QObject* window, const char* viewName);
// The chart's first bar set, and the category axis of its bars.
QBarSet* barSet(QChart* chart);
QBarCategoryAxis* barCategories(QChart* chart);
} // namespace Driver
