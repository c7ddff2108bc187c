#pragma once

#include "core/tables/FieldDef.h"

#include <QString>
#include <QVariant>

class Table;

// A field of the current record of a table, read or written as an integer,
// a boolean or a text. An empty field reads as 0, false or "" and reports
// isNull(). Writing needs the table in edit or insert state.
class Field
{
public:
    Field(Table* table, int index) : m_table(table), m_index(index) { Q_ASSERT(table && index >= 0); }

    QString name() const;
    FieldKind kind() const;
    bool isNull() const;
    QVariant value() const;

    qint64 asInteger() const { return integerOf(value()); }
    // What asInteger() reads from a stored value (walks read values in bulk).
    static qint64 integerOf(const QVariant& v);
    bool asBoolean() const;
    // What asBoolean() reads from a stored value, for bulk walks that must
    // not stop at one bad cell: a text other than "True" or "1" is false.
    static bool booleanOf(const QVariant& v);
    QString asString() const;

    void setAsInteger(qint64 value);
    void setAsBoolean(bool value);
    void setAsString(const QString& value);
    void setValue(const QVariant& value); // a null QVariant empties the field
    void clear();

private:
    Table* m_table;
    int m_index;
};
