// The items review: row texts and icons in both views, and going to an item.
#include "TestEnv.h"
#include "exam/TTestForm.h"
#include "grading/TScoreForm.h"
#include "review/TReviewForm.h"
#include "tables/Table.h"
#include "widgets/Dialogs.h"
#include "widgets/ShadedLabel.h"

#include <QCheckBox>
#include <QListWidget>
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
    for (int i = 0; i < ReviewForm->ListView1->count(); ++i)
        r << ReviewForm->ListView1->item(i)->text() + '|' +
                 QString::number(ReviewForm->ListView1->item(i)->data(Qt::UserRole).toInt());
    return r;
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
};

void TestReview::views()
{
    TestEnv env;
    env.createForms();
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
    ReviewForm->show();

    ReviewForm->BuildExamView(sheet);
    QVERIFY(!ReviewForm->Panel5->isHidden());
    QVERIFY(ReviewForm->Panel4->isHidden());
    // 0 incomplete, 1 complete, 2 marked (marked wins).
    QCOMPARE(rows(), (QStringList{"1  B|1", "2  |2", "3  AC|1", "4  BDF|2", "5  |0"}));
    saveShot(ReviewForm, QStringLiteral("review-exam"));

    ReviewForm->BuildResultsView(sheet);
    QVERIFY(ReviewForm->Panel5->isHidden());
    QVERIFY(!ReviewForm->Panel4->isHidden());
    // 1 correct, 3 incorrect; marks are not shown.
    QCOMPARE(rows(), (QStringList{"1  B|1", "2  |3", "3  AC|3", "4  BDF|1", "5  |3"}));
    saveShot(ReviewForm, QStringLiteral("review-results"));
    ReviewForm->BitBtn1Click();
}

void TestReview::throughTheExamWindow()
{
    TestEnv env;
    env.writeBank(TestEnv::sampleBank());
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    TestEnv::acceptNameDialog();
    f->Action1Execute();
    f->MarkBox->click(); // item 1 marked

    onReviewWindow([] {
        QVERIFY(!ReviewForm->Panel5->isHidden());
        QCOMPARE(rows(), (QStringList{"1  |2", "2  |0"}));
        QVERIFY(!ReviewForm->BitBtn2->isEnabled());
        ReviewForm->ListView1->setCurrentRow(1);
        QVERIFY(ReviewForm->BitBtn2->isEnabled());
        ReviewForm->BitBtn2->click();
        QVERIFY(!ReviewForm->isVisible());
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    QCOMPARE(f->Label1->text(), QStringLiteral("Item 2 of 2"));
    QVERIFY(!ReviewForm->BitBtn2->isEnabled());

    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::setModalHandler([](QDialog*) {
        ScoreForm->BitBtn1Click(); // View Answers
        return int(QDialog::Accepted);
    });
    f->GradeButtonClick();
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    onReviewWindow([] {
        QVERIFY(!ReviewForm->Panel4->isHidden());
        QCOMPARE(rows(), (QStringList{"1  |3", "2  |3"}));
        // With nothing selected the button does nothing; a double click goes.
        ReviewForm->ListView1->clearSelection();
        ReviewForm->BitBtn2Click();
        QVERIFY(ReviewForm->isVisible());
        ReviewForm->ListView1->setCurrentRow(1);
        ReviewForm->ListView1DblClick();
        QVERIFY(!ReviewForm->isVisible());
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    onReviewWindow([] {
        ReviewForm->ListView1->setCurrentRow(0);
        ReviewForm->BitBtn1->click(); // Return goes nowhere
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 2);
    QCOMPARE(f->examMode, ExamMode::Reviewing);
}

void TestReview::manyRowsFlowIntoColumnsAndHoverSelects()
{
    TestEnv env;
    env.createForms();
    AnswerSheet sheet;
    sheet.resize(80);
    ReviewForm->BuildExamView(sheet);
    ReviewForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(ReviewForm));
    QListWidget* list = ReviewForm->ListView1;
    QVERIFY2(list->visualItemRect(list->item(79)).left() > list->visualItemRect(list->item(0)).right(),
             "rows continue in further columns");
    list->scrollToItem(list->item(79));
    QVERIFY(list->viewport()->rect().contains(list->visualItemRect(list->item(79))));
    list->scrollToItem(list->item(0));

    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(4)).center());
    QTRY_VERIFY(list->item(4)->isSelected());
    QVERIFY(ReviewForm->BitBtn2->isEnabled());
    saveShot(ReviewForm, QStringLiteral("review-many"));
    ReviewForm->BitBtn1Click();
}

QTEST_MAIN(TestReview)
#include "test_review.moc"
