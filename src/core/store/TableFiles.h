#pragma once

#include <QString>

// The storage session of the item tables, its password and the table files:
// the bank in the shipped folder, the others in the candidate's data folder.
namespace TableFiles {
inline const QString SessionName = QStringLiteral("Examora");
inline const QString Password = QStringLiteral("vX7#qLm2!Tr9k"); // 13 characters
inline const QString Bank = QStringLiteral("velarix2.DAT");
inline const QString CurrentSet = QStringLiteral("ces.DAT");
inline const QString UserSet = QStringLiteral("velarix2usr.DAT");
inline const QString Notes = QStringLiteral("notes.DAT");
inline const QString ExamRecord = QStringLiteral("exam.DAT");
} // namespace TableFiles
