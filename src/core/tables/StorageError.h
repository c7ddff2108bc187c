#pragma once

#include "core/tables/TableError.h"

#include <QString>

struct sqlite3;

// The user's texts for what the disk, the file system or the engine
// refused, each naming the table and where it is.
namespace StorageError {

// "The disk is full: ..." naming the table file and its folder.
QString diskFullText(const QString& path);
// The table file, or its folder, does not allow writing.
QString readOnlyText(const QString& path);
// A folder (or another non-file) where the table file should be.
QString notAFileText(const QString& path);

// Whether an errno says the disk (or the user's quota) is full.
bool isDiskFull(int error);

// The error for a failed file operation on `path` (errno `error`): a full
// disk and a refused write are told as such; anything else is
// "<what>: <system text>".
TableError fromErrno(int error, const QString& path, const QString& what);

// The error for the engine's last failure on `db`, which works on the table
// file `path` (empty: the engine's own file name). A full disk (however the
// engine reports it), a read-only file and a damaged file are told as
// such; anything else is "<what>: <engine text>".
TableError fromEngine(sqlite3* db, const QString& what, const QString& path = QString());

} // namespace StorageError
