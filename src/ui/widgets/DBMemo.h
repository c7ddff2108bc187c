#pragma once

#include <QPlainTextEdit>

class FieldDataLink;
class Table;

// A multi-line text box bound to a memo field of a table's current record.
// Typing writes the field at once (a browsing record goes into edit state);
// every change of record or of the field shows the field again. Read-only
// while there is no record.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setField(Table* table, const QString& fieldName);
    FieldDataLink* dataLink() const { return m_link; }

private:
    void refresh();
    void userChanged();

    FieldDataLink* m_link;
    bool m_writing = false;
    bool m_loading = false;
};
