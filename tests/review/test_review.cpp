// The items review: row texts and icons in both views, and going to an item.
#include "TestEnv.h"
#include "exam/AnswerSheet.h"
#include "exam/TTestForm.h"
#include "review/ReviewRow.h"
#include "review/TReviewForm.h"
#include "tables/Table.h"
#include "widgets/Dialogs.h"
#include "widgets/ShadedLabel.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {
AnswerEntry entryOf(const QString& letters, bool marked, bool correct)
{
    AnswerEntry e;
    for (QChar c : letters)
        e.Choice[c.toLatin1() - 'a'] = 1;
    e.Marked = marked;
    e.Correct = correct;
    return e;
}

struct Row
{
    QString text;
    int icon;
};

QList<Row> rowsOf(const QListWidget* list)
{
    QList<Row> rows;
    for (int i = 0; i < list->count(); ++i)
        rows.append({list->item(i)->text(), list->item(i)->data(Qt::UserRole).toInt()});
    return rows;
}

// Runs fn inside the review window when it is shown modally.
void onReviewWindow(const std::function<void()>& fn)
{
    Dialogs::setModalHandler([fn](QDialog* d) {
        if (d != ReviewForm)
            return int(QDialog::Rejected);
        d->show();
        fn();
        d->hide();
        return d->result();
    });
}

// A four-item exam A: item 1 answered rightly, 2 marked only, 3 answered
// wrongly, 4 marked and answered rightly.
TTestForm* startAnsweredExam(TestEnv& env)
{
    QList<TestItem> bank;
    bank << TestEnv::item(1, 1, QStringLiteral("Q1"), QStringLiteral("b"))
         << TestEnv::item(1, 2, QStringLiteral("Q2"), QStringLiteral("ac"), true)
         << TestEnv::item(1, 3, QStringLiteral("Q3"), QStringLiteral("d"))
         << TestEnv::item(1, 4, QStringLiteral("Q4"), QStringLiteral("bdf"), true, 6);
    env.writeBank(bank);
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    TestEnv::acceptNameDialog();
    f->Action1Execute();
    // Answer by item, whatever order the exam put them in.
    for (int r = 1; r <= f->ItemCount; ++r) {
        f->dtCurrentSet->setRecNo(r);
        const QString q = f->dtCurrentSet->fieldByName(QStringLiteral("Q_TEXT")).asString();
        if (q == QLatin1String("Q1")) {
            f->ALabelClick(2);
        } else if (q == QLatin1String("Q2")) {
            f->MarkBox->click();
        } else if (q == QLatin1String("Q3")) {
            f->ALabelClick(1);
        } else {
            for (int k : {6, 2, 4})
                f->ALabelClick(k);
            f->MarkBox->click();
        }
    }
    f->dtCurrentSet->first();
    return f;
}

void saveShot(QWidget* w, const QString& name)
{
    const QByteArray dir = qgetenv("VELARIX_SHOTS");
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QString questionAt(TTestForm* f, int row)
{
    f->dtCurrentSet->disableControls();
    const int keep = f->dtCurrentSet->recNo();
    f->dtCurrentSet->setRecNo(row + 1);
    const QString q = f->dtCurrentSet->fieldByName(QStringLiteral("Q_TEXT")).asString();
    f->dtCurrentSet->setRecNo(keep);
    f->dtCurrentSet->enableControls();
    return q;
}
}  // namespace

class TestReview : public QObject
{
    Q_OBJECT
private slots:
    void rowRules_data();
    void rowRules();
    void bothViewsThroughTheExamWindow();
    void goingToAnItem();
    void manyRowsFlowIntoColumnsAndHoverSelects();
};

void TestReview::rowRules_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("letters");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<bool>("correct");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("examIcon");
    QTest::addColumn<int>("resultsIcon");
    QTest::newRow("unanswered") << 6 << "" << false << false << "7  " << 0 << 3;
    QTest::newRow("answered, wrong") << 2 << "ca" << false << false << "3  AC" << 1 << 3;
    QTest::newRow("letters in order") << 11 << "fbd" << false << true << "12  BDF" << 1 << 1;
    QTest::newRow("marked, unanswered") << 0 << "" << true << false << "1  " << 2 << 3;
    QTest::newRow("marked, answered right") << 0 << "e" << true << true << "1  E" << 2 << 1;
}

void TestReview::rowRules()
{
    QFETCH(int, index);
    QFETCH(QString, letters);
    QFETCH(bool, marked);
    QFETCH(bool, correct);
    const AnswerEntry e = entryOf(letters, marked, correct);
    QTEST(ReviewRow::text(index, e), "text");
    QTEST(int(ReviewRow::examIcon(e)), "examIcon");
    QTEST(int(ReviewRow::resultsIcon(e)), "resultsIcon");
}

void TestReview::bothViewsThroughTheExamWindow()
{
    TestEnv env;
    TTestForm* f = startAnsweredExam(env);
    QHash<QString, Row> examRows{{"Q1", {"B", 1}}, {"Q2", {"", 2}}, {"Q3", {"A", 1}}, {"Q4", {"BDF", 2}}};
    QHash<QString, Row> resultRows{{"Q1", {"B", 1}}, {"Q2", {"", 3}}, {"Q3", {"A", 3}}, {"Q4", {"BDF", 1}}};

    auto check = [f](const QHash<QString, Row>& expected, bool examView, const QString& shot) {
        onReviewWindow([&] {
            QCOMPARE(ReviewForm->windowTitle(), QStringLiteral("Items Review"));
            QCOMPARE(ReviewForm->Panel5->isVisible(), examView);
            QCOMPARE(ReviewForm->Panel4->isVisible(), !examView);
            QVERIFY(!ReviewForm->BitBtn2->isEnabled());
            const QList<Row> rows = rowsOf(ReviewForm->ListView1);
            QCOMPARE(rows.size(), 4);
            for (int i = 0; i < 4; ++i) {
                const Row& want = expected.value(questionAt(f, i));
                QCOMPARE(rows[i].text, QStringLiteral("%1  %2").arg(i + 1).arg(want.text));
                QCOMPARE(rows[i].icon, want.icon);
            }
            saveShot(ReviewForm, shot);
            ReviewForm->BitBtn1->click();
        });
        f->Button1->click();
        QVERIFY(!ReviewForm->isVisible());
    };
    check(examRows, true, QStringLiteral("review-exam"));

    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::setModalHandler([](QDialog* d) {
        if (d == ScoreForm)
            ScoreForm->BitBtn1Click();
        return int(QDialog::Accepted);
    });
    f->GradeButtonClick();
    QCOMPARE(f->examMode, ExamMode::Reviewing);
    check(resultRows, false, QStringLiteral("review-results"));
    QCOMPARE(f->examMode, ExamMode::Reviewing);
}

void TestReview::goingToAnItem()
{
    TestEnv env;
    TTestForm* f = startAnsweredExam(env);
    // Go with the button.
    onReviewWindow([] {
        ReviewForm->ListView1->setCurrentRow(2);
        QVERIFY(ReviewForm->BitBtn2->isEnabled());
        ReviewForm->BitBtn2->click();
        QVERIFY(!ReviewForm->isVisible());
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 3);
    QCOMPARE(f->Label1->text(), QStringLiteral("Item 3 of 4"));
    QVERIFY(!ReviewForm->BitBtn2->isEnabled());

    // Nothing selected: the window stays; a double click goes; Return goes nowhere.
    onReviewWindow([] {
        ReviewForm->ListView1->clearSelection();
        ReviewForm->BitBtn2Click();
        QVERIFY(ReviewForm->isVisible());
        ReviewForm->ListView1->setCurrentRow(0);
        ReviewForm->ListView1DblClick();
        QVERIFY(!ReviewForm->isVisible());
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 1);
    onReviewWindow([] {
        ReviewForm->ListView1->setCurrentRow(3);
        ReviewForm->BitBtn1->click();
    });
    f->Button1->click();
    QCOMPARE(f->dtCurrentSet->recNo(), 1);
    QCOMPARE(f->examMode, ExamMode::Testing);
}

void TestReview::manyRowsFlowIntoColumnsAndHoverSelects()
{
    TestEnv env;
    env.writeBank(TestEnv::sampleBank());
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    env.createForms();
    AnswerSheet sheet;
    sheet.resize(80);
    ReviewForm->BuildExamView(sheet);
    ReviewForm->BitBtn2->setEnabled(false);
    ReviewForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(ReviewForm));
    QListWidget* list = ReviewForm->ListView1;
    QCOMPARE(list->count(), 80);
    const QRect first = list->visualItemRect(list->item(0));
    const QRect last = list->visualItemRect(list->item(79));
    QVERIFY2(last.left() > first.right(), "rows continue in further columns");
    list->scrollToItem(list->item(79));
    QVERIFY(list->viewport()->rect().intersects(list->visualItemRect(list->item(79))));
    list->scrollToItem(list->item(0));

    const QRect fifth = list->visualItemRect(list->item(4));
    QTest::mouseMove(list->viewport(), fifth.center());
    QTRY_VERIFY(list->item(4)->isSelected());
    QVERIFY(ReviewForm->BitBtn2->isEnabled());
    ReviewForm->BitBtn1Click();
}

QTEST_MAIN(TestReview)
#include "test_review.moc"
