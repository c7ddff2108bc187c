#pragma once

#include "core/tables/Table.h"

#include <QObject>
#include <QPointer>
#include <QString>

// Ties a control to one field of a table's current record. It tells the
// control when to read the field again (a change of record or state, or a
// change of this field) and starts an edit the way a data-aware control does:
// a browsing table goes into edit state when the user changes the control.
class FieldDataLink : public QObject
{
    Q_OBJECT
public:
    explicit FieldDataLink(QObject* parent = nullptr);

    void setField(Table* table, const QString& fieldName);
    Table* table() const { return m_table; }
    QString fieldName() const { return m_fieldName; }

    // True while there is a record to show: the table is open and stands on a
    // record, or a record is being edited or added.
    bool active() const;
    // The field's whole text; empty when there is no record.
    QString text() const;

    // Makes the current record changeable. False when there is no record to
    // change (closed or empty table); the control then keeps the field's value.
    bool edit();
    // Writes the field; edit() must have succeeded.
    void setText(const QString& text);

signals:
    // The control must read the field again.
    void changed();

private:
    void dataChanged(const QString& fieldName);

    QPointer<Table> m_table;
    QString m_fieldName;
    QMetaObject::Connection m_dataLink;
    QMetaObject::Connection m_stateLink;
};
