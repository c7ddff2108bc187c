#include "core/tables/Database.h"

#include "core/tables/CipherPages.h"
#include "core/tables/Statement.h"
#include "core/tables/StorageError.h"
#include "core/tables/TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sqlcipher/sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
const QString kTable = QStringLiteral("items");
constexpr qint64 PageSize = CipherPages::PageSize;

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

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

const QStringList& journalSuffixes()
{
    static const QStringList suffixes = {QStringLiteral("-wal"), QStringLiteral("-shm"),
                                         QStringLiteral("-journal")};
    return suffixes;
}

// The temporary name a table is made under: "<name>.new-XXXXXX" beside it.
QString temporaryPrefix(const QString& path)
{
    return path + QStringLiteral(".new-");
}

// Removes what a creation that was killed left behind. A creation in
// progress holds a lock on its file, so only abandoned ones go.
void removeAbandonedCreations(const QString& path)
{
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    const QStringList found = folder.entryList({info.fileName() + QStringLiteral(".new-??????")},
                                               QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : found) {
        const QString full = folder.filePath(entry);
        const int fd = ::open(QFile::encodeName(full).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            for (const QString& suffix : journalSuffixes())
                QFile::remove(full + suffix);
            QFile::remove(full);
        }
        ::close(fd);
    }
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

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

void Database::openHandle(const QString& path, const QByteArray& rawKey, int flags, CipherFormat format,
                          bool immutable)
{
    close();
    m_path = path;
    const QString name = QFileInfo(path).fileName();
    if (rawKey.size() != 32)
        throw TableError(QStringLiteral("Cannot open table %1: no table password is registered").arg(name));
    QByteArray target = QFile::encodeName(path);
    if (immutable) {
        // Read as the file lies: no lock, no journal looked for or applied.
        QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        url.setQuery(QStringLiteral("immutable=1"));
        target = url.toEncoded();
        flags |= SQLITE_OPEN_URI;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(target.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const TableError error =
            StorageError::fromEngine(db, QStringLiteral("Cannot open table %1").arg(name), path);
        sqlite3_close_v2(db);
        throw error;
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

QString Database::damagedText(const QString& path)
{
    return QStringLiteral("Cannot open table %1: the file %2 is damaged")
        .arg(QFileInfo(path).fileName(), nativePath(path));
}

QString Database::notATableText(const QString& path)
{
    return QStringLiteral("Cannot open table %1: the file %2 is not a table of this program")
        .arg(QFileInfo(path).fileName(), nativePath(path));
}

QString Database::wrongPasswordText(const QString& path)
{
    return QStringLiteral("Cannot open table %1: wrong table password for %2")
        .arg(QFileInfo(path).fileName(), nativePath(path));
}

QString Database::otherKindText(const QString& path, qint32 found, TableKind expected)
{
    return QStringLiteral("Cannot open table %1: the file %2 is %3, not %4")
        .arg(QFileInfo(path).fileName(), nativePath(path), TableKinds::description(found),
             TableKinds::description(expected));
}

QString Database::foreignJournalText(const QString& path)
{
    return QStringLiteral("Cannot open table %1: the journal file %2 beside %3 does not belong to it (it "
                          "may be left from another table or from a backup). Nothing was changed. Move "
                          "%2 out of that folder, then try again.")
        .arg(QFileInfo(path).fileName(), nativePath(path + QStringLiteral("-wal")), nativePath(path));
}

void Database::checkJournal(const QString& path, const QByteArray& rawKey, const QByteArray& head)
{
    // The engine applies a journal it finds beside a table to that table:
    // one of another file would be written into this one when it closes.
    const QFileInfo wal(path + QStringLiteral("-wal"));
    if (!wal.exists() && !wal.isSymLink())
        return;
    if (wal.isFile() && (wal.size() == 0 || CipherPages::checkJournal(wal.filePath(), rawKey,
                                                                      head.left(CipherPages::SaltSize)) !=
                                                CipherPages::Journal::Foreign))
        return;
    if (wal.isFile() && !CipherPages::keyFitsFile(path, rawKey)) {
        // Neither the table nor the journal opens with this key; the engine
        // is kept away from both.
        if (!looksEncrypted(head))
            throw TableError(notATableText(path), TableError::Kind::NotATable);
        throw TableError(wrongPasswordText(path), TableError::Kind::WrongPassword);
    }
    throw TableError(foreignJournalText(path), TableError::Kind::ForeignJournal);
}

void Database::open(const QString& path, const QByteArray& rawKey, Access access, TableKind kind)
{
    close();
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (info.exists() && !info.isFile())
        throw TableError(StorageError::notAFileText(path), TableError::Kind::NotAFile);
    if (!info.exists())
        throw TableError(QStringLiteral("Table does not exist: %1").arg(name), TableError::Kind::Missing);
    // What the engine cannot tell apart by the key alone is told by the
    // file's first page: a plain SQLite file says so in clear.
    QByteArray head;
    qint64 size = 0;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TableError(QStringLiteral("Cannot open table %1: %2 cannot be read (%3)")
                                 .arg(name, nativePath(path), file.errorString()));
        size = file.size();
        head = file.read(PageSize);
    }
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        throw TableError(notATableText(path), TableError::Kind::NotATable);
    if (size == 0)
        throw TableError(damagedText(path), TableError::Kind::Damaged);
    const bool readOnly = access == Access::ReadOnly;
    if (!readOnly)
        checkJournal(path, rawKey, head);
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    openHandle(path, rawKey, flags, CipherFormat::Version3, readOnly);
    if (!readOnly && sqlite3_db_readonly(m_db, "main") == 1) {
        close();
        throw TableError(StorageError::readOnlyText(path), TableError::Kind::ReadOnly);
    }
    int rc = probeFirstPage();
    if (rc == SQLITE_NOTADB && cipherVersion().section(QLatin1Char('.'), 0, 0).toInt() >= 4) {
        // Written by an earlier build on SQLCipher 4 in that release's own
        // format: it still opens there, as it did.
        openHandle(path, rawKey, flags, CipherFormat::Native, readOnly);
        rc = probeFirstPage();
    }
    if (rc != SQLITE_ROW) {
        const TableError error =
            StorageError::fromEngine(m_db, QStringLiteral("Cannot open table %1").arg(name), path);
        close();
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) {
            if (!looksEncrypted(head))
                throw TableError(notATableText(path), TableError::Kind::NotATable);
            // Every table file is whole pages; a cut one is not. "Corrupt"
            // means the key did open the first page and the rest is wrong
            // (a file cut at a page); another key makes it "not a database",
            // and so does a first page that was changed: the pages behind
            // it tell the two apart.
            if (size < PageSize || size % PageSize != 0 || rc == SQLITE_CORRUPT ||
                CipherPages::keyFitsFile(path, rawKey))
                throw TableError(damagedText(path), TableError::Kind::Damaged);
            throw TableError(wrongPasswordText(path), TableError::Kind::WrongPassword);
        }
        throw error;
    }
    try {
        if (!readOnly) {
            exec(QStringLiteral("PRAGMA journal_mode = WAL"));
            exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        }
        // Decrypted pages are kept, as many as a large bank needs for the random
        // reads of an assembly without holding a whole 100,000-item set twice.
        exec(QStringLiteral("PRAGMA cache_size = -32768"));
        // A file cut short or overwritten in part opens, but its pages do
        // not check out; the tables are small, so every open looks.
        Statement check(m_db, QStringLiteral("PRAGMA quick_check(1)"));
        if (!check.step() || check.value(0).toString() != QLatin1String("ok"))
            throw TableError(damagedText(path), TableError::Kind::Damaged);
    } catch (const TableError& e) {
        close();
        if (e.kind() == TableError::Kind::Damaged)
            throw TableError(damagedText(path), TableError::Kind::Damaged);
        if (e.kind() == TableError::Kind::DiskFull || e.kind() == TableError::Kind::ReadOnly)
            throw;
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, e.message()), e.kind());
    }
    try {
        checkKind(path, kind, access);
        if (!readOnly && needsMigration())
            migrate();
        readSchema();
    } catch (const TableError& e) {
        close();
        if (e.kind() == TableError::Kind::NotATable)
            throw TableError(notATableText(path), TableError::Kind::NotATable);
        if (e.kind() == TableError::Kind::Damaged)
            throw TableError(damagedText(path), TableError::Kind::Damaged);
        if (e.kind() == TableError::Kind::OtherKind || e.kind() == TableError::Kind::DiskFull ||
            e.kind() == TableError::Kind::ReadOnly)
            throw;
        throw TableError(QStringLiteral("Cannot open table %1: %2").arg(name, e.message()), e.kind());
    }
}

qint32 Database::applicationId()
{
    Statement st(m_db, QStringLiteral("PRAGMA application_id"));
    return st.step() ? qint32(st.int64(0)) : 0;
}

void Database::checkKind(const QString& path, TableKind kind, Access access)
{
    const qint32 found = applicationId();
    if (found == 0) {
        // Made before tables knew their kind. Marked now, so that from here
        // on it is recognised in another table's place; a mark that cannot
        // be written now is written another time.
        if (kind != TableKind::Unmarked && access == Access::ReadWrite) {
            try {
                exec(QStringLiteral("PRAGMA application_id = %1").arg(TableKinds::applicationId(kind)));
            } catch (const TableError&) {
            }
        }
        return;
    }
    if (!TableKinds::isOurs(found))
        throw TableError(notATableText(path), TableError::Kind::NotATable);
    if (kind != TableKind::Unmarked && found != TableKinds::applicationId(kind))
        throw TableError(otherKindText(path, found, kind), TableError::Kind::OtherKind);
}

void Database::create(const QString& path, const QByteArray& rawKey, const TableSchema& schema,
                      TableKind kind)
{
    close();
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QString what = QStringLiteral("Cannot make table %1").arg(name);
    if (info.exists() && !info.isFile())
        throw TableError(StorageError::notAFileText(path), TableError::Kind::NotAFile);
    if (!QFileInfo(info.absolutePath()).isDir())
        throw TableError(QStringLiteral("%1: the folder %2 does not exist")
                             .arg(what, QDir::toNativeSeparators(info.absolutePath())));
    removeAbandonedCreations(path);

    QByteArray pattern = QFile::encodeName(temporaryPrefix(path) + QStringLiteral("XXXXXX"));
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        throw StorageError::fromErrno(errno, path, what);
    // Held until the file is in place: a creation in progress is not
    // taken for an abandoned one.
    ::flock(fd, LOCK_EX);
    const QString temporary = QFile::decodeName(pattern);
    try {
        try {
            openHandle(temporary, rawKey, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            // Made with a rollback journal, so every step lands in the file
            // itself and says when it cannot; the table then keeps a
            // write-ahead journal, which starts empty.
            exec(createStatement(kTable, schema));
            if (kind != TableKind::Unmarked)
                exec(QStringLiteral("PRAGMA application_id = %1").arg(TableKinds::applicationId(kind)));
            Statement mode(m_db, QStringLiteral("PRAGMA journal_mode = WAL"));
            if (!mode.step() || mode.value(0).toString() != QLatin1String("wal"))
                throw StorageError::fromEngine(m_db, what, path);
            mode = Statement();
            close();
        } catch (const TableError& e) {
            // The engine named the temporary file; the candidate knows the table.
            if (e.kind() == TableError::Kind::DiskFull)
                throw TableError(StorageError::diskFullText(path), e.kind());
            if (e.kind() == TableError::Kind::ReadOnly)
                throw TableError(StorageError::readOnlyText(path), e.kind());
            throw TableError(what + QStringLiteral(": ") + e.message(), e.kind());
        }
        if (::fsync(fd) != 0)
            throw StorageError::fromErrno(errno, path, what);
        // A journal of the file being replaced would be applied to the new one.
        for (const QString& suffix : journalSuffixes()) {
            if (::unlink(QFile::encodeName(path + suffix).constData()) != 0 && errno != ENOENT)
                throw StorageError::fromErrno(errno, path, what);
        }
        if (::rename(pattern.constData(), QFile::encodeName(path).constData()) != 0)
            throw StorageError::fromErrno(errno, path, what);
    } catch (...) {
        close();
        for (const QString& suffix : journalSuffixes())
            QFile::remove(temporary + suffix);
        QFile::remove(temporary);
        ::close(fd);
        throw;
    }
    ::close(fd);
    // The rename itself survives a power cut only once the folder is synced.
    syncFolder(info.absolutePath());
    openHandle(path, rawKey, SQLITE_OPEN_READWRITE);
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
    // The file opened with our key, so it is ours: without its table it is
    // one whose making was cut short.
    if (schema.fields.isEmpty())
        throw TableError(QStringLiteral("the file has no table"), TableError::Kind::Damaged);
    Statement seq(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'sqlite_sequence'"));
    seq.step();
    schema.autoIncrementKey = seq.int64(0) > 0;
    return schema;
}
