#include "Database.h"

#include "Statement.h"
#include "TableError.h"

#include <QFile>
#include <QFileInfo>
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

void Database::openHandle(const QString& path, const QByteArray& rawKey, int flags)
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
        exec(QStringLiteral("PRAGMA cipher_page_size = 4096"));
    } catch (const TableError&) {
        close();
        throw;
    }
}

void Database::open(const QString& path, const QByteArray& rawKey)
{
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo(path).isFile())
        throw TableError(QStringLiteral("Table does not exist: %1").arg(name));
    openHandle(path, rawKey, SQLITE_OPEN_READWRITE);
    // The key is only checked by the first read.
    sqlite3_stmt* probe = nullptr;
    int rc = sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_master", -1, &probe, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(probe);
    sqlite3_finalize(probe);
    if (rc != SQLITE_ROW) {
        const QString detail = QString::fromUtf8(sqlite3_errmsg(m_db));
        close();
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT)
            throw TableError(
                QStringLiteral("Cannot open table %1: wrong table password or not a table file").arg(name));
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, detail));
    }
    try {
        exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        // Decrypted pages are kept: assembly reads the bank in random order.
        exec(QStringLiteral("PRAGMA cache_size = -131072"));
        readSchema();
    } catch (const TableError& e) {
        close();
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, e.message()));
    }
}

void Database::create(const QString& path, const QByteArray& rawKey, const TableSchema& schema)
{
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
    openHandle(path, rawKey, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    QStringList columns;
    for (int i = 0; i < schema.fields.size(); ++i) {
        const FieldDef& f = schema.fields.at(i);
        QString col = QStringLiteral("\"%1\" %2").arg(f.name, fieldKindName(f.kind));
        if (i == 0)
            col = QStringLiteral("\"%1\" INTEGER PRIMARY KEY%2")
                      .arg(f.name, schema.autoIncrementKey ? QStringLiteral(" AUTOINCREMENT") : QString());
        columns << col;
    }
    exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(kTable, columns.join(QStringLiteral(", "))));
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
        throw TableError(QStringLiteral("the file holds no table"));
    Statement seq(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"));
    seq.step();
    schema.autoIncrementKey = seq.int64(0) > 0;
    return schema;
}
