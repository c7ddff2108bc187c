#include "ui/widgets/DBTreeView.h"

#include "core/tables/Table.h"
#include "ui/widgets/ErrorGuard.h"

#include <QHeaderView>
#include <QScopedValueRollback>
#include <QTimer>

namespace {
constexpr int BookmarkRole = Qt::UserRole + 1;
}

DBTreeView::DBTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    // The labels are short: the column fills the view, no sideways scrolling.
    header()->setMinimumSectionSize(10);
    header()->setSectionResizeMode(QHeaderView::Stretch);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { userMoved(current); });
}

void DBTreeView::setTable(Table* table, const QString& labelField)
{
    if (m_table)
        disconnect(m_table->dataSource(), nullptr, this, nullptr);
    m_table = table;
    m_labelField = labelField;
    m_dirty = true;
    if (table) {
        connect(table->dataSource(), &DataSource::dataChanged, this, guarded(this, &DBTreeView::dataChanged));
        connect(table->dataSource(), &DataSource::stateChanged, this,
                guarded(this, &DBTreeView::stateChanged));
    }
    refresh();
}

QStringList DBTreeView::labels() const
{
    QStringList list;
    for (int i = 0; i < topLevelItemCount(); ++i)
        list << topLevelItem(i)->text(0);
    return list;
}

void DBTreeView::dataChanged(const QString& field)
{
    if (field.isEmpty())
        refresh();
}

void DBTreeView::stateChanged()
{
    if (!m_table || !m_table->isOpen()) {
        QScopedValueRollback<bool> selecting(m_selecting, true);
        clear();
        m_nodes.clear();
        m_dirty = true;
        return;
    }
    refresh();
}

void DBTreeView::refresh()
{
    if (m_walking || m_following)
        return; // the walk or the click brings the list up to date itself
    if (!m_table || !m_table->isOpen())
        return;
    if (m_table->state() == Table::State::Browse) {
        const qint64 current = m_table->bookmark();
        if (m_dirty || m_nodes.size() != m_table->recordCount() ||
            (current >= 0 && !m_nodes.contains(current)))
            rebuild();
    }
    selectCurrent();
}

void DBTreeView::rebuild()
{
    QScopedValueRollback<bool> walking(m_walking, true);
    QScopedValueRollback<bool> selecting(m_selecting, true);
    clear();
    m_nodes.clear();
    Table& t = *m_table;
    const qint64 mark = t.bookmark();
    // Walk the table without moving the readers of its data source.
    t.disableControls();
    try {
        for (t.first(); !t.eof(); t.next()) {
            auto* node = new QTreeWidgetItem(this, {t.fieldByName(m_labelField).asString()});
            node->setIcon(0, m_icon);
            node->setData(0, BookmarkRole, t.bookmark());
            m_nodes.insert(t.bookmark(), node);
        }
        t.gotoBookmark(mark);
    } catch (...) {
        t.enableControls();
        throw;
    }
    t.enableControls();
    m_dirty = false;
}

void DBTreeView::selectCurrent()
{
    QScopedValueRollback<bool> selecting(m_selecting, true);
    QTreeWidgetItem* node = nullptr;
    if (m_table && m_table->isOpen() && m_table->state() != Table::State::Insert)
        node = m_nodes.value(m_table->bookmark());
    if (node) {
        setCurrentItem(node);
        scrollToItem(node);
    } else {
        clearSelection();
        setCurrentItem(nullptr);
    }
}

void DBTreeView::userMoved(QTreeWidgetItem* current)
{
    if (m_selecting || !current || !m_table || !m_table->isOpen())
        return;
    ErrorGuard::run([&] {
        QScopedValueRollback<bool> following(m_following, true);
        const qint64 mark = current->data(0, BookmarkRole).toLongLong();
        if (mark != m_table->bookmark() && !m_table->findKey(mark))
            m_dirty = true; // the record has gone
    });
    if (m_dirty || m_nodes.size() != m_table->recordCount()) {
        // List the table again, but not while the view is still reporting
        // the click on a node that would be deleted.
        QTimer::singleShot(0, this, [this] { ErrorGuard::run([this] { refresh(); }); });
    }
    selectCurrent();
}
