// Items with a 1 MB question and a 200 KB explanation: laid out with the
// numbers a word-wrapping, selectable QLabel gives, in Testing and Reviewing.
#include "TestEnv.h"
#include "ui/exam/ChoiceLabel.h"
#include "core/exam/ExamMode.h"
#include "core/exam/ItemLayout.h"
#include "ui/exam/ItemView.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "ui/widgets/Dialogs.h"

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

    // A long text is laid out in steps after it is first shown.
    void settle() { QTRY_VERIFY_WITH_TIMEOUT(form->ScrollBox1->isSettled(), 20000); }

    void checkLayout(bool reviewing)
    {
        settle();
        QCOMPARE(form->QText->text(), question);
        // The question needs the scroll bar, so it is wrapped at the inner width.
        const int W =
            form->ScrollBox1->viewport()->width() + (form->ScrollBox1->verticalScrollBar()->isVisible()
                                                         ? form->ScrollBox1->verticalScrollBar()->width()
                                                         : 0);
        QVERIFY(form->ScrollBox1->verticalScrollBar()->maximum() > 0);
        QCOMPARE(form->QText->width(), ItemLayout::questionWidth(form->ItemArea->width()));
        QVERIFY(form->ItemArea->width() < W);
        QCOMPARE(form->QText->height(), labelHeight(question, form->QText->font(), form->QText->width()));
        QCOMPARE(form->QPanel->height(), form->QText->height() + 2 * ItemLayout::Border);
        QCOMPARE(form->Shape1->y(), form->QPanel->height());
        QCOMPARE(form->ALabel[0]->y(), form->QPanel->height() + 42);
        QCOMPARE(form->ExpText->isVisible(), reviewing);
        // A hidden explanation is measured when it is shown.
        if (reviewing)
            QCOMPARE(form->ExpText->height(),
                     labelHeight(explanation, form->ExpText->font(), form->ExpText->width()));
        QCOMPARE(form->ExpText->y(), form->ALabel[3]->y() + form->ALabel[3]->height() + 40);
        QCOMPARE(form->ItemArea->height(), reviewing ? form->ExpText->y() + form->ExpText->height() + 17
                                                     : form->ALabel[3]->y() + form->ALabel[3]->height() + 17);
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
        form->SeedSource = [] { return 3u; };
        TestEnv::acceptNameDialog();
        form->AllQAct->trigger();
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
        form->GradeButtonClick();
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
        QVERIFY(!form->ScrollBox1->isSettled());
        const int r = form->dtCurrentSet->recNo();
        form->ALabelClick(2);
        QVERIFY(form->RadioButton[1]->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 1, 0, 0, 0, 0}));

        checkLayout(false);
        QVERIFY(form->RadioButton[1]->isChecked());
        QScrollBar* bar = form->ScrollBox1->verticalScrollBar();
        bar->setValue(bar->maximum());
        const int top = bar->value();
        const int bottom = top + form->ScrollBox1->viewport()->height();
        QVERIFY(form->ALabel[0]->y() >= top);
        QVERIFY(form->ALabel[3]->y() + form->ALabel[3]->height() <= bottom);
        QTest::mouseClick(form->ALabel[2], Qt::LeftButton);
        QVERIFY(form->RadioButton[2]->isChecked());
        QCOMPARE(form->Sheet.entry(r).Choice, (std::array<std::uint8_t, 6>{0, 0, 1, 0, 0, 0}));

        form->ScrollBox1->QText->selectAll();
        form->ScrollBox1->QText->copy();
        QCOMPARE(QApplication::clipboard()->text(), question);
    }
};

QTEST_MAIN(TestLongItems)
#include "test_longitems.moc"
