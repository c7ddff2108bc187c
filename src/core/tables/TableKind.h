#pragma once

#include <QString>
#include <QtGlobal>

// What a table file holds. The kind is written into the file when it is
// made (SQLite's application_id, inside the encrypted header), so a table
// of one kind put in another's place is recognised. Files made before
// kinds existed carry none (Unmarked) and open as any kind.
enum class TableKind : quint32 {
    Unmarked = 0,
    Bank = 0x5658424b,       // "VXBK"
    CurrentSet = 0x56584353, // "VXCS"
    UserSet = 0x56585553,    // "VXUS"
    History = 0x56584849,    // "VXHI"
    Notes = 0x56584e54,      // "VXNT"
    ExamRecord = 0x56584552, // "VXER"
    ItemMemory = 0x5658494d, // "VXIM"
};

namespace TableKinds {
// The application_id written into a file of this kind.
inline qint32 applicationId(TableKind kind)
{
    return qint32(quint32(kind));
}
// Whether an application_id is one of this program's ("VX" and two letters),
// including kinds a newer version may add.
bool isOurs(qint32 applicationId);
// What a file of that application_id is, for a message: "the question
// bank", "your score history", ...; a kind this version does not know is
// "a table of a newer version of this program".
QString description(qint32 applicationId);
inline QString description(TableKind kind)
{
    return description(applicationId(kind));
}
} // namespace TableKinds
