#include "ui/widgets/FieldDataLink.h"

#include "core/tables/Table.h"

FieldDataLink::FieldDataLink(QObject* parent) : QObject(parent) {}

void FieldDataLink::setField(Table* table, const QString& fieldName)
{
    disconnect(m_dataLink);
    disconnect(m_stateLink);
    m_table = table;
    m_fieldName = fieldName;
    if (table) {
        m_dataLink =
            connect(table->dataSource(), &DataSource::dataChanged, this, &FieldDataLink::dataChanged);
        m_stateLink = connect(table->dataSource(), &DataSource::stateChanged, this, &FieldDataLink::changed);
    }
    emit changed();
}

void FieldDataLink::dataChanged(const QString& fieldName)
{
    if (fieldName.isEmpty() || fieldName.compare(m_fieldName, Qt::CaseInsensitive) == 0)
        emit changed();
}

bool FieldDataLink::active() const
{
    if (!m_table || !m_table->isOpen())
        return false;
    return m_table->state() != Table::State::Browse || m_table->bookmark() >= 0;
}

QString FieldDataLink::text() const
{
    if (!active() || !m_table->hasField(m_fieldName))
        return QString();
    return m_table->fieldByName(m_fieldName).asString();
}

bool FieldDataLink::edit()
{
    if (!active())
        return false;
    if (m_table->state() == Table::State::Browse)
        m_table->edit();
    return true;
}

void FieldDataLink::setText(const QString& text)
{
    m_table->fieldByName(m_fieldName).setAsString(text);
}
