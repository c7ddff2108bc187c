#include "Database.h"

#include "Statement.h"
#include "TableError.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <sqlcipher/sqlite3.h>

namespace {
const QString kTable = QStringLiteral("items");
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Database::openHandle(const QString& path, const QByteArray& rawKey, int flags, CipherFormat format)
{
    close();
    m_path = path;
    const QString name = QFileInfo(path).fileName();
    if (rawKey.size() != 32)
        throw TableError(QStringLiteral("Cannot open table %1: no table password is registered").arg(name));
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, detail));
    }
    m_db = db;
    // A raw key skips SQLCipher's own key derivation on every open.
    const QByteArray hexKey = rawKey.toHex();
    const QByteArray keyLiteral = "x'" + hexKey + "'";
    if (sqlite3_key(m_db, keyLiteral.constData(), int(keyLiteral.size())) != SQLITE_OK) {
        close();
        throw TableError(QStringLiteral("Cannot open table %1: the key was refused").arg(name));
    }
    sqlite3_busy_timeout(m_db, 1500);
    try {
        pinFileFormat(format);
    } catch (const TableError&) {
        close();
        throw;
    }
}

int Database::probeFirstPage()
{
    // The key is only checked by the first read.
    sqlite3_stmt* probe = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_master", -1, &probe, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(probe);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        rc = sqlite3_extended_errcode(m_db) & 0xff;
    sqlite3_finalize(probe);
    return rc;
}

QString Database::cipherVersion()
{
    return cipherVersionOf(m_db);
}

QString Database::cipherVersionOf(sqlite3* db)
{
    Statement st(db, QStringLiteral("PRAGMA cipher_version"));
    return st.step() ? st.value(0).toString() : QString();
}

void Database::pinFileFormat(CipherFormat format)
{
    // SQLCipher 4 changed the file format (HMAC, key derivation, page size)
    // and refuses files written by 3.x: "file is not a database". Our tables
    // keep the 3.x format on every release, so a system upgrade keeps them
    // readable and the files stay readable by the older library. The
    // compatibility setting must come after the key and before the first
    // read, and resets the page size, so ours is set after it.
    const QString version = cipherVersion();
    if (version.isEmpty())
        throw TableError(QStringLiteral("the table library is not SQLCipher"));
    if (format == CipherFormat::Version3 && version.section(QLatin1Char('.'), 0, 0).toInt() >= 4)
        exec(QStringLiteral("PRAGMA cipher_compatibility = 3"));
    exec(QStringLiteral("PRAGMA cipher_page_size = 4096"));
}

namespace {
constexpr qint64 PageSize = 4096;

// Whether the bytes look like the output of a cipher: nearly every byte
// value occurs, as many times as chance gives. Text, pictures and zeros do
// not; a table file keyed with another password does.
bool looksEncrypted(const QByteArray& bytes)
{
    if (bytes.size() < 256)
        return false;
    int counts[256] = {};
    for (const char c : bytes)
        ++counts[static_cast<unsigned char>(c)];
    int distinct = 0;
    for (const int n : counts)
        distinct += n > 0 ? 1 : 0;
    const double expected = 256.0 * (1.0 - std::exp(-double(bytes.size()) / 256.0));
    return distinct >= 0.9 * expected;
}
} // namespace

QString Database::damagedText(const QString& name)
{
    return QStringLiteral("Cannot open table %1: the file is damaged").arg(name);
}

QString Database::notATableText(const QString& name)
{
    return QStringLiteral("Cannot open table %1: the file is not a table of this program").arg(name);
}

QString Database::wrongPasswordText(const QString& name)
{
    return QStringLiteral("Cannot open table %1: wrong table password").arg(name);
}

void Database::open(const QString& path, const QByteArray& rawKey)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile())
        throw TableError(QStringLiteral("Table does not exist: %1").arg(name), TableError::Kind::Missing);
    // What the engine cannot tell apart by the key alone is told by the
    // file's first page: a plain SQLite file says so in clear.
    QByteArray head;
    qint64 size = 0;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            size = file.size();
            head = file.read(PageSize);
        }
    }
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        throw TableError(notATableText(name), TableError::Kind::NotATable);
    if (size == 0)
        throw TableError(damagedText(name), TableError::Kind::Damaged);
    openHandle(path, rawKey, SQLITE_OPEN_READWRITE);
    int rc = probeFirstPage();
    if (rc == SQLITE_NOTADB && cipherVersion().section(QLatin1Char('.'), 0, 0).toInt() >= 4) {
        // Written by an earlier build on SQLCipher 4 in that release's own
        // format: it still opens there, as it did.
        openHandle(path, rawKey, SQLITE_OPEN_READWRITE, CipherFormat::Native);
        rc = probeFirstPage();
    }
    if (rc != SQLITE_ROW) {
        const QString detail = QString::fromUtf8(sqlite3_errmsg(m_db));
        close();
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) {
            if (!looksEncrypted(head))
                throw TableError(notATableText(name), TableError::Kind::NotATable);
            // Every table file is whole pages; a cut one is not. "Corrupt"
            // means the key did open the first page and the rest is wrong
            // (a file cut at a page); another key makes it "not a database".
            if (size < PageSize || size % PageSize != 0 || rc == SQLITE_CORRUPT)
                throw TableError(damagedText(name), TableError::Kind::Damaged);
            throw TableError(wrongPasswordText(name), TableError::Kind::WrongPassword);
        }
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, detail));
    }
    try {
        exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        // Decrypted pages are kept, as many as a large bank needs for the random
        // reads of an assembly without holding a whole 100,000-item set twice.
        exec(QStringLiteral("PRAGMA cache_size = -32768"));
        // A file cut short or overwritten in part opens, but its pages do
        // not check out; the tables are small, so every open looks.
        Statement check(m_db, QStringLiteral("PRAGMA quick_check(1)"));
        if (!check.step() || check.value(0).toString() != QLatin1String("ok"))
            throw TableError(damagedText(name), TableError::Kind::Damaged);
    } catch (const TableError& e) {
        close();
        if (e.kind() == TableError::Kind::Damaged)
            throw TableError(damagedText(name), TableError::Kind::Damaged);
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, e.message()), e.kind());
    }
    try {
        if (needsMigration())
            migrate();
        readSchema();
    } catch (const TableError& e) {
        close();
        if (e.kind() == TableError::Kind::NotATable)
            throw TableError(notATableText(name), TableError::Kind::NotATable);
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, e.message()), e.kind());
    }
}

namespace {
QString createStatement(const QString& table, const TableSchema& schema)
{
    QStringList columns;
    for (int i = 0; i < schema.fields.size(); ++i) {
        const FieldDef& f = schema.fields.at(i);
        QString col = QStringLiteral("\"%1\" %2").arg(f.name, fieldKindName(f.kind));
        if (i == 0)
            col = QStringLiteral("\"%1\" INTEGER PRIMARY KEY%2")
                      .arg(f.name, schema.autoIncrementKey ? QStringLiteral(" AUTOINCREMENT") : QString());
        columns << col;
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns.join(QStringLiteral(", ")));
}
} // namespace

void Database::create(const QString& path, const QByteArray& rawKey, const TableSchema& schema)
{
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
    openHandle(path, rawKey, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    exec(createStatement(kTable, schema));
}

bool Database::needsMigration()
{
    Statement st(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(kTable));
    while (st.step()) {
        if (isLegacyKindName(st.value(2).toString()))
            return true;
    }
    return false;
}

void Database::migrate()
{
    // Memo columns used to be declared MEMO, whose numeric affinity turned
    // a note "007" into 7 and "1e5" into 100000.0. Such a value is kept as
    // the program showed it; every other value is copied unchanged. The table
    // is rebuilt under its new declaration in one transaction, so a failure
    // or a kill leaves the old file as it was.
    const TableSchema schema = readSchema();
    const QString rebuilt = kTable + QStringLiteral("_migrated");
    exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(rebuilt));
        exec(createStatement(rebuilt, schema));
        QStringList marks;
        for (int i = 0; i < schema.fields.size(); ++i)
            marks << QStringLiteral("?");
        Statement select(m_db, QStringLiteral("SELECT * FROM %1").arg(kTable));
        Statement insert(
            m_db, QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(rebuilt, marks.join(QLatin1Char(','))));
        while (select.step()) {
            insert.reset();
            for (int i = 0; i < schema.fields.size(); ++i) {
                QVariant v = select.value(i);
                const FieldKind kind = schema.fields.at(i).kind;
                if (!v.isNull() && (kind == FieldKind::Memo || kind == FieldKind::Text))
                    v = QVariant(v.toString());
                insert.bind(i + 1, v);
            }
            insert.exec();
        }
        select = Statement();
        insert = Statement();
        // The next automatic key continues where the old table's stopped,
        // also after its last records were deleted.
        qint64 sequence = -1;
        if (schema.autoIncrementKey) {
            Statement seq(m_db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"));
            seq.bind(1, kTable);
            if (seq.step())
                sequence = seq.int64(0);
        }
        exec(QStringLiteral("DROP TABLE %1").arg(kTable));
        exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(rebuilt, kTable));
        if (sequence >= 0) {
            exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name IN ('%1', '%2')")
                     .arg(kTable, rebuilt));
            Statement seq(m_db, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"));
            seq.bind(1, kTable);
            seq.bind(2, sequence);
            seq.exec();
        }
        exec(QStringLiteral("COMMIT"));
    } catch (...) {
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void Database::exec(const QString& sql)
{
    Statement st(m_db, sql);
    st.exec();
}

TableSchema Database::readSchema()
{
    TableSchema schema;
    Statement st(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(kTable));
    while (st.step()) {
        FieldDef f;
        f.name = st.value(1).toString();
        const QString declared = st.value(2).toString();
        if (!fieldKindFromName(declared, &f.kind))
            throw TableError(QStringLiteral("field %1 has an unknown kind %2").arg(f.name, declared));
        schema.fields << f;
    }
    if (schema.fields.isEmpty())
        throw TableError(QStringLiteral("the file is not a table of this program"),
                         TableError::Kind::NotATable);
    Statement seq(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"));
    seq.step();
    schema.autoIncrementKey = seq.int64(0) > 0;
    return schema;
}
