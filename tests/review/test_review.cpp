// The items review: row texts and icons in both views, and going to an item.
#include "TestEnv.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/review/ReviewListModel.h"
#include "ui/review/TReviewForm.h"
#include "core/tables/Table.h"
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

// The list as "<text>|<icon>" rows.
QStringList rows()
{
    QStringList r;
    const ReviewListModel* m = Driver::window<TReviewForm>()->ReviewModel;
    for (int i = 0; i < m->rowCount(); ++i) {
        const QModelIndex index = m->index(i, 0);
        r << index.data().toString() + '|' + QString::number(index.data(ReviewListModel::IconRole).toInt());
    }
    return r;
}

void selectRow(int row)
{
    Driver::window<TReviewForm>()->ListView1->setCurrentIndex(Driver::window<TReviewForm>()->ReviewModel->index(row, 0));
}

QStringList filterChoices()
{
    QStringList c;
    for (int i = 0; i < Driver::window<TReviewForm>()->FilterBox->count(); ++i)
        c << Driver::window<TReviewForm>()->FilterBox->itemText(i);
    return c;
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
    TReviewForm review(env.createForms()); // as the exam window makes it
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
    Driver::window<TReviewForm>()->show();

    Driver::window<TReviewForm>()->BuildExamView(sheet);
    QVERIFY(!Driver::window<TReviewForm>()->Panel5->isHidden());
    QVERIFY(Driver::window<TReviewForm>()->Panel4->isHidden());
    // 0 incomplete, 1 complete, 2 marked (marked wins).
    QCOMPARE(rows(), (QStringList{"1  B|1", "2  |2", "3  AC|1", "4  BDF|2", "5  |0"}));
    saveShot(Driver::window<TReviewForm>(), QStringLiteral("review-exam"));

    Driver::window<TReviewForm>()->BuildResultsView(sheet);
    QVERIFY(Driver::window<TReviewForm>()->Panel5->isHidden());
    QVERIFY(!Driver::window<TReviewForm>()->Panel4->isHidden());
    // 1 correct, 3 incorrect; marks are not shown.
    QCOMPARE(rows(), (QStringList{"1  B|1", "2  |3", "3  AC|3", "4  BDF|1", "5  |3"}));
    saveShot(Driver::window<TReviewForm>(), QStringLiteral("review-results"));
    Driver::window<TReviewForm>()->BitBtn1Click();
}

void TestReview::throughTheExamWindow()
{
    TestEnv env;
    env.writeBank(TestEnv::sampleBank());
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    TestEnv::acceptNameDialog();
    f->Action1->trigger();
    f->MarkBox->click(); // item 1 marked

    onReviewWindow([] {
        QVERIFY(!Driver::window<TReviewForm>()->Panel5->isHidden());
        QCOMPARE(rows(), (QStringList{"1  |2", "2  |0"}));
        QVERIFY(!Driver::window<TReviewForm>()->BitBtn2->isEnabled());
        selectRow(1);
        QVERIFY(Driver::window<TReviewForm>()->BitBtn2->isEnabled());
        Driver::window<TReviewForm>()->BitBtn2->click();
        QVERIFY(!Driver::window<TReviewForm>()->isVisible());
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    QCOMPARE(f->Label1->text(), QStringLiteral("Item 2 of 2"));
    QVERIFY(!Driver::window<TReviewForm>()->BitBtn2->isEnabled());

    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::setModalHandler([](QDialog*) {
        Driver::window<TScoreForm>()->BitBtn1->click(); // View Answers
        return int(QDialog::Accepted);
    });
    f->GradeButton->click();
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    onReviewWindow([] {
        QVERIFY(!Driver::window<TReviewForm>()->Panel4->isHidden());
        QCOMPARE(rows(), (QStringList{"1  |3", "2  |3"}));
        // With nothing selected the button does nothing; a double click goes.
        Driver::window<TReviewForm>()->ListView1->clearSelection();
        Driver::window<TReviewForm>()->BitBtn2Click();
        QVERIFY(Driver::window<TReviewForm>()->isVisible());
        selectRow(1);
        Driver::window<TReviewForm>()->ListView1DblClick();
        QVERIFY(!Driver::window<TReviewForm>()->isVisible());
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    onReviewWindow([] {
        selectRow(0);
        Driver::window<TReviewForm>()->BitBtn1->click(); // Return goes nowhere
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    QCOMPARE(f->examMode, ExamMode::Reviewing);
}

void TestReview::manyRowsFlowIntoColumnsAndHoverSelects()
{
    TestEnv env;
    TReviewForm review(env.createForms()); // as the exam window makes it
    AnswerSheet sheet;
    sheet.resize(80);
    Driver::window<TReviewForm>()->BuildExamView(sheet);
    Driver::window<TReviewForm>()->show();
    QVERIFY(QTest::qWaitForWindowExposed(Driver::window<TReviewForm>()));
    QListView* list = Driver::window<TReviewForm>()->ListView1;
    auto rect = [list](int row) { return list->visualRect(Driver::window<TReviewForm>()->ReviewModel->index(row, 0)); };
    QVERIFY2(rect(79).left() > rect(0).right(), "rows continue in further columns");
    // Every row is wide enough for the widest text.
    QVERIFY(rect(0).width() >= list->fontMetrics().horizontalAdvance(QStringLiteral("88  ABCDEF")) + 16);
    list->scrollTo(Driver::window<TReviewForm>()->ReviewModel->index(79, 0));
    QVERIFY(list->viewport()->rect().contains(rect(79)));
    list->scrollTo(Driver::window<TReviewForm>()->ReviewModel->index(0, 0));

    QTest::mouseMove(list->viewport(), rect(4).center());
    QTRY_VERIFY(list->selectionModel()->isSelected(Driver::window<TReviewForm>()->ReviewModel->index(4, 0)));
    QVERIFY(Driver::window<TReviewForm>()->BitBtn2->isEnabled());
    saveShot(Driver::window<TReviewForm>(), QStringLiteral("review-many"));
    Driver::window<TReviewForm>()->BitBtn1Click();
}

void TestReview::filter_keepsItemNumbersAndGoesToTheRightItem()
{
    TestEnv env;
    env.writeBank(TestEnv::sampleBank());
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    f->SeedSource = [] { return 5u; };
    TestEnv::acceptNameDialog();
    f->AllQActExecute(); // eleven items
    f->dtCurrentSet->setRecNo(3);
    f->MarkBox->click();
    f->dtCurrentSet->setRecNo(5);
    f->MarkBox->click();
    f->ALabelClick(1); // item 5 answered, and marked

    onReviewWindow([] {
        QCOMPARE(filterChoices(), (QStringList{"All", "Unanswered", "Marked"}));
        QCOMPARE(Driver::window<TReviewForm>()->ReviewModel->rowCount(), 11);
        Driver::window<TReviewForm>()->setFilter(ReviewRow::Filter::Marked);
        QCOMPARE(rows(), (QStringList{"3  |2", "5  A|2"}));
        Driver::window<TReviewForm>()->setFilter(ReviewRow::Filter::Unanswered);
        QCOMPARE(Driver::window<TReviewForm>()->ReviewModel->rowCount(), 10);
        QVERIFY(rows().first().startsWith("1  |"));
        QVERIFY(!rows().join(',').contains("5  "));
        // Not a choice while the exam is taken.
        Driver::window<TReviewForm>()->setFilter(ReviewRow::Filter::Incorrect);
        QCOMPARE(Driver::window<TReviewForm>()->ReviewModel->filter(), ReviewRow::Filter::Unanswered);
        Driver::window<TReviewForm>()->setFilter(ReviewRow::Filter::Marked);
        QVERIFY(!Driver::window<TReviewForm>()->BitBtn2->isEnabled()); // the old selection went with the old rows
        selectRow(1);
        Driver::window<TReviewForm>()->BitBtn2->click();
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 5);

    // After grading: All / Incorrect / Marked, and every opening starts at All.
    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::setModalHandler([](QDialog*) {
        Driver::window<TScoreForm>()->BitBtn1->click();
        return int(QDialog::Accepted);
    });
    f->GradeButton->click();
    const bool fiveRight = f->Sheet.entry(5).Correct != 0;
    onReviewWindow([fiveRight] {
        QCOMPARE(filterChoices(), (QStringList{"All", "Incorrect", "Marked"}));
        QCOMPARE(Driver::window<TReviewForm>()->ReviewModel->filter(), ReviewRow::Filter::All);
        Driver::window<TReviewForm>()->setFilter(ReviewRow::Filter::Incorrect);
        QCOMPARE(Driver::window<TReviewForm>()->ReviewModel->rowCount(), fiveRight ? 10 : 11);
        QVERIFY(rows().first().startsWith("1  |3"));
        Driver::window<TReviewForm>()->setFilter(ReviewRow::Filter::Marked);
        QCOMPARE(Driver::window<TReviewForm>()->ReviewModel->rowCount(), 2);
        QVERIFY(rows().first().startsWith("3  |3")); // the results icon, not the mark
        selectRow(0);
        Driver::window<TReviewForm>()->ListView1DblClick();
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 3);
    QCOMPARE(f->Label1->text(), QStringLiteral("Item 3 of 11"));
}

QTEST_MAIN(TestReview)
#include "test_review.moc"
