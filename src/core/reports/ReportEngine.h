#pragma once

#include "core/reports/ReportBand.h"
#include "core/reports/ReportDocument.h"

#include <QDate>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

class ReportPipeline;
class TextMeasurer;

// A banded report: the title band once at the top of the first page, the
// page header below it and at the top of every later page, one detail band
// per record of the pipeline (once when there is none), and the page footer
// at the bottom margin of every page. A detail band moves whole to the next
// page when it fits there; one taller than a page is broken between lines of
// its texts. Content beyond the page limit is dropped.
class ReportEngine
{
public:
    ReportEngine();

    QString DocumentName;
    QSizeF PaperSize{215.9, 279.4}; // US Letter portrait, mm
    QMarginsF Margins{6.35, 6.35, 6.35, 6.35};
    int MaxPages = 0; // 0: no limit
    ReportPipeline* DataPipeline = nullptr;

    ReportBand Title{ReportBand::Kind::Title};
    ReportBand PageHeader{ReportBand::Kind::PageHeader};
    ReportBand Detail{ReportBand::Kind::Detail};
    ReportBand PageFooter{ReportBand::Kind::PageFooter};

    // Walks the pipeline from its first record to its last and lays out the pages.
    ReportDocument run(const TextMeasurer& measurer, const QDate& printDate = QDate::currentDate()) const;
};
