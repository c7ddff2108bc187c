// What the sampler's data module reports about the user set, and how its
// type and section map to the sampler's choices, computed without any
// window: this test links the core library only.
#include "TestFolder.h"
#include "core/sampler/TDM.h"
#include "core/sampler/UserSetStatus.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"

#include <QSignalSpy>
#include <QTest>

using namespace ItemRecord;

Q_DECLARE_METATYPE(UserSetView)

class TestUserSetView : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<Session> session;

private slots:
    void init()
    {
        folder = std::make_unique<TestFolder>();
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(TableFiles::Password);
    }
    void cleanup()
    {
        session.reset();
        folder.reset();
    }

    // The sampler's section list and type choice against Q_SECT and Q_TYPE.
    void sectionAndType_mapBothWays_data()
    {
        QTest::addColumn<qint64>("section");
        QTest::addColumn<bool>("isNull");
        QTest::addColumn<int>("row");
        QTest::newRow("first") << qint64(1) << false << 0;
        QTest::newRow("last") << qint64(6) << false << 5;
        QTest::newRow("zero") << qint64(0) << false << -1;
        QTest::newRow("beyond the list") << qint64(7) << false << -1;
        QTest::newRow("negative") << qint64(-2) << false << -1;
        QTest::newRow("empty") << qint64(0) << true << -1;
    }
    void sectionAndType_mapBothWays()
    {
        QFETCH(qint64, section);
        QFETCH(bool, isNull);
        QFETCH(int, row);
        QCOMPARE(UserSetStatus::sectionRow(section, isNull, 6), row);
        // Saving the row shown gives the section back (0 for none).
        QCOMPARE(UserSetStatus::sectionOf(row), row < 0 ? 0 : int(section));
        QCOMPARE(UserSetStatus::typeOf(UserSetStatus::typeIndex(true)), std::optional<bool>(true));
        QCOMPARE(UserSetStatus::typeOf(UserSetStatus::typeIndex(false)), std::optional<bool>(false));
        QCOMPARE(UserSetStatus::typeOf(-1), std::optional<bool>());
    }

    void browsing_reportsTheCurrentRecord()
    {
        TestItem second = TestFolder::item(0, 4, QStringLiteral("Two"), QStringLiteral("ab"), true);
        folder->writeUserSet({TestFolder::item(0, 2, QStringLiteral("One"), QStringLiteral("a")), second});
        TDM dm;
        QSignalSpy spy(&dm, &TDM::viewChanged);
        dm.dtUserSet->open();
        QVERIFY(!spy.isEmpty());
        dm.dtUserSet->last();
        const UserSetView view = spy.last().first().value<UserSetView>();
        QCOMPARE(view.heading.value_or(QString()), UserSetStatus::idHeading(2));
        QCOMPARE(view.panels.value(UserSetStatus::IdPanel), UserSetStatus::idPanel(2));
        QCOMPARE(view.panels.value(UserSetStatus::CountPanel), UserSetStatus::countPanel(2));
        QVERIFY(view.record);
        QCOMPARE(view.record->multiple, true);
        QCOMPARE(view.record->section, 4);
        QVERIFY(!view.record->sectionIsNull);
        QVERIFY(!view.empty);
        QVERIFY(!view.editing); // a move says nothing about Save and Cancel
    }

    void editAndInsert_enableSaveAndCancel_browseDisablesThem()
    {
        folder->writeUserSet({TestFolder::item(0, 1, QStringLiteral("One"), QStringLiteral("a"))});
        TDM dm;
        dm.dtUserSet->open();
        QSignalSpy spy(&dm, &TDM::viewChanged);
        dm.dtUserSet->edit();
        QVERIFY(!spy.isEmpty());
        UserSetView view = dm.stateView();
        QCOMPARE(view.editing, std::optional<bool>(true));
        QCOMPARE(view.heading.value_or(QString()), UserSetStatus::editHeading());
        QCOMPARE(view.panels.value(UserSetStatus::StatePanel), UserSetStatus::editPanel());
        QCOMPARE(view.panels.value(UserSetStatus::ChangePanel), UserSetStatus::modifiedPanel());
        dm.dtUserSet->cancel();
        view = dm.stateView();
        QCOMPARE(view.editing, std::optional<bool>(false));
        QCOMPARE(view.panels.value(UserSetStatus::StatePanel), UserSetStatus::browsingPanel());
        dm.dtUserSet->append();
        view = dm.stateView();
        QCOMPARE(view.editing, std::optional<bool>(true));
        QCOMPARE(view.heading.value_or(QString()), UserSetStatus::addHeading());
        QCOMPARE(view.panels.value(UserSetStatus::StatePanel), UserSetStatus::addPanel());
        dm.dtUserSet->cancel();
    }

    void emptySet_saysSoAndOffersNothingToEdit()
    {
        folder->writeUserSet({});
        TDM dm;
        QSignalSpy spy(&dm, &TDM::viewChanged);
        dm.dtUserSet->open();
        const UserSetView view = dm.recordView();
        QVERIFY(view.empty);
        QCOMPARE(view.heading.value_or(QString()), UserSetStatus::emptyHeading());
        QCOMPARE(view.panels.value(UserSetStatus::IdPanel), UserSetStatus::emptyPanel());
    }

    void closedSet_reportsNothing()
    {
        folder->writeUserSet({TestFolder::item(0, 1, QStringLiteral("One"), QStringLiteral("a"))});
        TDM dm;
        const UserSetView view = dm.recordView();
        QVERIFY(!view.heading && !view.record && view.panels.isEmpty() && !view.empty);
    }
};

QTEST_GUILESS_MAIN(TestUserSetView)
#include "test_usersetview.moc"
