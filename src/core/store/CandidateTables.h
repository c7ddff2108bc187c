#pragma once

#include <QString>
#include <QStringList>

// The candidate's own tables in their data folder: the current exam set,
// their own question set and their notes on bank items.
namespace CandidateTables {

QString currentSetPath(); // in DataFolder::user()
QString userSetPath();
QString notesPath();

// Makes the candidate's data folder and any of their tables that is missing,
// so an exam, a note and the sampler always find theirs. A table missing
// there but kept by a program folder of the earlier layout, where the notes
// were in the bank and the own questions beside it, is carried over from
// `oldFolder` first: each table whole or not at all, the old files left as
// they were. A table of theirs found damaged is kept aside under a name that
// says so and made anew; the notices returned say where (for the window to
// show once). Raises a TableError with a text for the candidate when the
// folder cannot be written or a table cannot be opened.
QStringList prepare(const QString& sessionName, const QString& oldFolder);

} // namespace CandidateTables
