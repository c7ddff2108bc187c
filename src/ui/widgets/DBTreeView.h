#pragma once

#include "core/tables/Table.h"

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QTreeWidget>

// A list of a table's records, one node per record in the table's order,
// labelled with a field (usually the key). Clicking a node (or moving to it
// with the keys) makes its record current; the selection follows the
// table's current record. The nodes are rebuilt when records come or go.
class DBTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DBTreeView(QWidget* parent = nullptr);

    void setTable(Table* table, const QString& labelField);
    Table* table() const { return m_table; }
    void setNodeIcon(const QIcon& icon) { m_icon = icon; }
    QStringList labels() const;
    // The node of the record with this bookmark, or null.
    QTreeWidgetItem* nodeOf(qint64 bookmark) const { return m_nodes.value(bookmark); }

private:
    void dataChanged(const QString& field);
    void stateChanged();
    void refresh();
    void rebuild();
    void selectCurrent();
    void userMoved(QTreeWidgetItem* current);

    QPointer<Table> m_table;
    QString m_labelField;
    QIcon m_icon;
    QHash<qint64, QTreeWidgetItem*> m_nodes;
    bool m_dirty = true;
    bool m_walking = false;   // listing the records: their moves are not the user's
    bool m_following = false; // moving the table to a clicked node
    bool m_selecting = false; // the program moves the selection
};
