#pragma once

#include <QString>

// The records a report walks, one detail band each, from first to last.
class ReportPipeline
{
public:
    virtual ~ReportPipeline() = default;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual bool eof() const = 0;
    // The field of the current record as text; ReportDataError for a name
    // the pipeline does not know.
    virtual QString fieldText(const QString& field) const = 0;
};
