// The items review: row texts and icons in both views, and going to an item.
#include "TestEnv.h"
#include "core/tables/Table.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/review/ReviewListModel.h"
#include "ui/review/TReviewForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QtTest>

namespace {
void saveShot(QWidget* w, const QString& name)
{
    const QByteArray dir = qgetenv("VELARIX_SHOTS");
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

TReviewForm* review()
{
    return Driver::window<TReviewForm>();
}
QListView* list()
{
    return Driver::find<QListView>(review(), "ListView1");
}
ReviewListModel* model()
{
    return qobject_cast<ReviewListModel*>(list()->model());
}
QPushButton* goButton() // "Go to the selected question"
{
    return Driver::find<QPushButton>(review(), "BitBtn2");
}
bool legendShown(const char* name) // Panel5: the exam view's, Panel4: the results view's
{
    return !Driver::find<QWidget>(review(), name)->isHidden();
}

// The list as "<text>|<icon>" rows.
QStringList rows()
{
    QStringList r;
    const ReviewListModel* m = model();
    for (int i = 0; i < m->rowCount(); ++i) {
        const QModelIndex index = m->index(i, 0);
        r << index.data().toString() + '|' + QString::number(index.data(ReviewListModel::IconRole).toInt());
    }
    return r;
}

// Where row `row` of the list is drawn, scrolled into view.
QPoint rowCenter(int row)
{
    const QModelIndex index = model()->index(row, 0);
    list()->scrollTo(index);
    return list()->visualRect(index).center();
}
// Clicks a row, with modifiers (Ctrl takes the row out of the selection).
void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, rowCenter(row));
}
// A double click as the system delivers it: press, release, double click, release.
void doubleClickRow(int row)
{
    QWidget* viewport = list()->viewport();
    const QPoint at = rowCenter(row);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
}

QStringList filterChoices()
{
    QStringList c;
    auto* box = Driver::find<QComboBox>(review(), "FilterBox");
    for (int i = 0; i < box->count(); ++i)
        c << box->itemText(i);
    return c;
}
// Picks a choice of "Show:" with the arrow keys.
void showOnly(const QString& choice)
{
    auto* box = Driver::find<QComboBox>(review(), "FilterBox");
    const int at = box->findText(choice);
    QVERIFY2(at >= 0, qPrintable(choice));
    while (box->currentIndex() < at)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > at)
        QTest::keyClick(box, Qt::Key_Up);
}

// Runs fn inside the review window each time it is shown modally.
void onReviewWindow(const std::function<void()>& fn)
{
    Dialogs::setModalHandler([fn](QDialog* d) {
        d->show();
        fn();
        d->hide();
        return d->result();
    });
}
} // namespace

class TestReview : public QObject
{
    Q_OBJECT
private slots:
    void views();
    void throughTheExamWindow();
    void manyRowsFlowIntoColumnsAndHoverSelects();
    void filter_keepsItemNumbersAndGoesToTheRightItem();
};

void TestReview::views()
{
    TestEnv env;
    TReviewForm form(env.createForms()); // as the exam window makes it
    AnswerSheet sheet;
    sheet.resize(5);
    sheet[0].Choice = {0, 1, 0, 0, 0, 0}; // answered right
    sheet[0].Correct = 1;
    sheet[1].Marked = 1;                  // marked, unanswered
    sheet[2].Choice = {1, 0, 1, 0, 0, 0}; // answered wrongly
    sheet[3].Choice = {0, 1, 0, 1, 0, 1}; // marked and answered right
    sheet[3].Marked = 1;
    sheet[3].Correct = 1;
    // sheet[4]: untouched
    form.show();

    form.BuildExamView(sheet);
    QVERIFY(legendShown("Panel5"));
    QVERIFY(!legendShown("Panel4"));
    // 0 incomplete, 1 complete, 2 marked (marked wins).
    QCOMPARE(rows(), (QStringList{"1  B|1", "2  |2", "3  AC|1", "4  BDF|2", "5  |0"}));
    saveShot(&form, QStringLiteral("review-exam"));

    form.BuildResultsView(sheet);
    QVERIFY(!legendShown("Panel5"));
    QVERIFY(legendShown("Panel4"));
    // 1 correct, 3 incorrect; marks are not shown.
    QCOMPARE(rows(), (QStringList{"1  B|1", "2  |3", "3  AC|3", "4  BDF|1", "5  |3"}));
    saveShot(&form, QStringLiteral("review-results"));
    Driver::press(&form, "BitBtn1");
    QVERIFY(!form.isVisible());
}

void TestReview::throughTheExamWindow()
{
    TestEnv env;
    env.writeBank(TestEnv::sampleBank());
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    Driver::startExam(f, "Action1");
    Driver::press(f, "MarkBox"); // item 1 marked

    onReviewWindow([] {
        QVERIFY(legendShown("Panel5"));
        QCOMPARE(rows(), (QStringList{"1  |2", "2  |0"}));
        QVERIFY(!goButton()->isEnabled());
        clickRow(1);
        QVERIFY(goButton()->isEnabled());
        goButton()->click();
        QVERIFY(!review()->isVisible());
    });
    Driver::press(f, "Button1"); // Items Review
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    QCOMPARE(Driver::find<QLabel>(f, "Label1")->text(), QStringLiteral("Item 2 of 2"));
    QVERIFY(!goButton()->isEnabled());

    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::setModalHandler([](QDialog* d) {
        Driver::press(d, "BitBtn1"); // View Answers
        return int(QDialog::Accepted);
    });
    Driver::press(f, "GradeButton");
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    onReviewWindow([] {
        QVERIFY(legendShown("Panel4"));
        QCOMPARE(rows(), (QStringList{"1  |3", "2  |3"}));
        // A row taken out of the selection leaves nothing to go to: the
        // button does nothing; a double click goes.
        clickRow(0);
        clickRow(0, Qt::ControlModifier);
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
        goButton()->click();
        QVERIFY(review()->isVisible());
        doubleClickRow(1);
        QVERIFY(!review()->isVisible());
    });
    Driver::press(f, "Button1");
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    onReviewWindow([] {
        clickRow(0);
        Driver::press(review(), "BitBtn1"); // Return goes nowhere
    });
    Driver::press(f, "Button1");
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    QCOMPARE(f->examMode, ExamMode::Reviewing);
}

void TestReview::manyRowsFlowIntoColumnsAndHoverSelects()
{
    TestEnv env;
    TReviewForm form(env.createForms()); // as the exam window makes it
    AnswerSheet sheet;
    sheet.resize(80);
    form.BuildExamView(sheet);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QListView* list = ::list();
    auto rect = [list](int row) { return list->visualRect(model()->index(row, 0)); };
    QVERIFY2(rect(79).left() > rect(0).right(), "rows continue in further columns");
    // Every row is wide enough for the widest text.
    QVERIFY(rect(0).width() >= list->fontMetrics().horizontalAdvance(QStringLiteral("88  ABCDEF")) + 16);
    list->scrollTo(model()->index(79, 0));
    QVERIFY(list->viewport()->rect().contains(rect(79)));
    list->scrollTo(model()->index(0, 0));

    QTest::mouseMove(list->viewport(), rect(4).center());
    QTRY_VERIFY(list->selectionModel()->isSelected(model()->index(4, 0)));
    QVERIFY(goButton()->isEnabled());
    saveShot(&form, QStringLiteral("review-many"));
    Driver::press(&form, "BitBtn1");
    QVERIFY(!form.isVisible());
}

void TestReview::filter_keepsItemNumbersAndGoesToTheRightItem()
{
    TestEnv env;
    env.writeBank(TestEnv::sampleBank());
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    Driver::startExam(f, "AllQAct", QStringLiteral("Tester"), 90, 5); // eleven items
    f->dtCurrentSet->setRecNo(3);
    Driver::press(f, "MarkBox");
    f->dtCurrentSet->setRecNo(5);
    Driver::press(f, "MarkBox");
    Driver::pickChoice(f, 1); // item 5 answered, and marked

    onReviewWindow([] {
        QCOMPARE(filterChoices(), (QStringList{"All", "Unanswered", "Marked"}));
        QCOMPARE(model()->rowCount(), 11);
        showOnly("Marked");
        QCOMPARE(rows(), (QStringList{"3  |2", "5  A|2"}));
        showOnly("Unanswered");
        QCOMPARE(model()->rowCount(), 10);
        QVERIFY(rows().first().startsWith("1  |"));
        QVERIFY(!rows().join(',').contains("5  "));
        // Not a choice while the exam is taken: typing its letter finds nothing.
        QTest::keyClicks(Driver::find<QComboBox>(review(), "FilterBox"), QStringLiteral("I"));
        QCOMPARE(model()->filter(), ReviewRow::Filter::Unanswered);
        clickRow(0);
        QVERIFY(goButton()->isEnabled());
        showOnly("Marked");
        QVERIFY(!goButton()->isEnabled()); // the old selection went with the old rows
        clickRow(1);
        goButton()->click();
    });
    Driver::press(f, "Button1");
    QCOMPARE(f->dtCurrentSet->recNo(), 5);

    // After grading: All / Incorrect / Marked, and every opening starts at All.
    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::setModalHandler([](QDialog* d) {
        Driver::press(d, "BitBtn1");
        return int(QDialog::Accepted);
    });
    Driver::press(f, "GradeButton");
    const bool fiveRight = f->Sheet.entry(5).Correct != 0;
    onReviewWindow([fiveRight] {
        QCOMPARE(filterChoices(), (QStringList{"All", "Incorrect", "Marked"}));
        QCOMPARE(model()->filter(), ReviewRow::Filter::All);
        showOnly("Incorrect");
        QCOMPARE(model()->rowCount(), fiveRight ? 10 : 11);
        QVERIFY(rows().first().startsWith("1  |3"));
        showOnly("Marked");
        QCOMPARE(model()->rowCount(), 2);
        QVERIFY(rows().first().startsWith("3  |3")); // the results icon, not the mark
        doubleClickRow(0);
    });
    Driver::press(f, "Button1");
    QCOMPARE(f->dtCurrentSet->recNo(), 3);
    QCOMPARE(Driver::find<QLabel>(f, "Label1")->text(), QStringLiteral("Item 3 of 11"));
}

QTEST_MAIN(TestReview)
#include "test_review.moc"
