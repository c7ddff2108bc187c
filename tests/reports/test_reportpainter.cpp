// The painting side of the reports: the machine's fonts that measure the
// printed texts, the check box symbols, and a page model drawn into a PDF.
#include "ChainReport.h"
#include "core/reports/ReportEngine.h"
#include "ui/reports/FontTextMeasurer.h"
#include "ui/reports/ReportPainter.h"
#include "ui/reports/SymbolPainter.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <array>

class TestReportPainter : public QObject
{
    Q_OBJECT
private slots:
    void wrapKeepsEveryWordInsideTheWidth();
    void symbolsPaintTheirShapes();
    void pdfHasOnePagePerModelPage();
};

void TestReportPainter::wrapKeepsEveryWordInsideTheWidth()
{
    FontTextMeasurer m;
    const ReportFont font = ReportFont::arial(10);
    const QString text = ChainReport::words(80) + QStringLiteral("\r\n\r\nlast paragraph");
    const QStringList lines = m.wrap(text, font, 60);
    QVERIFY(lines.size() > 5);
    for (const QString& line : lines)
        QVERIFY2(m.width(line, font) <= 60 + 1e-6, qPrintable(line));
    QCOMPARE(lines.at(lines.size() - 2), QString()); // the empty paragraph keeps its line
    QCOMPARE(lines.last(), QStringLiteral("last paragraph"));
    QCOMPARE(lines.mid(0, lines.size() - 2).join(QLatin1Char(' ')), ChainReport::words(80));
    QVERIFY(m.wrap(QString(), font, 60).isEmpty());
    QVERIFY(m.lineHeight(font) > 3.5 && m.lineHeight(font) < 4.233); // one line fits a 12-pixel label
}

void TestReportPainter::symbolsPaintTheirShapes()
{
    // A 60-pixel cell: what is inked inside the box and on its frame.
    const QRectF cell(0, 0, 60, 60);
    const QRectF box = SymbolPainter::boxRect(cell);
    const auto ink = [&](int symbol) {
        QImage image(60, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        SymbolPainter::paint(p, cell, symbol);
        p.end();
        int inside = 0, frame = 0, all = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                if (qGray(image.pixel(x, y)) > 128)
                    continue;
                ++all;
                if (box.adjusted(4, 4, -4, -4).contains(x, y))
                    ++inside;
                else if (box.adjusted(-2, -2, 2, 2).contains(x, y))
                    ++frame;
            }
        return std::array<int, 3>{inside, frame, all};
    };
    QVERIFY(ink(0xA8)[1] > 50 && ink(0xA8)[0] == 0); // empty box
    QVERIFY(ink(0xFE)[1] > 50 && ink(0xFE)[0] > 20); // box with a mark
    QVERIFY(ink(0xFD)[1] > 50 && ink(0xFD)[0] > 20);
    QVERIFY(ink(0xFC)[0] > 20 && ink(0xFC)[1] < ink(0xFE)[1]); // a mark without the frame
    QVERIFY(ink(0xFB)[0] > 20 && ink(0xFB)[1] < ink(0xFD)[1]);
    QCOMPARE(ink(0x20)[2], 0); // the blank
}

void TestReportPainter::pdfHasOnePagePerModelPage()
{
    FontTextMeasurer m;
    ChainReport r;
    for (int i = 0; i < 12; ++i)
        r.addRecord(ChainReport::words(40), true);
    r.engine.DocumentName = QStringLiteral("Chain");
    const ReportDocument doc = r.engine.run(m);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chain.pdf"));
    ReportPainter::exportPdf(doc, file);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    const qsizetype pages =
        QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
    QVERIFY(doc.pages.size() >= 2);
    QCOMPARE(pages, doc.pages.size());
}

QTEST_MAIN(TestReportPainter)
#include "test_reportpainter.moc"
