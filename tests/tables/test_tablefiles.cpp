// The table files themselves: the file format on each SQLCipher release.
#include "TestFolder.h"
#include "store/ItemRecord.h"
#include "store/TableFiles.h"
#include "tables/Database.h"
#include "tables/Session.h"
#include "tables/Statement.h"
#include "tables/Table.h"
#include "tables/TableError.h"

#include <QFile>
#include <QTest>
#include <sqlcipher/sqlite3.h>

using namespace ItemRecord;

namespace {

// Opens a file with the library directly, keyed and set up as given, and
// counts its records; -1 when the library cannot read it.
qint64 countWithLibrary(const QString& path, const QByteArray& rawKey, const QList<QByteArray>& pragmas)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray key = "x'" + rawKey.toHex() + "'";
    sqlite3_key(db, key.constData(), int(key.size()));
    for (const QByteArray& pragma : pragmas)
        sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    qint64 count = -1;
    if (sqlite3_prepare_v2(db, "SELECT count(*) FROM items", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        count = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    return count;
}

bool libraryIsVersion4()
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
    const bool v4 = Database::cipherVersionOf(db).section(QLatin1Char('.'), 0, 0).toInt() >= 4;
    sqlite3_close_v2(db);
    return v4;
}

} // namespace

class TestTableFiles : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> env;
    std::unique_ptr<Session> session;

private slots:
    void init()
    {
        env = std::make_unique<TestFolder>();
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(TableFiles::Password);
    }
    void cleanup()
    {
        session.reset();
        env.reset();
    }

    // A table Debian 12's SQLCipher 3.4.1 wrote reads and takes changes on
    // whatever release runs the tests.
    void fixtureFromSqlcipher3_opensReadsAndWrites()
    {
        QFile key(QStringLiteral(TABLE_FIXTURES "/sqlcipher341-ces.key"));
        QVERIFY(key.open(QIODevice::ReadOnly));
        QCOMPARE(session->rawKey().toHex(), key.readAll().trimmed());
        const QString path = env->path(TableFiles::CurrentSet);
        QVERIFY(QFile::copy(QStringLiteral(TABLE_FIXTURES "/sqlcipher341-ces.DAT"), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

        Table t(TableFiles::SessionName, TableFiles::CurrentSet);
        t.open();
        QCOMPARE(t.recordCount(), 3);
        QStringList texts;
        for (t.first(); !t.eof(); t.next()) {
            texts << t.fieldByName(Q_TEXT).asString();
            QCOMPARE(t.fieldByName(Q_OR_NUMBER).asInteger(), 100 + t.recNo());
            QCOMPARE(t.fieldByName(choiceFlag(1)).asBoolean(), t.recNo() % 2 == 1);
        }
        QCOMPARE(texts.first(), QStringLiteral("Question 1 written by SQLCipher 3.4"));
        t.setRecNo(2);
        QCOMPARE(t.fieldByName(U_MEMO).asString(), QStringLiteral("007 a note\nover two lines: äöü"));
        t.edit();
        t.fieldByName(U_MEMO).setAsString(QStringLiteral("changed"));
        t.post();
        t.append();
        t.fieldByName(Q_OR_NUMBER).setAsInteger(200);
        t.fieldByName(Q_TEXT).setAsString(QStringLiteral("added"));
        t.post();
        t.close();

        t.open();
        QCOMPARE(t.recordCount(), 4);
        t.setRecNo(2);
        QCOMPARE(t.fieldByName(U_MEMO).asString(), QStringLiteral("changed"));
        t.last();
        QCOMPARE(t.fieldByName(Q_TEXT).asString(), QStringLiteral("added"));
        t.close();
        // Still the 3.x format after the writes: the older library reads it.
        QCOMPARE(countWithLibrary(path, session->rawKey(),
                                  {libraryIsVersion4() ? "PRAGMA cipher_compatibility = 3" : "",
                                   "PRAGMA cipher_page_size = 4096"}),
                 qint64(4));
    }

    // What this build writes is the 3.x format, whatever the library.
    void newTable_isWrittenInTheSqlcipher3Format()
    {
        const QString path = env->path(TableFiles::UserSet);
        Table::createFile(path, TableFiles::SessionName, userSetSchema());
        QCOMPARE(QFile(path).size() % 4096, 0);
        QCOMPARE(countWithLibrary(path, session->rawKey(),
                                  {libraryIsVersion4() ? "PRAGMA cipher_compatibility = 3" : "",
                                   "PRAGMA cipher_page_size = 4096"}),
                 qint64(0));
        if (libraryIsVersion4())
            QCOMPARE(countWithLibrary(path, session->rawKey(), {}), qint64(-1));
    }

    // An earlier build on SQLCipher 4 wrote that release's own format; such
    // a file keeps opening there.
    void tableInSqlcipher4Format_stillOpensOnVersion4()
    {
        if (!libraryIsVersion4())
            QSKIP("SQLCipher 3 cannot write the 4.x format");
        const QString path = env->path(TableFiles::UserSet);
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
                 SQLITE_OK);
        const QByteArray key = "x'" + session->rawKey().toHex() + "'";
        sqlite3_key(db, key.constData(), int(key.size()));
        QCOMPARE(sqlite3_exec(db,
                              "PRAGMA cipher_page_size = 4096; CREATE TABLE items "
                              "(Q_ID INTEGER PRIMARY KEY, Q_TEXT TEXT); INSERT INTO items VALUES (1, 'v4');",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close_v2(db);
        Table t(TableFiles::SessionName, TableFiles::UserSet);
        t.open();
        QCOMPARE(t.fieldByName(Q_TEXT).asString(), QStringLiteral("v4"));
    }
};

QTEST_GUILESS_MAIN(TestTableFiles)
#include "test_tablefiles.moc"
