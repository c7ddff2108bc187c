// Items with a 1 MB question and a 200 KB explanation: laid out with the
// numbers a word-wrapping, selectable QLabel gives, in Testing and Reviewing.
#include "TestEnv.h"
#include "core/exam/ExamMode.h"
#include "core/exam/ItemLayout.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "ui/exam/ChoiceLabel.h"
#include "ui/exam/ChoiceRadio.h"
#include "ui/exam/ItemView.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ItemText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

using namespace ItemRecord;

namespace {
int labelHeight(const QString& text, const QFont& font, int width)
{
    QLabel label;
    label.setWordWrap(true);
    label.setTextFormat(Qt::PlainText);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    label.setFont(font);
    label.setText(text);
    return label.heightForWidth(width);
}
} // namespace

class TestLongItems : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;
    QString question, explanation;

    void gotoLongItem()
    {
        Table& ces = *form->dtCurrentSet;
        for (ces.first(); !ces.eof(); ces.next()) {
            if (ces.fieldByName(Q_TEXT).asString().size() > 1000000)
                return;
        }
        QFAIL("the long item is not in the exam");
    }

    // The exam window's controls, by their design names.
    template <typename T> T* control(const char* name) { return Driver::find<T>(form, name); }
    template <typename T> T* control(const char* name, int number)
    {
        return Driver::find<T>(form, name, number);
    }

    // A long text is laid out in steps after it is first shown.
    void settle() { QTRY_VERIFY_WITH_TIMEOUT(control<ItemView>("ScrollBox1")->isSettled(), 20000); }

    void checkLayout(bool reviewing)
    {
        settle();
        auto* view = control<ItemView>("ScrollBox1");
        auto* area = control<QWidget>("ItemArea");
        auto* text = control<ItemText>("QText");
        auto* panel = control<QFrame>("QPanel");
        auto* exp = control<ItemText>("ExpText");
        auto* last = control<ChoiceLabel>("ALabel", 4);
        QCOMPARE(text->text(), question);
        // The question needs the scroll bar, so it is wrapped at the inner width.
        const int W = view->viewport()->width() +
                      (view->verticalScrollBar()->isVisible() ? view->verticalScrollBar()->width() : 0);
        QVERIFY(view->verticalScrollBar()->maximum() > 0);
        QCOMPARE(text->width(), ItemLayout::questionWidth(area->width()));
        QVERIFY(area->width() < W);
        QCOMPARE(text->height(), labelHeight(question, text->font(), text->width()));
        QCOMPARE(panel->height(), text->height() + 2 * ItemLayout::Border);
        QCOMPARE(control<QFrame>("Shape1")->y(), panel->height());
        QCOMPARE(control<ChoiceLabel>("ALabel", 1)->y(), panel->height() + 42);
        QCOMPARE(exp->isVisible(), reviewing);
        // A hidden explanation is measured when it is shown.
        if (reviewing)
            QCOMPARE(exp->height(), labelHeight(explanation, exp->font(), exp->width()));
        QCOMPARE(exp->y(), last->y() + last->height() + 40);
        QCOMPARE(area->height(), reviewing ? exp->y() + exp->height() + 17 : last->y() + last->height() + 17);
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        const QString words = QStringLiteral("Which of these block devices holds the root file system? ");
        question = words.repeated((1 << 20) / words.size() + 1);
        explanation = QStringLiteral("lsblk shows the tree; findmnt / names the device.\n")
                          .repeated(200 * 1024 / 51 + 1);
        TestItem longItem = TestEnv::item(1, 2, question, QStringLiteral("b"));
        longItem.explanation = explanation;
        // Short choices, as such items have: the long texts are the question and the explanation.
        longItem.choices = {QStringLiteral("/dev/sda1"), QStringLiteral("/dev/sdb1"),
                            QStringLiteral("/dev/nvme0n1p2"), QStringLiteral("tmpfs")};
        env->writeBank({TestEnv::item(1, 1, QStringLiteral("Short one"), QStringLiteral("a")), longItem,
                        TestEnv::item(1, 3, QStringLiteral("Short two"), QStringLiteral("c"))});
        env->writeEmptyCurrentSet();
        env->writeUserSet({});
        form = env->createForms();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        Driver::startExam(form, "AllQAct", QStringLiteral("Tester"), 90, 3);
        QCOMPARE(form->examMode, ExamMode::Testing);
    }
    void cleanup()
    {
        env->destroyForms();
        env.reset();
    }

    void megabyteQuestion_laidOutAsTheLabelDid_testingAndReviewing()
    {
        gotoLongItem();
        checkLayout(false);
        // Back and forth: the kept layout gives the same numbers.
        form->dtCurrentSet->first();
        gotoLongItem();
        checkLayout(false);

        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::setModalHandler([](QDialog* dialog) {
            if (!qobject_cast<TScoreForm*>(dialog))
                return int(QDialog::Rejected);
            Driver::press(dialog, "BitBtn1");
            return int(QDialog::Accepted);
        });
        Driver::press(form, "GradeButton");
        QCOMPARE(form->examMode, ExamMode::Reviewing);
        gotoLongItem();
        checkLayout(true);

        // A narrower window wraps both texts again, to the label's numbers.
        form->resize(760, 560);
        QTest::qWait(20);
        checkLayout(true);
    }

    // Shown before it is laid out whole, the long question leaves its choices
    // answerable; once it is laid out they sit where the full layout puts
    // them, the bottom of the area shows them, and the whole question copies.
    void megabyteQuestion_answerableWhileSettling_reachableAndCopyable()
    {
        gotoLongItem();
        QVERIFY(!control<ItemView>("ScrollBox1")->isSettled());
        const int r = form->dtCurrentSet->recNo();
        Driver::pickChoice(form, 2);
        QVERIFY(control<ChoiceRadio>("RadioButton", 2)->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 1, 0, 0, 0, 0}));

        checkLayout(false);
        QVERIFY(control<ChoiceRadio>("RadioButton", 2)->isChecked());
        QScrollBar* bar = control<ItemView>("ScrollBox1")->verticalScrollBar();
        bar->setValue(bar->maximum());
        const int top = bar->value();
        const int bottom = top + control<ItemView>("ScrollBox1")->viewport()->height();
        QVERIFY(control<ChoiceLabel>("ALabel", 1)->y() >= top);
        QVERIFY(control<ChoiceLabel>("ALabel", 4)->y() + control<ChoiceLabel>("ALabel", 4)->height() <=
                bottom);
        QTest::mouseClick(control<ChoiceLabel>("ALabel", 3), Qt::LeftButton);
        QVERIFY(control<ChoiceRadio>("RadioButton", 3)->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 0, 1, 0, 0, 0}));

        control<ItemText>("QText")->selectAll();
        control<ItemText>("QText")->copy();
        QCOMPARE(QApplication::clipboard()->text(), question);
    }
};

QTEST_MAIN(TestLongItems)
#include "test_longitems.moc"
