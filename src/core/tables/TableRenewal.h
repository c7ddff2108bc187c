#pragma once

#include "core/tables/FieldDef.h"
#include "core/tables/TableKind.h"

#include <QDateTime>
#include <QString>

class Table;

// A candidate's own table that must keep working: grading records, saving
// goes on, even after its file was damaged. What the candidate can still
// read is never thrown away.
namespace TableRenewal {

// Opens `table` (closed, its name and session set) for changes as a table of
// `kind`:
// - no file yet: a new, empty one is made whole (Table::createFile) and
//   opened; the notice is empty;
// - the file is damaged (cut short, overwritten, a flipped bit, empty,
//   without its table): the file and its journal are kept aside beside it
//   under keptAsideName(), a new one is made and opened, and the returned
//   notice tells the candidate where the damaged file now is (full path);
// - anything else is raised as a TableError and the file left as it was:
//   wrong password, a table of another kind or another program's file, a
//   foreign journal beside it, in use, a full disk, read-only, a folder in
//   its place.
// The notice is empty when nothing had to be renewed; show it once.
QString openOrRenew(Table& table, const TableSchema& schema, TableKind kind,
                    const QDateTime& now = QDateTime::currentDateTime());

// "history.DAT.damaged-20261210-0612" beside the file (full path); with
// "-2", "-3" ... behind it when that name is taken.
QString keptAsideName(const QString& path, const QDateTime& when);

} // namespace TableRenewal
