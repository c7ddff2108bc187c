#pragma once

#include <QString>

// The line above the note: "<exam title>,  Item ID: <n>".
inline QString NoteLabel(const QString& examTitle, qint64 itemId)
{
    return examTitle + QStringLiteral(",  Item ID: ") + QString::number(itemId);
}
