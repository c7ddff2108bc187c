#pragma once

#include "core/reports/ReportPipeline.h"

class Table;

// Walks the records of a table component for a report. It neither opens the
// table nor suspends the controls that follow it: the caller does both.
class TablePipeline : public ReportPipeline
{
public:
    explicit TablePipeline(Table& table) : m_table(table) {}

    void first() override;
    void next() override;
    bool eof() const override;
    QString fieldText(const QString& field) const override;

    Table& table() const { return m_table; }

private:
    Table& m_table;
};
