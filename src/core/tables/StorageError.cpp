#include "core/tables/StorageError.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace StorageError {

namespace {
QString folderOf(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

QString nameOf(const QString& path)
{
    return QFileInfo(path).fileName();
}
} // namespace

QString diskFullText(const QString& path)
{
    return QStringLiteral("The disk is full: table %1 in the folder %2 could not be written. Nothing was "
                          "changed; make room on that disk, then try again.")
        .arg(nameOf(path), folderOf(path));
}

QString readOnlyText(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isWritable())
        return QStringLiteral("Table %1 cannot be changed: the file %2 is read-only.")
            .arg(info.fileName(), QDir::toNativeSeparators(info.absoluteFilePath()));
    return QStringLiteral("Table %1 cannot be changed: the folder %2 does not allow writing.")
        .arg(info.fileName(), folderOf(path));
}

QString notAFileText(const QString& path)
{
    const QFileInfo info(path);
    return QStringLiteral("Cannot open table %1: %2 is %3, not a table file.")
        .arg(info.fileName(), QDir::toNativeSeparators(info.absoluteFilePath()),
             info.isDir() ? QStringLiteral("a folder") : QStringLiteral("not a regular file"));
}

bool isDiskFull(int error)
{
    return error == ENOSPC || error == EDQUOT;
}

TableError fromErrno(int error, const QString& path, const QString& what)
{
    if (isDiskFull(error))
        return TableError(diskFullText(path), TableError::Kind::DiskFull);
    if (error == EROFS || error == EACCES || error == EPERM)
        return TableError(readOnlyText(path), TableError::Kind::ReadOnly);
    return TableError(what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error)));
}

TableError fromEngine(sqlite3* db, const QString& what, const QString& path)
{
    const QString file =
        !path.isEmpty() ? path : (db ? QString::fromUtf8(sqlite3_db_filename(db, "main")) : QString());
    const int code = db ? (sqlite3_extended_errcode(db) & 0xff) : SQLITE_NOMEM;
    // The engine asks the system for its error only on I/O and open failures.
    const int system = db && (code == SQLITE_IOERR || code == SQLITE_CANTOPEN) ? sqlite3_system_errno(db) : 0;
    if (code == SQLITE_FULL || isDiskFull(system))
        return TableError(diskFullText(file), TableError::Kind::DiskFull);
    if (code == SQLITE_READONLY || system == EROFS || system == EACCES)
        return TableError(readOnlyText(file), TableError::Kind::ReadOnly);
    if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB)
        // Found part way through a table, after its open succeeded.
        return TableError(QStringLiteral("%1: the file %2 is damaged").arg(what, nameOf(file)),
                          TableError::Kind::Damaged);
    const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
    return TableError(detail.isEmpty() ? what : what + QStringLiteral(": ") + detail);
}

} // namespace StorageError
