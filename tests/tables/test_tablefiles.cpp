// The table files themselves: the file format on each SQLCipher release,
// making a table whole or not at all, keeping a damaged one aside, read-only
// shipped data, a journal that is not the table's own, a full disk, and
// what each file is.
#include "FaultVfs.h"
#include "TestFolder.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Database.h"
#include "core/tables/Session.h"
#include "core/tables/Statement.h"
#include "core/tables/StorageError.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/tables/TableRenewal.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <fcntl.h>
#include <sqlcipher/sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

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

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void flipBit(const QString& path, qint64 offset, int bit)
{
    QByteArray bytes = bytesOf(path);
    bytes[offset] = char(bytes[offset] ^ (1 << bit));
    writeBytes(path, bytes);
}

// Everything in a folder but the lock files, which a closed table leaves.
QStringList filesIn(const QString& folder)
{
    QStringList files =
        QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    files.removeIf([](const QString& f) { return f.endsWith(QLatin1String(".lck")); });
    return files;
}

TableSchema smallSchema()
{
    TableSchema s;
    s.autoIncrementKey = true;
    s.fields << FieldDef{QStringLiteral("K_ID"), FieldKind::Integer}
             << FieldDef{QStringLiteral("K_TEXT"), FieldKind::Memo};
    return s;
}

} // namespace

class TestTableFiles : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestFolder> env;
    std::unique_ptr<Session> session;

    // A table of `kind` at `file` with records "text 1" .. "text n".
    void makeTable(const QString& file, TableKind kind, int records)
    {
        Table::createFile(env->path(file), TableFiles::SessionName, smallSchema(), kind);
        Table t(TableFiles::SessionName, file);
        t.open();
        t.startTransaction();
        for (int i = 1; i <= records; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("K_TEXT")).setAsString(QStringLiteral("text %1").arg(i));
            t.post();
        }
        t.commit();
    }

    QStringList textsOf(Table& t)
    {
        QStringList texts;
        for (t.first(); !t.eof(); t.next())
            texts << t.fieldByName(QStringLiteral("K_TEXT")).asString();
        return texts;
    }

    // The journal a table has after `records` more records were written
    // and before they were copied into it (as a crash leaves it). The table
    // file itself is left as it was before.
    QByteArray uncheckpointedJournal(const QString& file, int records)
    {
        const QString path = env->path(file);
        const QByteArray before = bytesOf(path);
        Database db;
        db.open(path, session->rawKey());
        db.exec(QStringLiteral("PRAGMA wal_autocheckpoint = 0"));
        for (int i = 1; i <= records; ++i)
            db.exec(QStringLiteral("INSERT INTO items (K_TEXT) VALUES ('journal %1')").arg(i));
        const QByteArray journal = bytesOf(path + QStringLiteral("-wal"));
        db.close();
        writeBytes(path, before);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        return journal;
    }

private slots:
    void init()
    {
        env = std::make_unique<TestFolder>();
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(TableFiles::Password);
    }
    void cleanup()
    {
        FaultVfs::reset();
        session.reset();
        env.reset();
    }
    void initTestCase() { FaultVfs::install(); }

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

    // ---- made whole or not at all ---------------------------------------

    void create_failingAtAnyWrite_leavesNothingOrTheOldFile_data()
    {
        QTest::addColumn<bool>("replacing");
        QTest::newRow("new table") << false;
        QTest::newRow("replacing a table") << true;
    }
    void create_failingAtAnyWrite_leavesNothingOrTheOldFile()
    {
        QFETCH(bool, replacing);
        const QString path = env->path(QStringLiteral("history.DAT"));
        if (replacing)
            makeTable(QStringLiteral("history.DAT"), TableKind::History, 3);
        const QByteArray old = bytesOf(path);
        const QStringList before = filesIn(env->dir());
        int n = 1;
        for (;; ++n) {
            FaultVfs::reset();
            FaultVfs::failFrom(n);
            try {
                Table::createFile(path, TableFiles::SessionName, smallSchema(), TableKind::History);
            } catch (const TableError& e) {
                QCOMPARE(e.kind(), TableError::Kind::DiskFull);
                QVERIFY2(e.message().startsWith(QLatin1String("The disk is full")), qPrintable(e.message()));
                QVERIFY2(e.message().contains(QStringLiteral("history.DAT in the folder ") + env->dir()),
                         qPrintable(e.message()));
                QCOMPARE(bytesOf(path), old);
                QCOMPARE(filesIn(env->dir()), before);
                continue;
            }
            break;
        }
        FaultVfs::reset();
        QVERIFY2(n > 5, "the creation never reached the disk");
        Table t(TableFiles::SessionName, path);
        t.setKind(TableKind::History);
        t.open();
        QCOMPARE(t.recordCount(), 0);
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")) ||
                QFileInfo(path + QStringLiteral("-wal")).size() == 0);
    }

    // A creation killed part way leaves its temporary file; the next one
    // removes it, but not one that is still being made.
    void create_removesWhatAKilledCreationLeft()
    {
        const QString path = env->path(QStringLiteral("history.DAT"));
        const QString abandoned = path + QStringLiteral(".new-Ab12Cd");
        const QString busy = path + QStringLiteral(".new-Zz99Yy");
        for (const QString& file :
             {abandoned, abandoned + QStringLiteral("-wal"), abandoned + QStringLiteral("-journal"), busy})
            writeBytes(file, QByteArray(100, 'x'));
        const int fd = ::open(QFile::encodeName(busy).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        QCOMPARE(::flock(fd, LOCK_EX), 0);
        Table::createFile(path, TableFiles::SessionName, smallSchema(), TableKind::History);
        ::close(fd);
        QStringList left = filesIn(env->dir());
        QVERIFY2(!left.contains(QFileInfo(abandoned).fileName()), qPrintable(left.join(u' ')));
        QVERIFY(!left.contains(QFileInfo(abandoned).fileName() + QStringLiteral("-wal")));
        QVERIFY(!left.contains(QFileInfo(abandoned).fileName() + QStringLiteral("-journal")));
        QVERIFY(left.contains(QFileInfo(busy).fileName()));
    }

    // ---- a damaged candidate table is kept aside -------------------------

    void openOrRenew_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("renewed");
        QTest::addColumn<int>("kind"); // of the error when not renewed
        const int none = -1;
        QTest::newRow("no file yet") << "missing" << false << none;
        QTest::newRow("empty, as a killed first creation left it") << "empty" << true << none;
        QTest::newRow("without its table") << "no-table" << true << none;
        QTest::newRow("cut at a page") << "cut" << true << none;
        QTest::newRow("a bit flipped in the first page") << "flip-page1" << true << none;
        QTest::newRow("a bit flipped in the salt") << "flip-salt" << true << none;
        QTest::newRow("a bit flipped in a later page") << "flip-page3" << true << none;
        QTest::newRow("wrong password") << "password" << false << int(TableError::Kind::WrongPassword);
        QTest::newRow("a table of another kind") << "kind" << false << int(TableError::Kind::OtherKind);
        QTest::newRow("another program's file") << "sqlite" << false << int(TableError::Kind::NotATable);
        QTest::newRow("a folder in its place") << "folder" << false << int(TableError::Kind::NotAFile);
    }
    void openOrRenew()
    {
        QFETCH(QString, damage);
        QFETCH(bool, renewed);
        QFETCH(int, kind);
        const QString file = QStringLiteral("history.DAT");
        const QString path = env->path(file);
        if (damage != QLatin1String("missing") && damage != QLatin1String("folder"))
            makeTable(file, damage == QLatin1String("kind") ? TableKind::UserSet : TableKind::History, 200);
        const qint64 size = QFileInfo(path).size();
        if (damage == QLatin1String("empty")) {
            writeBytes(path, {});
        } else if (damage == QLatin1String("no-table")) {
            Database db;
            db.open(path, session->rawKey());
            db.exec(QStringLiteral("DROP TABLE items"));
        } else if (damage == QLatin1String("cut")) {
            QVERIFY(QFile::resize(path, size / 2 / 4096 * 4096));
        } else if (damage == QLatin1String("flip-page1")) {
            flipBit(path, 700, 3);
        } else if (damage == QLatin1String("flip-salt")) {
            flipBit(path, 5, 6);
        } else if (damage == QLatin1String("flip-page3")) {
            flipBit(path, 2 * 4096 + 1000, 0);
        } else if (damage == QLatin1String("password")) {
            session = std::make_unique<Session>(TableFiles::SessionName);
            session->registerPassword(QStringLiteral("another13char"));
        } else if (damage == QLatin1String("sqlite")) {
            QFile::remove(path);
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &db);
            sqlite3_exec(db, "CREATE TABLE items (K_ID INTEGER PRIMARY KEY)", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else if (damage == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        }
        const QByteArray before = bytesOf(path);
        const QStringList filesBefore = filesIn(env->dir());
        const QDateTime when(QDate(2026, 12, 10), QTime(6, 12));
        const QString kept = path + QStringLiteral(".damaged-20261210-0612");

        Table t(TableFiles::SessionName, file);
        if (!renewed && kind >= 0) {
            try {
                TableRenewal::openOrRenew(t, smallSchema(), TableKind::History, when);
                QFAIL("opened");
            } catch (const TableError& e) {
                QCOMPARE(int(e.kind()), kind);
                QVERIFY2(e.message().contains(path), qPrintable(e.message()));
                if (damage == QLatin1String("kind"))
                    QVERIFY2(e.message().contains(
                                 QStringLiteral("is your own question set, not your score history")),
                             qPrintable(e.message()));
                if (damage == QLatin1String("folder"))
                    QVERIFY2(e.message().contains(QStringLiteral("is a folder, not a table file")),
                             qPrintable(e.message()));
            }
            QCOMPARE(bytesOf(path), before);
            QCOMPARE(filesIn(env->dir()), filesBefore);
            return;
        }
        const QString notice = TableRenewal::openOrRenew(t, smallSchema(), TableKind::History, when);
        QVERIFY(t.isOpen());
        QCOMPARE(t.recordCount(), 0);
        t.append();
        t.fieldByName(QStringLiteral("K_TEXT")).setAsString(QStringLiteral("graded"));
        t.post();
        t.close();
        if (!renewed) {
            QVERIFY(notice.isEmpty());
        } else {
            QVERIFY2(notice.contains(QStringLiteral("Your score history could not be read")),
                     qPrintable(notice));
            QVERIFY2(notice.contains(kept) && notice.contains(path + QLatin1Char(' ')), qPrintable(notice));
            QCOMPARE(bytesOf(kept), before); // kept as it was, nothing thrown away
        }
        // Told once: the new table opens as it is.
        QVERIFY(TableRenewal::openOrRenew(t, smallSchema(), TableKind::History, when).isEmpty());
        QCOMPARE(textsOf(t), QStringList{QStringLiteral("graded")});
        Database db;
        db.open(path, session->rawKey());
        QCOMPARE(db.applicationId(), TableKinds::applicationId(TableKind::History));
    }

    void keptAsideName_isNewEachTime()
    {
        const QString path = env->path(QStringLiteral("history.DAT"));
        const QDateTime when(QDate(2026, 12, 10), QTime(6, 12, 59));
        QCOMPARE(TableRenewal::keptAsideName(path, when), path + QStringLiteral(".damaged-20261210-0612"));
        writeBytes(path + QStringLiteral(".damaged-20261210-0612"), "x");
        writeBytes(path + QStringLiteral(".damaged-20261210-0612-2"), "x");
        QCOMPARE(TableRenewal::keptAsideName(path, when), path + QStringLiteral(".damaged-20261210-0612-3"));
    }

    // ---- every file told for what it is -----------------------------------

    void unopenableFiles_sayWhatTheyAre_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("a bit flipped in the first page")
            << "flip-page1" << int(TableError::Kind::Damaged) << "is damaged";
        QTest::newRow("a bit flipped in the salt")
            << "flip-salt" << int(TableError::Kind::Damaged) << "is damaged";
        QTest::newRow("the bank in the own set's place") << "bank" << int(TableError::Kind::OtherKind)
                                                         << "is the question bank, not your own question set";
        QTest::newRow("the history in the own set's place")
            << "history" << int(TableError::Kind::OtherKind)
            << "is your score history, not your own question set";
        QTest::newRow("a table of a newer version")
            << "newer" << int(TableError::Kind::OtherKind) << "is a table of a newer version of this program";
        QTest::newRow("a folder") << "folder" << int(TableError::Kind::NotAFile)
                                  << "is a folder, not a table file";
        QTest::newRow("wrong password")
            << "password" << int(TableError::Kind::WrongPassword) << "wrong table password";
    }
    void unopenableFiles_sayWhatTheyAre()
    {
        QFETCH(QString, damage);
        QFETCH(int, kind);
        QFETCH(QString, text);
        const QString file = TableFiles::UserSet;
        const QString path = env->path(file);
        const TableKind made = damage == QLatin1String("bank")      ? TableKind::Bank
                               : damage == QLatin1String("history") ? TableKind::History
                                                                    : TableKind::UserSet;
        if (damage == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else
            makeTable(file, made, 50);
        if (damage == QLatin1String("flip-page1"))
            flipBit(path, 300, 1);
        else if (damage == QLatin1String("flip-salt"))
            flipBit(path, 0, 0);
        else if (damage == QLatin1String("password")) {
            session = std::make_unique<Session>(TableFiles::SessionName);
            session->registerPassword(QStringLiteral("another13char"));
        } else if (damage == QLatin1String("newer")) {
            Database db;
            db.open(path, session->rawKey());
            db.exec(QStringLiteral("PRAGMA application_id = %1").arg(0x5658515a));
        }
        const QByteArray before = bytesOf(path);
        Table t(TableFiles::SessionName, file);
        t.setKind(TableKind::UserSet);
        try {
            t.open();
            QFAIL("opened");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(text), qPrintable(e.message()));
            QVERIFY2(e.message().contains(path), qPrintable(e.message()));
            QCOMPARE(int(e.kind()), kind);
        }
        QCOMPARE(bytesOf(path), before);
    }

    // Tables made before kinds existed open as any kind, and are marked the
    // first time they are opened for changes; shipped data never is.
    void unmarkedTable_opensAndIsMarked()
    {
        makeTable(TableFiles::UserSet, TableKind::Unmarked, 3);
        Table t(TableFiles::SessionName, TableFiles::UserSet);
        t.setKind(TableKind::Bank);
        t.setReadOnly(true);
        t.open();
        QCOMPARE(t.recordCount(), 3);
        t.close();
        t.setReadOnly(false);
        t.setKind(TableKind::UserSet);
        t.open();
        t.close();
        t.setKind(TableKind::History);
        QVERIFY_THROWS_EXCEPTION(TableError, t.open());
        t.setKind(TableKind::Unmarked);
        t.open(); // no kind asked: any
        QCOMPARE(t.recordCount(), 3);
    }

    // A read-only table file, or a table in a read-only folder, opened for
    // changes says which. Root writes anyway, so then a child opens the
    // table as nobody.
    void readOnlyFileOrFolder_forChanges_saysWhich_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("text");
        QTest::newRow("read-only file") << false << "is read-only";
        QTest::newRow("read-only folder") << true << "does not allow writing";
    }
    void readOnlyFileOrFolder_forChanges_saysWhich()
    {
        QFETCH(bool, folder);
        QFETCH(QString, text);
        makeTable(TableFiles::UserSet, TableKind::UserSet, 3);
        const QString path = env->path(TableFiles::UserSet);
        QFile::remove(path + QStringLiteral(".lck"));
        const auto readable = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner |
                              QFile::ExeGroup | QFile::ExeOther;
        QVERIFY(
            QFile::setPermissions(path, folder ? QFile::Permissions(0x6666) : QFile::Permissions(0x4444)));
        QVERIFY(QFile::setPermissions(env->dir(), folder ? readable : readable | QFile::WriteOwner));
        const auto restore = qScopeGuard([this] {
            QFile::setPermissions(env->dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        QString message;
        if (::geteuid() != 0) {
            Table t(TableFiles::SessionName, TableFiles::UserSet);
            try {
                t.open();
            } catch (const TableError& e) {
                message = e.message();
            }
        } else {
            QProcess child;
            child.setChildProcessModifier([] {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(3);
            });
            child.start(QStringLiteral(TABLE_HOLDER), {QStringLiteral("shared"), path});
            // The helper program must be reachable by that user: not so in a
            // build folder under /root.
            if (!child.waitForFinished(20000) && child.error() == QProcess::FailedToStart)
                QSKIP("the test's helper program cannot be run as another user from this build folder");
            QCOMPARE(child.exitCode(), 1);
            message = QString::fromLocal8Bit(child.readAllStandardError()).trimmed();
        }
        QVERIFY2(message.contains(text), qPrintable(message));
        QVERIFY2(message.contains(folder ? env->dir() : path), qPrintable(message));
    }

    // ---- shipped data is never written -----------------------------------

    void readOnlyTable_isReadAsItLiesAndNeverWritten()
    {
        makeTable(TableFiles::Bank, TableKind::Bank, 20);
        makeTable(TableFiles::UserSet, TableKind::UserSet, 1);
        // A journal of another table beside it, as a partly restored backup
        // leaves one: a read-only open does not look at it.
        const QByteArray foreign = uncheckpointedJournal(TableFiles::UserSet, 5);
        const QString path = env->path(TableFiles::Bank);
        writeBytes(path + QStringLiteral("-wal"), foreign);
        QFile::remove(path + QStringLiteral(".lck"));
        const QByteArray before = bytesOf(path);
        const QStringList files = filesIn(env->dir());

        Table bank(TableFiles::SessionName, TableFiles::Bank);
        bank.setReadOnly(true);
        bank.setKind(TableKind::Bank);
        bank.open();
        QCOMPARE(bank.recordCount(), 20);
        QCOMPARE(bank.fieldByName(QStringLiteral("K_TEXT")).asString(), QStringLiteral("text 1"));
        QVERIFY_THROWS_EXCEPTION(TableError, bank.edit());
        QVERIFY_THROWS_EXCEPTION(TableError, bank.append());
        QVERIFY_THROWS_EXCEPTION(TableError, bank.deleteRecord());
        QVERIFY_THROWS_EXCEPTION(TableError, bank.startTransaction());
        QVERIFY_THROWS_EXCEPTION(TableError, bank.emptyTable());
        QVERIFY_THROWS_EXCEPTION(TableError, bank.setReadOnly(false));
        bank.close();
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(bytesOf(path + QStringLiteral("-wal")), foreign);
        QCOMPARE(filesIn(env->dir()), files); // no lock file, no index
        QVERIFY(!QFile::exists(path + QStringLiteral(".lck")));
    }

    // ---- a journal that is not the table's own ----------------------------

    void journalBesideTable_isCheckedBeforeItIsApplied_data()
    {
        QTest::addColumn<QString>("journal");
        QTest::addColumn<bool>("foreign");
        QTest::newRow("its own, after a crash") << "own" << false;
        QTest::newRow("another table's") << "other-table" << true;
        QTest::newRow("another program's") << "sqlite" << true;
        QTest::newRow("not a journal at all") << "garbage" << false;
    }
    void journalBesideTable_isCheckedBeforeItIsApplied()
    {
        QFETCH(QString, journal);
        QFETCH(bool, foreign);
        makeTable(TableFiles::UserSet, TableKind::UserSet, 4);
        makeTable(QStringLiteral("other.DAT"), TableKind::UserSet, 2);
        const QString path = env->path(TableFiles::UserSet);
        const QString wal = path + QStringLiteral("-wal");
        QByteArray bytes;
        if (journal == QLatin1String("own")) {
            bytes = uncheckpointedJournal(TableFiles::UserSet, 3);
        } else if (journal == QLatin1String("other-table")) {
            bytes = uncheckpointedJournal(QStringLiteral("other.DAT"), 3);
        } else if (journal == QLatin1String("sqlite")) {
            const QString plain = env->path(QStringLiteral("plain.db"));
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(plain).constData(), &db);
            sqlite3_exec(db,
                         "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; CREATE TABLE t (x); "
                         "INSERT INTO t VALUES (zeroblob(5000));",
                         nullptr, nullptr, nullptr);
            bytes = bytesOf(plain + QStringLiteral("-wal"));
            sqlite3_close(db);
        } else {
            bytes = QByteArray(5000, 'j');
        }
        QVERIFY(bytes.size() > 4096);
        writeBytes(wal, bytes);
        const QByteArray before = bytesOf(path);

        Table t(TableFiles::SessionName, TableFiles::UserSet);
        if (!foreign) {
            t.open();
            QStringList expected = {QStringLiteral("text 1"), QStringLiteral("text 2"),
                                    QStringLiteral("text 3"), QStringLiteral("text 4")};
            if (journal == QLatin1String("own"))
                expected << QStringLiteral("journal 1") << QStringLiteral("journal 2")
                         << QStringLiteral("journal 3");
            QCOMPARE(textsOf(t), expected);
            return;
        }
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                t.open();
                QFAIL("opened beside a foreign journal");
            } catch (const TableError& e) {
                QCOMPARE(e.kind(), TableError::Kind::ForeignJournal);
                QVERIFY2(e.message().contains(wal + QLatin1Char(' ')) &&
                             e.message().contains(path + QLatin1Char(' ')),
                         qPrintable(e.message()));
            }
            QCOMPARE(bytesOf(path), before);
            QCOMPARE(bytesOf(wal), bytes);
        }
        // Moved away as the message says, the table opens as it was.
        QVERIFY(QFile::rename(wal, env->path(QStringLiteral("moved-wal"))));
        t.open();
        QCOMPARE(t.recordCount(), 4);
    }

    // With the wrong password nothing can tell the journal's pages from
    // another file's: the password is what the candidate hears about.
    void journalBesideTable_wrongPassword_isToldAsSuch()
    {
        makeTable(TableFiles::UserSet, TableKind::UserSet, 4);
        const QString path = env->path(TableFiles::UserSet);
        writeBytes(path + QStringLiteral("-wal"), uncheckpointedJournal(TableFiles::UserSet, 2));
        const QByteArray before = bytesOf(path);
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(QStringLiteral("another13char"));
        Table t(TableFiles::SessionName, TableFiles::UserSet);
        try {
            t.open();
            QFAIL("opened");
        } catch (const TableError& e) {
            QCOMPARE(e.kind(), TableError::Kind::WrongPassword);
        }
        QCOMPARE(bytesOf(path), before);
    }

    // ---- a full disk ----------------------------------------------------------

    void diskFull_onOpen_saysSoAndWhere()
    {
        makeTable(TableFiles::UserSet, TableKind::UserSet, 4);
        const QString path = env->path(TableFiles::UserSet);
        const QByteArray before = bytesOf(path);
        FaultVfs::failFrom(1);
        Table t(TableFiles::SessionName, TableFiles::UserSet);
        try {
            t.open();
            QFAIL("opened on a full disk");
        } catch (const TableError& e) {
            QCOMPARE(e.kind(), TableError::Kind::DiskFull);
            QCOMPARE(e.message(), StorageError::diskFullText(path));
            QVERIFY2(e.message().contains(env->dir()), qPrintable(e.message()));
        }
        QVERIFY(!t.isOpen());
        QCOMPARE(bytesOf(path), before);
        FaultVfs::clearFailure();
        t.open();
        QCOMPARE(t.recordCount(), 4);
    }

    // The same on a real full disk: a small tmpfs in a mount namespace of
    // the child's own (skipped where mounting is not allowed).
    void diskFull_onARealDisk_saysSoInEveryPath()
    {
        const QString folder = env->path(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(folder));
        QProcess child;
        child.start(
            QStringLiteral("unshare"),
            {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("mount -t tmpfs -o size=256k tmpfs \"$1\" || exit 77; exec \"$2\" \"$1\""),
             QStringLiteral("sh"), folder, QStringLiteral(FULLDISK_CHILD)});
        if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit)
            QFAIL("the child did not end");
        // unshare itself fails inside a chroot whose root is no mount point.
        if (child.exitCode() == 77 || child.error() == QProcess::FailedToStart ||
            child.readAllStandardError().startsWith("unshare:"))
            QSKIP("no tmpfs may be mounted here");
        const QStringList lines =
            QString::fromLocal8Bit(child.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        const QString full = StorageError::diskFullText(QDir(folder).filePath(TableFiles::UserSet));
        QCOMPARE(lines.mid(0, 2), (QStringList{"create with room: ok", "open with room: ok"}));
        QCOMPARE(lines.value(2), QStringLiteral("write: ") + full);
        QCOMPARE(lines.value(3), QStringLiteral("count after: ok"));
        QCOMPARE(lines.value(4), QStringLiteral("open: ") + full);
        QCOMPARE(lines.value(5),
                 QStringLiteral("create: ") +
                     StorageError::diskFullText(QDir(folder).filePath(QStringLiteral("history.DAT"))));
        QCOMPARE(lines.value(6), QStringLiteral("room again: ok"));
        // Nothing half made is left on the disk.
        QCOMPARE(lines.mid(7), (QStringList{"file velarix2usr.DAT", "file velarix2usr.DAT.lck"}));
    }

    void diskFull_onWrite_keepsWhatTheTableShows()
    {
        makeTable(TableFiles::UserSet, TableKind::UserSet, 4);
        const QString path = env->path(TableFiles::UserSet);
        Table t(TableFiles::SessionName, TableFiles::UserSet);
        t.open();
        t.setRecNo(2);

        // One record, outside a transaction: it stays in the buffer.
        t.append();
        t.fieldByName(QStringLiteral("K_TEXT")).setAsString(QStringLiteral("new"));
        FaultVfs::failFrom(FaultVfs::writes() + 1);
        try {
            t.post();
            QFAIL("posted on a full disk");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), StorageError::diskFullText(path));
        }
        QCOMPARE(t.state(), Table::State::Insert);
        QCOMPARE(t.fieldByName(QStringLiteral("K_TEXT")).asString(), QStringLiteral("new"));
        t.cancel();
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(t.recNo(), 2);

        // Many records in a transaction: the engine rolls it all back itself.
        FaultVfs::clearFailure();
        t.startTransaction();
        for (int i = 0; i < 3; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("K_TEXT")).setAsString(QString(3000, QLatin1Char('t')));
            t.post();
        }
        QCOMPARE(t.recordCount(), 7);
        FaultVfs::failFrom(FaultVfs::writes() + 1);
        try {
            t.commit();
            QFAIL("committed on a full disk");
        } catch (const TableError& e) {
            QCOMPARE(e.message(), StorageError::diskFullText(path));
        }
        t.rollback(); // no "cannot rollback - no transaction is active"
        QVERIFY(!t.inTransaction());
        QCOMPARE(t.recordCount(), 4);
        QCOMPARE(textsOf(t), (QStringList{QStringLiteral("text 1"), QStringLiteral("text 2"),
                                          QStringLiteral("text 3"), QStringLiteral("text 4")}));
        t.close();

        // Room again: the table is whole and takes changes.
        FaultVfs::clearFailure();
        t.open();
        QCOMPARE(t.recordCount(), 4);
        t.append();
        t.fieldByName(QStringLiteral("K_TEXT")).setAsString(QStringLiteral("later"));
        t.post();
        QCOMPARE(t.recordCount(), 5);
    }
};

QTEST_GUILESS_MAIN(TestTableFiles)
#include "test_tablefiles.moc"
