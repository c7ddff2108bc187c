#pragma once

#include <QString>

// The program's folder (the current folder) holds the tables that an exam
// and the sampler write: the notes in the bank, the current exam set and
// the user set. A system-wide install may leave it read-only; this says so
// plainly before any table is touched, instead of a failing lock.
namespace ProgramFolder {

// Empty when the folder and the table files in it can be written; else the
// message that says which folder must be writable and why.
QString writeProblem(const QString& folder);

// Raises a TableError with writeProblem's text for the program folder
// (the current folder, or the one set for tests) when it is not writable.
void requireWritable();

// Tests point the check at another folder; an empty name undoes it.
void setCheckedFolderForTests(const QString& folder);

QString notWritableText(const QString& folder);

} // namespace ProgramFolder
