#include "WindowDriver.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "ui/exam/ChoiceLabel.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/widgets/Dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <algorithm>

namespace Driver {
namespace detail {

namespace {
void collect(QObject* object, QObject* root, const QString& name, QStringList* seen, QList<QObject*>* found)
{
    for (QObject* child : object->children()) {
        if (child != root && qobject_cast<QDialog*>(child))
            continue; // another window, with controls of its own
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_")))
            seen->append(child->objectName());
        if (child->objectName() == name)
            found->append(child);
        collect(child, root, name, seen, found);
    }
}
} // namespace

QList<QObject*> named(QObject* root, const QString& name, QStringList* seen)
{
    QList<QObject*> found;
    if (root)
        collect(root, root, name, seen, &found);
    return found;
}

void failFind(const QObject* root, const QString& name, const char* type, const QStringList& seen)
{
    QStringList names = seen;
    names.sort();
    names.removeDuplicates();
    const QString message =
        root ? QStringLiteral("no %1 named \"%2\" in %3; it has: %4")
                   .arg(QString::fromLatin1(type), name, QString::fromLatin1(root->metaObject()->className()),
                        names.join(QStringLiteral(", ")))
             : QStringLiteral("no window to look for \"%1\" in").arg(name);
    qCritical("%s", qPrintable(message));
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

void failWindow(const char* type)
{
    const QString message =
        QStringLiteral("no window of class %1 has been made").arg(QString::fromLatin1(type));
    qCritical("%s", qPrintable(message));
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

} // namespace detail

void acceptNameDialog(const QString& name, int minutes, int count)
{
    Dialogs::setModalHandler([name, minutes, count](QDialog* dialog) {
        if (!qobject_cast<TNameForm*>(dialog))
            return int(QDialog::Rejected);
        find<QLineEdit>(dialog, "NameEdit")->setText(name);
        find<QSpinBox>(dialog, "SpinEdit1")->setValue(minutes);
        if (count > 0)
            find<QSpinBox>(dialog, "SpinEdit2")->setValue(count);
        find<QAbstractButton>(dialog, "BitBtn1")->click();
        return dialog->result();
    });
}

void cancelNameDialog()
{
    Dialogs::setModalHandler([](QDialog* dialog) {
        if (qobject_cast<TNameForm*>(dialog))
            find<QAbstractButton>(dialog, "BitBtn2")->click();
        return int(QDialog::Rejected);
    });
}

void startExam(TTestForm* exam, const char* action, const QString& name, int minutes, quint32 seed)
{
    if (seed)
        exam->SeedSource = [seed] { return seed; };
    acceptNameDialog(name, minutes);
    press(exam, action);
}

void pickChoice(TTestForm* exam, int k)
{
    ChoiceLabel* label = find<ChoiceLabel>(exam, "ALabel", k);
    if (label)
        QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, label->rect().center());
}

void press(QObject* window, const char* name)
{
    QStringList seen;
    for (QObject* o : detail::named(window, QString::fromLatin1(name), &seen)) {
        if (auto* button = qobject_cast<QAbstractButton*>(o)) {
            button->click();
            return;
        }
        if (auto* action = qobject_cast<QAction*>(o)) {
            action->trigger();
            return;
        }
    }
    detail::failFind(window, QString::fromLatin1(name), "button or action", seen);
}

void gradeAndView(TTestForm* exam, bool printFirst)
{
    Dialogs::queueAnswer(Dialogs::Ok);
    if (printFirst)
        Dialogs::queuePrintAnswer(false);
    Dialogs::setModalHandler([printFirst](QDialog* d) {
        if (qobject_cast<TScoreForm*>(d)) {
            if (printFirst)
                press(d, "BitBtn2");
            press(d, "BitBtn1");
        }
        return int(QDialog::Accepted);
    });
    press(exam, "GradeButton");
    QCOMPARE(exam->examMode, ExamMode::Reviewing);
}

QList<qint64> examNumbers(TTestForm* exam)
{
    QList<qint64> ids;
    Table& t = *exam->dtCurrentSet;
    t.disableControls();
    for (t.first(); !t.eof(); t.next())
        ids << t.fieldByName(ItemRecord::Q_OR_NUMBER).asInteger();
    t.first();
    t.enableControls();
    std::sort(ids.begin(), ids.end());
    return ids;
}

void tick(QObject* window, const char* timerName)
{
    if (QTimer* timer = find<QTimer>(window, timerName))
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
}

} // namespace Driver

// ---- charts of the score and history windows ----------------------------------
#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QChartView>

namespace Driver {

QChart* chart(QObject* window, const char* viewName)
{
    QChartView* view = find<QChartView>(window, viewName);
    return view ? view->chart() : nullptr;
}

QBarSet* barSet(QChart* chart)
{
    for (QAbstractSeries* series : chart ? chart->series() : QList<QAbstractSeries*>())
        if (auto* bars = qobject_cast<QAbstractBarSeries*>(series); bars && !bars->barSets().isEmpty())
            return bars->barSets().first();
    QTest::qFail("the chart has no bar set", __FILE__, __LINE__);
    return nullptr;
}

QBarCategoryAxis* barCategories(QChart* chart)
{
    for (QAbstractAxis* axis : chart ? chart->axes() : QList<QAbstractAxis*>())
        if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
            return categories;
    QTest::qFail("the chart has no category axis", __FILE__, __LINE__);
    return nullptr;
}

} // namespace Driver
