#pragma once

#include "core/reports/ReportDocument.h"

#include <QString>

class QPainter;
class QPrinter;
class QWidget;

// Puts a laid-out report on paper, on the screen preview or into a PDF. The
// page model is drawn as it is: positions in millimetres from the paper's
// corner, texts in the lines the layout broke them into.
class ReportPainter
{
public:
    // Paper, orientation, margins and document name of the report.
    static void setUp(QPrinter& printer, const ReportDocument& doc);
    // Draws the pages the printer asks for (all, or its page range). With a
    // cancel dialog the user can stop between pages; false when stopped.
    // Raises std::runtime_error when the printer cannot be started.
    static bool paint(const ReportDocument& doc, QPrinter* printer, bool cancelDialog = false);
    static void paintPage(QPainter& painter, const ReportPage& page);

    // The print dialog, then the pages with a cancel dialog. False when the
    // user cancelled either.
    static bool print(const ReportDocument& doc, QWidget* parent);
    // The modal on-screen preview, from which the user may print.
    static void preview(const ReportDocument& doc, QWidget* parent);
    // Writes the report to a PDF file.
    static void exportPdf(const ReportDocument& doc, const QString& fileName);

    // The document last handed to print() or preview(), for a test to read.
    static const ReportDocument& lastDocument();
};
