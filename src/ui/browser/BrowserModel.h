#pragma once

#include "core/browser/QuestionIndex.h"

#include <QAbstractTableModel>
#include <vector>

// The browser's table: the items a filter shows, in the order of the
// column last sorted by.
class BrowserModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit BrowserModel(QObject* parent = nullptr);

    void setIndex(QuestionIndex index);
    const QuestionIndex& questions() const { return m_index; }
    // Shows the items the filter passes, sorted as before.
    void setFilter(const BrowserFilter& filter);
    const BrowserFilter& filter() const { return m_filter; }
    // The item index of each row shown, in the rows' order.
    const std::vector<int>& rows() const { return m_rows; }
    const BrowserItem* itemAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QuestionIndex m_index;
    BrowserFilter m_filter;
    std::vector<int> m_rows;
    int m_sortColumn = BrowserColumn::Id;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
