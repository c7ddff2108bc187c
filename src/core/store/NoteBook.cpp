#include "core/store/NoteBook.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "core/tables/TableKind.h"

#include <QFileInfo>

NoteBook::NoteBook(const QString& sessionName, const QString& path) : m_sessionName(sessionName), m_path(path)
{
}

TableSchema NoteBook::schema()
{
    return TableSchema{
        {FieldDef{ItemRecord::Q_ID, FieldKind::Integer}, FieldDef{ItemRecord::U_MEMO, FieldKind::Memo}},
        false};
}

QHash<qint64, QString> NoteBook::readAll() const
{
    QHash<qint64, QString> notes;
    if (!QFileInfo::exists(m_path))
        return notes;
    Table table(m_sessionName, m_path);
    table.setKind(TableKind::Notes);
    table.open();
    const std::vector<QVariant> ids = table.fieldInView(ItemRecord::Q_ID);
    const std::vector<QVariant> memos = table.fieldInView(ItemRecord::U_MEMO);
    for (size_t i = 0; i < ids.size() && i < memos.size(); ++i) {
        const QString memo = memos[i].toString();
        if (!memo.isEmpty())
            notes.insert(Field::integerOf(ids[i]), memo);
    }
    return notes;
}

void NoteBook::save(qint64 itemId, const QString& note) const
{
    if (!QFileInfo::exists(m_path))
        Table::createFile(m_path, m_sessionName, schema(), TableKind::Notes);
    Table table(m_sessionName, m_path);
    table.setKind(TableKind::Notes);
    table.open();
    if (table.findKey(itemId)) {
        table.edit();
    } else {
        table.append();
        table.fieldByName(ItemRecord::Q_ID).setAsInteger(itemId);
    }
    try {
        table.fieldByName(ItemRecord::U_MEMO).setAsString(note);
        table.post();
    } catch (...) {
        table.cancel();
        throw;
    }
}
