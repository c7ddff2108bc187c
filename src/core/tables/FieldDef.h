#pragma once

#include <QList>
#include <QString>

enum class FieldKind { Integer, Boolean, Text, Memo };

// One column of a table. The kind is stored as the column's declared type,
// so a table file describes itself. Text and memo columns are both declared
// TEXT; a schema read back from a file names them Text.
struct FieldDef
{
    QString name;
    FieldKind kind = FieldKind::Text;
};

struct TableSchema
{
    QList<FieldDef> fields; // the first field is the integer primary key
    bool autoIncrementKey = false;
};

QString fieldKindName(FieldKind kind);
bool fieldKindFromName(const QString& declared, FieldKind* kind);
// True for a declared type that an older version wrote and that loses text
// (MEMO has numeric affinity: "007" was stored as 7).
bool isLegacyKindName(const QString& declared);
