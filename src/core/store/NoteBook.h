#pragma once

#include "core/tables/FieldDef.h"

#include <QHash>
#include <QString>

// The candidate's notes on bank items, in a table of their own: one record
// per item, keyed by the item's Q_ID. The bank ships read-only and is
// replaced by each new version; a note stays with its item by the ID, and a
// note whose item is gone from the bank is kept all the same.
class NoteBook
{
public:
    NoteBook(const QString& sessionName, const QString& path);

    static TableSchema schema();

    // Every note by item ID; an absent table has none.
    QHash<qint64, QString> readAll() const;
    // Stores the note of one item (an empty text clears it). Raises a
    // TableError when the table cannot be written; the table is then as it was.
    void save(qint64 itemId, const QString& note) const;

    QString path() const { return m_path; }

private:
    QString m_sessionName;
    QString m_path;
};
