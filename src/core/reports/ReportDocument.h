#pragma once

#include "core/reports/ReportPage.h"

#include <QList>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

// A laid-out report: its pages and the paper they go on, ready to paint.
struct ReportDocument
{
    QString name;   // the print job's document name
    QSizeF paperMm; // portrait width and height
    QMarginsF marginsMm;
    QList<ReportPage> pages;
    bool truncated = false; // content beyond the page limit was dropped
};
