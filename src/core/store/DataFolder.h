#pragma once

#include <QString>

// Where the program's files are. What ships (the question bank and the
// exhibits) is in the shipped folder and is only ever read, so an installed
// program may sit in a folder no candidate can write. What the candidate
// writes (the current exam set, their own questions, their notes, the score
// history) is in their own data folder, so two candidates on one machine
// never see each other's.
namespace DataFolder {

// The folder of the bank and the exhibits: the program's own folder when the
// bank is beside the program (a build folder), else the installed data
// folder, ../share/velarix from the program. The program makes it its
// working folder, so the bank and the exhibits are named relative to it.
QString shipped();
QString shippedFor(const QString& programFolder);

// The candidate's data folder (~/.local/share/Velarix 2.0).
QString user();
QString userFile(const QString& name);

// Empty when the candidate's data folder exists or could be made, and can be
// written; else the message that names it.
QString writeProblem(const QString& folder);
QString notWritableText(const QString& folder);

// Makes the candidate's data folder; raises a TableError with
// writeProblem's text when it cannot be made or written.
void requireUserFolder();

} // namespace DataFolder
