#include "ui/browser/BrowserModel.h"

BrowserModel::BrowserModel(QObject* parent) : QAbstractTableModel(parent) {}

void BrowserModel::setIndex(QuestionIndex index)
{
    beginResetModel();
    m_index = std::move(index);
    m_rows = m_index.find(m_filter);
    m_index.sort(m_rows, m_sortColumn, m_sortOrder == Qt::DescendingOrder);
    endResetModel();
}

void BrowserModel::setFilter(const BrowserFilter& filter)
{
    beginResetModel();
    m_filter = filter;
    m_rows = m_index.find(m_filter);
    if (m_sortColumn != BrowserColumn::Id || m_sortOrder != Qt::AscendingOrder)
        m_index.sort(m_rows, m_sortColumn, m_sortOrder == Qt::DescendingOrder);
    endResetModel();
}

const BrowserItem* BrowserModel::itemAt(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? &m_index.item(m_rows[std::size_t(row)]) : nullptr;
}

int BrowserModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BrowserModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : BrowserColumn::Count;
}

QVariant BrowserModel::data(const QModelIndex& index, int role) const
{
    const BrowserItem* item = itemAt(index.row());
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return BrowserColumn::text(*item, index.column());
    case Qt::TextAlignmentRole:
        switch (index.column()) {
        case BrowserColumn::Id:
        case BrowserColumn::Section:
        case BrowserColumn::Exam:
        case BrowserColumn::Seen:
        case BrowserColumn::Wrong:
        case BrowserColumn::Due:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    case Qt::ToolTipRole:
        return index.column() == BrowserColumn::Question ? QVariant(item->question) : QVariant();
    default:
        return {};
    }
}

QVariant BrowserModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return BrowserColumn::title(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void BrowserModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= BrowserColumn::Count)
        return;
    beginResetModel();
    m_sortColumn = column;
    m_sortOrder = order;
    // The filter's order is the ID order; sorting starts from it, so equal
    // items stay in one order whatever was sorted before.
    m_rows = m_index.find(m_filter);
    m_index.sort(m_rows, column, order == Qt::DescendingOrder);
    endResetModel();
}
