#include "ui/reports/ReportPainter.h"

#include "ui/reports/BarChartPainter.h"
#include "ui/reports/FontTextMeasurer.h"
#include "ui/reports/SymbolPainter.h"
#include "ui/widgets/Dialogs.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {
ReportDocument& last()
{
    static ReportDocument doc;
    return doc;
}

QColor toQColor(const ReportColor& c)
{
    return QColor(c.red, c.green, c.blue);
}

void paintText(QPainter& painter, const ReportElement& e, double dpm)
{
    const QRectF box(e.rect.left() * dpm, e.rect.top() * dpm, e.rect.width() * dpm, e.rect.height() * dpm);
    if (!e.transparent)
        painter.fillRect(box, toQColor(e.background));
    const QFont font(FontTextMeasurer::qfont(e.font), painter.device());
    const QFontMetricsF fm(font, painter.device());
    painter.setFont(font);
    painter.setPen(toQColor(e.color));
    for (int i = 0; i < e.lines.size(); ++i) {
        const QString& line = e.lines[i];
        if (line.isEmpty())
            continue;
        double x = box.left();
        if (e.alignment & Qt::AlignRight)
            x = box.right() - fm.horizontalAdvance(line);
        else if (e.alignment & Qt::AlignHCenter)
            x = box.left() + (box.width() - fm.horizontalAdvance(line)) / 2;
        const double baseline = (e.rect.top() + i * e.lineHeight + e.ascent) * dpm;
        painter.drawText(QPointF(x, baseline), line);
    }
}
} // namespace

void ReportPainter::setUp(QPrinter& printer, const ReportDocument& doc)
{
    printer.setDocName(doc.name);
    const QPageSize size(doc.paperMm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    printer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, doc.marginsMm, QPageLayout::Millimeter));
    // The report places everything from the paper's corner itself.
    printer.setFullPage(true);
}

void ReportPainter::paintPage(QPainter& painter, const ReportPage& page)
{
    const double dpm = painter.device()->logicalDpiX() / 25.4;
    const double dotsPerPoint = painter.device()->logicalDpiX() / 72.0;
    for (const ReportElement& e : page.elements) {
        const QRectF box(e.rect.left() * dpm, e.rect.top() * dpm, e.rect.width() * dpm,
                         e.rect.height() * dpm);
        switch (e.kind) {
        case ReportElement::Kind::Text:
            paintText(painter, e, dpm);
            break;
        case ReportElement::Kind::Rectangle:
            painter.setPen(QPen(Qt::black, e.penWidth * dotsPerPoint));
            painter.setBrush(e.filled ? QBrush(toQColor(e.background)) : QBrush(Qt::NoBrush));
            painter.drawRect(box);
            break;
        case ReportElement::Kind::Line:
            painter.setPen(QPen(Qt::black, e.penWidth * dotsPerPoint, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(box.topLeft(), box.topRight());
            break;
        case ReportElement::Kind::Symbol:
            if (!e.transparent)
                painter.fillRect(box, toQColor(e.background));
            SymbolPainter::paint(painter, box, e.symbol);
            break;
        case ReportElement::Kind::Chart:
            if (e.chart)
                BarChartPainter::paint(painter, box, *e.chart, dpm);
            break;
        }
    }
}

bool ReportPainter::paint(const ReportDocument& doc, QPrinter* printer, bool cancelDialog)
{
    int from = 1;
    int to = int(doc.pages.size());
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        from = std::max(from, printer->fromPage());
        to = std::min(to, printer->toPage() > 0 ? printer->toPage() : to);
    }
    QPainter painter;
    if (!painter.begin(printer))
        throw std::runtime_error("The report could not be sent to the printer.");

    std::unique_ptr<QProgressDialog> progress;
    if (cancelDialog && !Dialogs::testMode()) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("Printing \"%1\"...").arg(doc.name),
                                                     QStringLiteral("Cancel"), 0, std::max(1, to - from + 1),
                                                     QApplication::activeWindow());
        progress->setWindowTitle(QStringLiteral("Printing"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->setValue(0);
    }
    for (int n = from; n <= to; ++n) {
        if (progress) {
            progress->setValue(n - from);
            QApplication::processEvents();
            if (progress->wasCanceled()) {
                printer->abort();
                return false;
            }
        }
        if (n > from)
            printer->newPage();
        paintPage(painter, doc.pages[n - 1]);
    }
    painter.end();
    return true;
}

bool ReportPainter::print(const ReportDocument& doc, QWidget* parent)
{
    last() = doc;
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, doc);
    printer.setFromTo(0, 0);
    if (!Dialogs::print(&printer, parent))
        return false;
    return paint(doc, &printer, true);
}

void ReportPainter::preview(const ReportDocument& doc, QWidget* parent)
{
    last() = doc;
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, doc);
    Dialogs::preview(
        &printer,
        [&doc, parent](QPrinter* target) {
            // Runs inside the preview's own events: a printer that fails is
            // reported here rather than thrown through them.
            try {
                paint(doc, target, false);
            } catch (const std::exception& e) {
                Dialogs::error(parent, QString::fromLocal8Bit(e.what()));
            }
        },
        parent);
}

void ReportPainter::exportPdf(const ReportDocument& doc, const QString& fileName)
{
    QPrinter printer(QPrinter::HighResolution);
    setUp(printer, doc);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    paint(doc, &printer, false);
}

const ReportDocument& ReportPainter::lastDocument()
{
    return last();
}
