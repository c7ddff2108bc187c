#pragma once

#include "core/reports/ReportDataError.h"
#include "core/reports/ReportPipeline.h"

#include <QHash>
#include <QList>
#include <QString>

// Records held in memory, one map of field texts each.
class ListPipeline : public ReportPipeline
{
public:
    QList<QHash<QString, QString>> records;
    void first() override { m_at = 0; }
    void next() override { ++m_at; }
    bool eof() const override { return m_at >= records.size(); }
    QString fieldText(const QString& field) const override
    {
        const auto& r = records.at(m_at);
        if (!r.contains(field))
            throw ReportDataError(QStringLiteral("Field '%1' not found").arg(field));
        return r.value(field);
    }

private:
    int m_at = 0;
};
