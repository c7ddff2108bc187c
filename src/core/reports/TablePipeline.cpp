#include "core/reports/TablePipeline.h"

#include "core/reports/ReportDataError.h"
#include "core/tables/Table.h"

void TablePipeline::first()
{
    m_table.first();
}

void TablePipeline::next()
{
    m_table.next();
}

bool TablePipeline::eof() const
{
    return m_table.isEmpty() || m_table.eof();
}

QString TablePipeline::fieldText(const QString& field) const
{
    if (!m_table.hasField(field))
        throw ReportDataError(QStringLiteral("Field '%1' not found").arg(field));
    return m_table.fieldByName(field).asString();
}
