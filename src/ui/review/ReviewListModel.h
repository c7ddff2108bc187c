#pragma once

#include "core/review/ReviewRow.h"
#include "core/store/AnswerEntry.h"

#include <QAbstractListModel>
#include <QSize>
#include <vector>

class AnswerSheet;

// The rows of the items review over a copy of the answer sheet: the entries
// that pass the filter, in entry order, each with its own item number. Texts
// are made when a row is drawn, and the four icons are shared by all rows,
// so a long exam costs one small record per item.
class ReviewListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { IconRole = Qt::UserRole, EntryIndexRole };
    enum class View { Exam, Results };

    explicit ReviewListModel(QObject* parent = nullptr);

    void setSheet(const AnswerSheet& sheet, View view);
    void setFilter(ReviewRow::Filter filter);
    ReviewRow::Filter filter() const { return m_filter; }
    View view() const { return m_view; }
    // Every row has this size; the list lays out without measuring rows.
    void setRowSize(const QSize& size) { m_rowSize = size; }
    int entryCount() const { return int(m_entries.size()); }
    int entryIndex(int row) const { return m_rows.at(row); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void rebuildRows();
    ReviewRow::Icon iconOf(const AnswerEntry& entry) const;

    std::vector<AnswerEntry> m_entries;
    std::vector<int> m_rows; // entry indexes of the rows shown
    View m_view = View::Exam;
    ReviewRow::Filter m_filter = ReviewRow::Filter::All;
    QSize m_rowSize;
};
