// The controls bound to a table's current record.
#include "TestEnv.h"
#include "store/ItemRecord.h"
#include "store/TableFiles.h"
#include "tables/Session.h"
#include "tables/Table.h"
#include "widgets/DBCheckBox.h"
#include "widgets/DBEdit.h"
#include "widgets/DBTreeView.h"
#include "widgets/Dialogs.h"

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
        table = std::make_unique<Table>(TableFiles::SessionName, TableFiles::UserSet);
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
