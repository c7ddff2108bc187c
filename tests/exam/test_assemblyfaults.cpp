// An exam assembled on a full disk: the candidate hears that the disk is
// full and where, and the current set keeps the previous exam whole.
#include "FaultVfs.h"
#include "TestFolder.h"
#include "core/exam/ExamAssembly.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/StorageError.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QFile>
#include <QTest>

using namespace ItemRecord;

namespace {
QStringList questionsOf(Table& t)
{
    QStringList texts;
    for (t.first(); !t.eof(); t.next())
        texts << t.fieldByName(Q_TEXT).asString();
    return texts;
}
} // namespace

class TestAssemblyFaults : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> env;
    std::unique_ptr<Session> session;
    std::vector<std::int32_t> keys;

private slots:
    void initTestCase() { FaultVfs::install(); }
    void init()
    {
        env = std::make_unique<TestFolder>();
        QList<TestItem> items;
        for (int i = 1; i <= 40; ++i)
            items << TestFolder::item(1 + i % 5, 1 + i % 6,
                                      QStringLiteral("item %1 ").arg(i) + QString(3000, u'q'),
                                      QStringLiteral("a"));
        env->writeBank(items);
        env->writeEmptyCurrentSet();
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(TableFiles::Password);
        keys.clear();
        for (int i = 1; i <= 40; ++i)
            keys.push_back(i);
    }
    void cleanup()
    {
        FaultVfs::reset();
        session.reset();
        env.reset();
    }

    // Every write of the assembly in turn meets the full disk.
    void assembly_onAFullDisk_saysSoAndKeepsThePreviousExam()
    {
        Table bank(TableFiles::SessionName, TableFiles::Bank);
        Table current(TableFiles::SessionName, TableFiles::CurrentSet);
        bank.open();
        ExamAssembly::openCurrentSet(current);
        ExamAssembly::replaceItems(bank, ExamAssembly::Source::Bank, current, keys);
        const QStringList previous = questionsOf(current);
        QCOMPARE(previous.size(), 40);
        std::vector<std::int32_t> reversed(keys.rbegin(), keys.rend());

        const int start = FaultVfs::writes();
        ExamAssembly::replaceItems(bank, ExamAssembly::Source::Bank, current, reversed);
        const int needed = FaultVfs::writes() - start;
        ExamAssembly::replaceItems(bank, ExamAssembly::Source::Bank, current, keys);
        QVERIFY(needed > 3);
        for (int n = 1; n <= needed; n += qMax(1, needed / 12)) {
            FaultVfs::failFrom(FaultVfs::writes() + n);
            try {
                ExamAssembly::replaceItems(bank, ExamAssembly::Source::Bank, current, reversed);
                QFAIL(qPrintable(QStringLiteral("assembled with the disk full from write %1").arg(n)));
            } catch (const TableError& e) {
                QCOMPARE(e.kind(), TableError::Kind::DiskFull);
                QCOMPARE(e.message(), StorageError::diskFullText(env->path(TableFiles::CurrentSet)));
            }
            FaultVfs::clearFailure();
            QVERIFY(!current.inTransaction());
            QCOMPARE(questionsOf(current), previous);
        }
        current.close();
        current.open();
        QCOMPARE(questionsOf(current), previous);
    }

    // The current set made anew on a full disk: the same, and nothing half made.
    void newCurrentSet_onAFullDisk_saysSo()
    {
        QFile::remove(env->path(TableFiles::CurrentSet));
        Table current(TableFiles::SessionName, TableFiles::CurrentSet);
        FaultVfs::failFrom(1);
        try {
            ExamAssembly::openCurrentSet(current);
            QFAIL("made a table on a full disk");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), StorageError::diskFullText(env->path(TableFiles::CurrentSet)));
        }
        QVERIFY(!QFile::exists(env->path(TableFiles::CurrentSet)));
        FaultVfs::clearFailure();
        ExamAssembly::openCurrentSet(current);
        QCOMPARE(current.recordCount(), 0);
    }

    // The current set is scratch, but a table of another kind in its place
    // (the bank copied there) is the candidate's and is never set aside.
    void tableOfAnotherKindInItsPlace_isLeftAlone()
    {
        QFile::remove(env->path(TableFiles::CurrentSet));
        QVERIFY(QFile::copy(env->path(TableFiles::Bank), env->path(TableFiles::CurrentSet)));
        Table current(TableFiles::SessionName, TableFiles::CurrentSet);
        try {
            ExamAssembly::openCurrentSet(current);
            QFAIL("took the bank for the current set");
        } catch (const TableError& e) {
            QCOMPARE(e.kind(), TableError::Kind::OtherKind);
            QVERIFY2(e.message().contains(QStringLiteral("is the question bank, not the current exam set")),
                     qPrintable(e.message()));
        }
        QFile bank(env->path(TableFiles::Bank)), copy(env->path(TableFiles::CurrentSet));
        QVERIFY(bank.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), bank.readAll());
    }
};

QTEST_GUILESS_MAIN(TestAssemblyFaults)
#include "test_assemblyfaults.moc"
