#include "ui/review/ReviewListModel.h"

#include "core/store/AnswerSheet.h"
#include "ui/review/TReviewForm.h"

#include <QIcon>

namespace {
const std::array<QIcon, 4>& sharedIcons()
{
    static const std::array<QIcon, 4> icons{
        QIcon(TReviewForm::ImageList1()[0]), QIcon(TReviewForm::ImageList1()[1]),
        QIcon(TReviewForm::ImageList1()[2]), QIcon(TReviewForm::ImageList1()[3])};
    return icons;
}
} // namespace

ReviewListModel::ReviewListModel(QObject* parent) : QAbstractListModel(parent) {}

void ReviewListModel::setSheet(const AnswerSheet& sheet, View view)
{
    beginResetModel();
    m_entries = sheet.entries();
    m_view = view;
    m_filter = ReviewRow::Filter::All;
    rebuildRows();
    endResetModel();
}

void ReviewListModel::setFilter(ReviewRow::Filter filter)
{
    beginResetModel();
    m_filter = filter;
    rebuildRows();
    endResetModel();
}

void ReviewListModel::rebuildRows()
{
    m_rows.clear();
    m_rows.reserve(m_entries.size());
    for (int i = 0; i < int(m_entries.size()); ++i) {
        if (ReviewRow::passes(m_filter, m_entries[i]))
            m_rows.push_back(i);
    }
}

ReviewRow::Icon ReviewListModel::iconOf(const AnswerEntry& entry) const
{
    return m_view == View::Exam ? ReviewRow::examIcon(entry) : ReviewRow::resultsIcon(entry);
}

int ReviewListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ReviewListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= int(m_rows.size()))
        return {};
    const int entry = m_rows[index.row()];
    const AnswerEntry& e = m_entries[entry];
    switch (role) {
    case Qt::DisplayRole:
        return ReviewRow::text(entry, e);
    case Qt::DecorationRole:
        return sharedIcons()[iconOf(e)];
    case Qt::SizeHintRole:
        return m_rowSize.isValid() ? QVariant(m_rowSize) : QVariant();
    case IconRole:
        return int(iconOf(e));
    case EntryIndexRole:
        return entry;
    default:
        return {};
    }
}
