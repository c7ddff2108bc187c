#pragma once

#include <QString>

// The storage session of the item tables, its password and the table files,
// all in the program's folder.
namespace TableFiles {
inline const QString SessionName = QStringLiteral("Examora");
inline const QString Password = QStringLiteral("vX7#qLm2!Tr9k"); // 13 characters
inline const QString Bank = QStringLiteral("velarix2.DAT");
inline const QString CurrentSet = QStringLiteral("ces.DAT");
inline const QString UserSet = QStringLiteral("velarix2usr.DAT");
} // namespace TableFiles
