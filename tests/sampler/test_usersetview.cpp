// What the sampler's data module reports about the user set, computed
// without any window: this test links the core library only.
#include "TestFolder.h"
#include "sampler/TDM.h"
#include "sampler/UserSetStatus.h"
#include "store/ItemRecord.h"
#include "store/TableFiles.h"
#include "tables/Session.h"
#include "tables/Table.h"

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
