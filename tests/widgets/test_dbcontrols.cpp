// The data-aware controls: text boxes, memo, check box, navigator and tree
// bound to a table's current record, driven by real key presses and clicks.
#include "TestEnv.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "ui/widgets/DBCheckBox.h"
#include "ui/widgets/DBEdit.h"
#include "ui/widgets/DBMemo.h"
#include "ui/widgets/DBNavigator.h"
#include "ui/widgets/DBTreeView.h"
#include "ui/widgets/Dialogs.h"

#include <QToolButton>
#include <QtTest>

using namespace ItemRecord;

class TestDBControls : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<Session> session;
    std::unique_ptr<Table> table;

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->writeUserSet({TestEnv::item(0, 1, QStringLiteral("One"), QStringLiteral("a")),
                           TestEnv::item(0, 2, QStringLiteral("Two"), QStringLiteral("b")),
                           TestEnv::item(0, 3, QStringLiteral("Three"), QStringLiteral("c"))});
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(TableFiles::Password);
        table = std::make_unique<Table>(TableFiles::SessionName, env->userPath(TableFiles::UserSet));
    }
    void cleanup()
    {
        table.reset();
        session.reset();
        env.reset();
    }

    void checkBox_values_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("afterClick");
        QTest::newRow("checked value") << "Yes" << true << "No";
        QTest::newRow("any case") << "yes" << true << "No";
        QTest::newRow("unchecked value") << "No" << false << "Yes";
        QTest::newRow("other text") << "maybe" << false << "Yes";
        QTest::newRow("empty") << "" << false << "Yes";
    }
    void checkBox_values()
    {
        QFETCH(QString, stored);
        QFETCH(bool, checked);
        QFETCH(QString, afterClick);
        table->open();
        table->edit();
        table->fieldByName(QStringLiteral("Q6")).setAsString(stored);
        table->post();
        DBCheckBox box;
        box.setValues(QStringLiteral("Yes"), QStringLiteral("No"));
        box.setField(table.get(), QStringLiteral("Q6"));
        QCOMPARE(box.isChecked(), checked);
        box.click();
        QCOMPARE(box.isChecked(), !checked);
        QCOMPARE(table->fieldByName(QStringLiteral("Q6")).asString(), afterClick);
    }

    void writeError_isReportedAndTheControlShowsTheField()
    {
        table->open();
        DBEdit edit;
        edit.setField(table.get(), QStringLiteral("NO_SUCH_FIELD"));
        Dialogs::queueAnswer(Dialogs::Ok);
        QTest::keyClicks(&edit, QStringLiteral("x"));
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(Dialogs::shownMessages().first().startsWith(QStringLiteral("Error: ")));
        QCOMPARE(edit.text(), QString());
    }

    void edit_typingWritesTheFieldAndFollowsTheRecord()
    {
        table->open();
        DBEdit edit;
        edit.setField(table.get(), Q_TEXT);
        QCOMPARE(edit.text(), QStringLiteral("One"));
        QVERIFY(!edit.isReadOnly());
        edit.setFocus();
        edit.end(false);
        QTest::keyClicks(&edit, QStringLiteral(" more"));
        QCOMPARE(table->state(), Table::State::Edit);
        QCOMPARE(table->fieldByName(Q_TEXT).asString(), QStringLiteral("One more"));
        table->post();
        table->next();
        QCOMPARE(edit.text(), QStringLiteral("Two"));
        // A change of the field from elsewhere shows at once.
        table->edit();
        table->fieldByName(Q_TEXT).setAsString(QStringLiteral("Changed"));
        QCOMPARE(edit.text(), QStringLiteral("Changed"));
        table->cancel();
        QCOMPARE(edit.text(), QStringLiteral("Two"));
        table->first();
        QCOMPARE(edit.text(), QStringLiteral("One more"));
    }

    void edit_withoutARecord_isReadOnlyAndWritesNothing()
    {
        DBEdit edit;
        edit.setField(table.get(), Q_TEXT); // closed
        QVERIFY(edit.isReadOnly());
        QTest::keyClicks(&edit, QStringLiteral("lost"));
        QCOMPARE(edit.text(), QString());
        table->open();
        QVERIFY(!edit.isReadOnly());
        QCOMPARE(edit.text(), QStringLiteral("One"));
        table->close();
        QVERIFY(edit.isReadOnly());
        QCOMPARE(edit.text(), QString());
        QCOMPARE(Dialogs::shownMessages(), QStringList());
    }

    void memo_typedLinesWriteTheWholeText()
    {
        table->open();
        table->setRecNo(2);
        DBMemo memo;
        memo.setField(table.get(), Q_EXPL);
        QCOMPARE(memo.toPlainText(), QStringLiteral("Because b is right."));
        memo.selectAll();
        QTest::keyClicks(&memo, QStringLiteral("first"));
        QTest::keyClick(&memo, Qt::Key_Return);
        QTest::keyClicks(&memo, QStringLiteral("second"));
        QCOMPARE(table->state(), Table::State::Edit);
        QCOMPARE(table->fieldByName(Q_EXPL).asString(), QStringLiteral("first\nsecond"));
        table->post();
        table->prior();
        QCOMPARE(memo.toPlainText(), QStringLiteral("Because a is right."));
        table->next();
        QCOMPARE(memo.toPlainText(), QStringLiteral("first\nsecond"));
        // Moving the record does not count as typing: nothing is edited.
        QCOMPARE(table->state(), Table::State::Browse);
    }

    void navigator_buttonsMoveAndDisableAtTheEnds()
    {
        DBNavigator nav;
        nav.setTable(table.get());
        nav.show();
        const auto enabled = [&nav] {
            QString s;
            for (const char* b : {"nbFirst", "nbPrior", "nbNext", "nbLast"})
                s += Driver::find<QToolButton>(&nav, b)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return s;
        };
        QCOMPARE(enabled(), QStringLiteral("0000")); // closed
        table->open();
        QCOMPARE(enabled(), QStringLiteral("0011"));
        QTest::mouseClick(Driver::find<QToolButton>(&nav, "nbNext"), Qt::LeftButton);
        QCOMPARE(table->recNo(), 2);
        QCOMPARE(enabled(), QStringLiteral("1111"));
        QTest::mouseClick(Driver::find<QToolButton>(&nav, "nbLast"), Qt::LeftButton);
        QCOMPARE(table->recNo(), 3);
        QCOMPARE(enabled(), QStringLiteral("1100"));
        QTest::mouseClick(Driver::find<QToolButton>(&nav, "nbPrior"), Qt::LeftButton);
        QCOMPARE(table->recNo(), 2);
        QTest::mouseClick(Driver::find<QToolButton>(&nav, "nbFirst"), Qt::LeftButton);
        QCOMPARE(table->recNo(), 1);
        table->append();
        QCOMPARE(enabled(), QStringLiteral("0000")); // adding a record
        table->cancel();
        QVERIFY(enabled() != QStringLiteral("0000"));
        // Every button is named to a screen reader by its hint.
        QCOMPARE(Driver::find<QToolButton>(&nav, "nbNext")->accessibleName(), QStringLiteral("Next record"));
    }

    void checkBox_spaceKeyWritesLikeAClick()
    {
        table->open();
        DBCheckBox box;
        box.setField(table.get(), choiceFlag(1));
        QVERIFY(box.isChecked()); // item "One" has a right
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_Space);
        QVERIFY(!box.isChecked());
        QCOMPARE(table->fieldByName(choiceFlag(1)).asBoolean(), false);
        table->cancel();
        QVERIFY(box.isChecked());
        table->close();
        QTest::keyClick(&box, Qt::Key_Space); // no record: nothing happens
        QVERIFY(!box.isChecked());
        QCOMPARE(Dialogs::shownMessages(), QStringList());
    }

    void treeView_listsAndMovesTheTable()
    {
        DBTreeView tree;
        tree.resize(120, 200);
        tree.show();
        tree.setTable(table.get(), Q_ID);
        QCOMPARE(tree.labels(), QStringList());
        table->open();
        QCOMPARE(tree.labels(), (QStringList{"1", "2", "3"}));
        QCOMPARE(tree.currentItem()->text(0), QStringLiteral("1"));

        // The list is walked without the readers noticing a move.
        QStringList seen;
        connect(table->dataSource(), &DataSource::dataChanged, this, [&](const QString& field) {
            if (field.isEmpty())
                seen << table->fieldByName(Q_TEXT).asString();
        });
        table->last();
        QCOMPARE(tree.currentItem()->text(0), QStringLiteral("3"));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                          tree.visualItemRect(tree.topLevelItem(1)).center());
        QCOMPARE(table->recNo(), 2);
        table->append();
        QVERIFY(!tree.currentItem() || !tree.currentItem()->isSelected());
        table->fieldByName(Q_TEXT).setAsString(QStringLiteral("Four"));
        table->post();
        QCOMPARE(tree.labels(), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(tree.currentItem()->text(0), QStringLiteral("4"));
        QCOMPARE(table->fieldByName(Q_TEXT).asString(), QStringLiteral("Four"));
        QVERIFY(!seen.contains(QStringLiteral("One")));
        QCOMPARE(seen.last(), QStringLiteral("Four"));

        table->setRecNo(1);
        table->deleteRecord();
        QCOMPARE(tree.labels(), (QStringList{"2", "3", "4"}));
        QCOMPARE(tree.currentItem()->text(0), QStringLiteral("2"));
        table->close();
        QCOMPARE(tree.labels(), QStringList());
        QCOMPARE(Dialogs::shownMessages(), QStringList());
    }
};

QTEST_MAIN(TestDBControls)
#include "test_dbcontrols.moc"
