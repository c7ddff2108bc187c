#pragma once

#include "ListPipeline.h"
#include "core/reports/ReportEngine.h"

class ReportRegion;
class ReportText;

// A detail band: a stretching text, a region shown per record and a text
// following the region, over records of a text and a "show" flag; a page
// footer with the page number.
struct ChainReport
{
    ListPipeline pipeline;
    ReportEngine engine;
    ReportText* head = nullptr;
    ReportRegion* region = nullptr;
    ReportText* tail = nullptr;

    ChainReport();
    ChainReport(const ChainReport&) = delete;
    ChainReport& operator=(const ChainReport&) = delete;

    void addRecord(const QString& text, bool show);
    // Where the page footer starts, from the paper's top.
    double footerTop() const;

    // "word0 word1 ..." with n words.
    static QString words(int n);
};
