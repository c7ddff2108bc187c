#pragma once

#include <QLineEdit>

class FieldDataLink;
class Table;

// A one-line text box bound to a field of a table's current record. Typing
// writes the field at once (a browsing record goes into edit state); every
// change of record or of the field shows the field again. Read-only while
// there is no record.
class DBEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setField(Table* table, const QString& fieldName);
    FieldDataLink* dataLink() const { return m_link; }

private:
    void refresh();
    void userEdited(const QString& text);

    FieldDataLink* m_link;
    bool m_writing = false;
};
