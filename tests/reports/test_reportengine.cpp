// The banded report engine, the printable check box and the painting of
// the page model, without the exam windows.
#include "grading/TmyCheckBox.h"
#include "grading/TmyDBCheckBox.h"
#include "reports/FontTextMeasurer.h"
#include "reports/ReportDataError.h"
#include "reports/ReportEngine.h"
#include "reports/ReportPainter.h"
#include "reports/ReportPipeline.h"
#include "reports/ReportRegion.h"
#include "reports/ReportRegistry.h"
#include "reports/ReportShape.h"
#include "reports/ReportText.h"
#include "reports/SymbolPainter.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

namespace {
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

QString words(int n)
{
    QStringList w;
    for (int i = 0; i < n; ++i)
        w << QStringLiteral("word%1").arg(i);
    return w.join(QLatin1Char(' '));
}

// A detail band: a stretching text, a region shown per record and a text
// following the region.
struct ChainReport
{
    ListPipeline pipeline;
    ReportEngine engine;
    ReportText* head = nullptr;
    ReportRegion* region = nullptr;
    ReportText* tail = nullptr;

    ChainReport()
    {
        engine.DataPipeline = &pipeline;
        engine.Detail.Height = 40;
        engine.Detail.Stretch = true;
        head = engine.Detail.add<ReportText>(QStringLiteral("Head"), ReportText::Source::DataField);
        head->Left = 5;
        head->Top = 2;
        head->Width = 60;
        head->Height = 5;
        head->DataField = QStringLiteral("text");
        head->WordWrap = true;
        head->Stretch = true;
        head->BottomOffset = 2;
        region = engine.Detail.add<ReportRegion>(QStringLiteral("Region"));
        region->Top = 10;
        region->Height = 6;
        region->ShiftRelativeTo = head;
        auto* inRegion = region->add<ReportText>(QStringLiteral("InRegion"));
        inRegion->Caption = QStringLiteral("shown");
        inRegion->Left = 5;
        inRegion->Top = 1;
        inRegion->Width = 30;
        inRegion->Height = 4.5;
        region->OnPrint = [this] { region->Visible = pipeline.fieldText(QStringLiteral("show")) == "1"; };
        tail = engine.Detail.add<ReportText>(QStringLiteral("Tail"), ReportText::Source::Caption);
        tail->Caption = QStringLiteral("tail");
        tail->Left = 5;
        tail->Top = 20;
        tail->Width = 30;
        tail->Height = 4.5;
        tail->ShiftRelativeTo = region;
        engine.PageFooter.Height = 15;
        auto* page =
            engine.PageFooter.add<ReportText>(QStringLiteral("PageNumber"), ReportText::Source::PageNumber);
        page->DisplayFormat = QStringLiteral("Page: #");
        page->Top = 2;
        page->Width = 30;
        page->Height = 4;
    }
    void addRecord(const QString& text, bool show)
    {
        pipeline.records << QHash<QString, QString>{{QStringLiteral("text"), text},
                                                    {QStringLiteral("show"), show ? "1" : "0"}};
    }
    double footerTop() const
    {
        return engine.PaperSize.height() - engine.Margins.bottom() - engine.PageFooter.Height;
    }
};

QList<ReportElement> allNamed(const ReportDocument& doc, const QString& name)
{
    QList<ReportElement> found;
    for (const ReportPage& p : doc.pages)
        found << p.named(name);
    return found;
}
} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void checkBoxGlyph_data();
    void checkBoxGlyph();
    void dbCheckBoxState_data();
    void dbCheckBoxState();
    void checkBoxPrintsInItsRectangle();
    void checkBoxKindsAreRegistered();
    void displayFormat_data();
    void displayFormat();
    void wrapKeepsEveryWordInsideTheWidth();
    void chainFollowsGrowthAndHiddenRegions_data();
    void chainFollowsGrowthAndHiddenRegions();
    void detailBandsMoveWholeToTheNextPage();
    void textLongerThanAPageContinuesOnTheNext();
    void pageLimitDropsTheRest();
    void symbolsPaintTheirShapes();
    void pdfHasOnePagePerModelPage();
};

void TestReportEngine::checkBoxGlyph_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("glyph");
    QTest::newRow("check in box, checked") << int(csCheckInBox) << true << 0xFE;
    QTest::newRow("check in box, unchecked") << int(csCheckInBox) << false << 0xA8;
    QTest::newRow("x in box, checked") << int(csXInBox) << true << 0xFD;
    QTest::newRow("x in box, unchecked") << int(csXInBox) << false << 0xA8;
    QTest::newRow("check mark, checked") << int(csCheckMark) << true << 0xFC;
    QTest::newRow("check mark, unchecked") << int(csCheckMark) << false << 0x20;
    QTest::newRow("x mark, checked") << int(csXMark) << true << 0xFB;
    QTest::newRow("x mark, unchecked") << int(csXMark) << false << 0x20;
}

void TestReportEngine::checkBoxGlyph()
{
    QFETCH(int, style);
    QFETCH(bool, checked);
    QFETCH(int, glyph);
    TmyCheckBox box(QStringLiteral("Box"));
    QVERIFY(box.Checked()); // checked and a check in a box from creation
    QCOMPARE(box.Style(), csCheckInBox);
    box.setStyle(TmyCheckStyleType(style));
    box.setChecked(checked);
    FontTextMeasurer m;
    const ComponentLayout l = box.layout(PrintContext{m});
    QCOMPARE(l.elements.size(), 1);
    const ReportElement& e = l.elements.first();
    QCOMPARE(e.kind, ReportElement::Kind::Symbol);
    QCOMPARE(e.symbol, glyph);
    QCOMPARE(e.symbolFont, QStringLiteral("Wingdings"));
    // The blank still takes the element's place.
    QCOMPARE(e.rect.size(), QSizeF(box.Width, box.Height));
    QCOMPARE(TmyCustomCheckBox::styleNames().at(style),
             (QStringList{"Checkmark and Box", "X and Box", "Checkmark only", "X only"}).at(style));
}

void TestReportEngine::dbCheckBoxState_data()
{
    QTest::addColumn<QString>("booleanTrue");
    QTest::addColumn<QString>("booleanFalse");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("checked");
    QTest::newRow("defaults, True") << "True"
                                    << "False"
                                    << "A1"
                                    << "True" << true;
    QTest::newRow("defaults, False") << "True"
                                     << "False"
                                     << "A1"
                                     << "False" << false;
    QTest::newRow("defaults, empty field") << "True"
                                           << "False"
                                           << "A1"
                                           << "" << false;
    QTest::newRow("Y against y") << "Y"
                                 << "False"
                                 << "A1"
                                 << "y" << false;
    QTest::newRow("Y against Y") << "Y"
                                 << "False"
                                 << "A1"
                                 << "Y" << true;
    QTest::newRow("no true text, N") << ""
                                     << "N"
                                     << "A1"
                                     << "N" << false;
    QTest::newRow("no true text, empty") << ""
                                         << "N"
                                         << "A1"
                                         << "" << true;
    QTest::newRow("no true text, other") << ""
                                         << "N"
                                         << "A1"
                                         << "maybe" << true;
    QTest::newRow("neither, empty") << ""
                                    << ""
                                    << "A1"
                                    << "" << false;
    QTest::newRow("neither, text") << ""
                                   << ""
                                   << "A1"
                                   << "x" << true;
    QTest::newRow("unknown field") << "True"
                                   << "False"
                                   << "NOPE"
                                   << "True" << false;
}

void TestReportEngine::dbCheckBoxState()
{
    QFETCH(QString, booleanTrue);
    QFETCH(QString, booleanFalse);
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, checked);
    ListPipeline pipeline;
    pipeline.records << QHash<QString, QString>{{QStringLiteral("A1"), value}};
    pipeline.first();
    TmyDBCheckBox box(QStringLiteral("Box"));
    QCOMPARE(box.BooleanTrue(), QStringLiteral("True"));
    QCOMPARE(box.BooleanFalse(), QStringLiteral("False"));
    QVERIFY(box.isDataAware());
    int changes = 0;
    box.OnChange = [&changes] { ++changes; };
    box.setBooleanTrue(booleanTrue);
    box.setBooleanFalse(booleanFalse);
    QCOMPARE(changes, 2);
    box.DataField = field;
    FontTextMeasurer m;
    QVERIFY(!box.isChecked(PrintContext{m})); // no pipeline yet
    box.DataPipeline = &pipeline;
    QCOMPARE(box.isChecked(PrintContext{m}), checked);
    QCOMPARE(box.layout(PrintContext{m}).elements.first().symbol, checked ? 0xFE : 0xA8);
}

void TestReportEngine::checkBoxPrintsInItsRectangle()
{
    TmyCheckBox box(QStringLiteral("Box"));
    QCOMPARE(box.Width, 6.35); // a quarter of an inch
    QCOMPARE(box.Height, 6.35);
    box.Left = 3;
    box.Top = 1;
    box.Width = 4.763;
    box.Height = 5.292;
    box.Transparent = true;
    ReportEngine engine;
    engine.Detail.Height = 10;
    TmyCheckBox* placed = engine.Detail.add<TmyCheckBox>(QStringLiteral("Box"));
    placed->Left = 3;
    placed->Top = 1;
    placed->Width = 4.763;
    placed->Height = 5.292;
    placed->Transparent = true;
    FontTextMeasurer m;
    const ReportDocument doc = engine.run(m);
    const QList<ReportElement> e = doc.pages.first().named(QStringLiteral("Box"));
    QCOMPARE(e.size(), 1);
    // The cell is as high as the element, at its place inside the margins.
    QCOMPARE(e.first().rect, QRectF(6.35 + 3, 6.35 + 1, 4.763, 5.292));
    QVERIFY(e.first().transparent);
}

void TestReportEngine::checkBoxKindsAreRegistered()
{
    const ReportRegistry::Entry* fixed = ReportRegistry::find(QStringLiteral("TmyCheckBox"));
    const ReportRegistry::Entry* bound = ReportRegistry::find(QStringLiteral("TmyDBCheckBox"));
    QVERIFY(fixed && bound);
    QCOMPARE(fixed->group, QStringLiteral("Standard Components"));
    QCOMPARE(fixed->hint, QStringLiteral("CheckBox"));
    QCOMPARE(bound->group, QStringLiteral("Data Components"));
    QCOMPARE(bound->hint, QStringLiteral("DBCheckBox"));
    QVERIFY(bound->create()->isDataAware());
    QVERIFY(!fixed->create()->isDataAware());
}

void TestReportEngine::displayFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("identifier") << "Item ID: # "
                                << "123"
                                << "Item ID: 123 ";
    QTest::newRow("page") << "Page: #"
                          << "12"
                          << "Page: 12";
    QTest::newRow("empty value") << "Item ID: # "
                                 << ""
                                 << "";
    QTest::newRow("no format") << ""
                               << "77"
                               << "77";
    QTest::newRow("not a number") << "Item ID: # "
                                  << "x1"
                                  << "Item ID: x1 ";
    QTest::newRow("zero padded") << "No. 000"
                                 << "7"
                                 << "No. 007";
}

void TestReportEngine::displayFormat()
{
    QFETCH(QString, format);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    QCOMPARE(ReportText::formatNumber(format, value), shown);
}

void TestReportEngine::wrapKeepsEveryWordInsideTheWidth()
{
    FontTextMeasurer m;
    const ReportFont font = ReportFont::arial(10);
    const QString text = words(80) + QStringLiteral("\r\n\r\nlast paragraph");
    const QStringList lines = m.wrap(text, font, 60);
    QVERIFY(lines.size() > 5);
    for (const QString& line : lines)
        QVERIFY2(m.width(line, font) <= 60 + 1e-6, qPrintable(line));
    QCOMPARE(lines.at(lines.size() - 2), QString()); // the empty paragraph keeps its line
    QCOMPARE(lines.last(), QStringLiteral("last paragraph"));
    QCOMPARE(lines.mid(0, lines.size() - 2).join(QLatin1Char(' ')), words(80));
    QVERIFY(m.wrap(QString(), font, 60).isEmpty());
    QVERIFY(m.lineHeight(font) > 3.5 && m.lineHeight(font) < 4.233); // one line fits a 12-pixel label
}

void TestReportEngine::chainFollowsGrowthAndHiddenRegions_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("shown");
    QTest::newRow("one line, region shown") << 1 << true;
    QTest::newRow("one line, region hidden") << 1 << false;
    QTest::newRow("long text, region shown") << 30 << true;
    QTest::newRow("long text, region hidden") << 30 << false;
}

void TestReportEngine::chainFollowsGrowthAndHiddenRegions()
{
    QFETCH(int, lines);
    QFETCH(bool, shown);
    FontTextMeasurer m;
    ChainReport r;
    r.addRecord(words(lines == 1 ? 2 : lines * 3), shown);
    r.addRecord(QStringLiteral("second"), true);
    const ReportDocument doc = r.engine.run(m);
    QCOMPARE(doc.pages.size(), 1);
    const ReportPage& page = doc.pages.first();
    const ReportElement head = page.named(QStringLiteral("Head")).first();
    const double lh = m.lineHeight(ReportFont::arial(10));
    // A text grows past its designed height only when its lines need it,
    // and then keeps its space below it.
    const double headHeight = head.lines.size() * lh > 5 ? head.lines.size() * lh + 2 : 5;
    const double growth = headHeight - 5;
    QCOMPARE(head.rect.top(), 6.35 + 2);
    const QList<ReportElement> inRegion = page.named(QStringLiteral("InRegion"));
    QCOMPARE(inRegion.size(), shown ? 2 : 1);
    if (shown)
        QCOMPARE(inRegion.first().rect.top(), 6.35 + 10 + growth + 1);
    // The tail keeps its designed distance below the region, which takes no
    // height when hidden.
    const ReportElement tail = page.named(QStringLiteral("Tail")).first();
    QCOMPARE(tail.rect.top(), 6.35 + 20 + growth - (shown ? 0 : 6));
    // The band ends as far below the tail as designed; the next record follows.
    const ReportElement nextHead = page.named(QStringLiteral("Head")).at(1);
    QCOMPARE(nextHead.rect.top(), 6.35 + 40 + growth - (shown ? 0 : 6) + 2);
}

void TestReportEngine::detailBandsMoveWholeToTheNextPage()
{
    FontTextMeasurer m;
    ChainReport r;
    for (int i = 0; i < 25; ++i)
        r.addRecord(QStringLiteral("record %1 ").arg(i) + words(i % 4 * 12), i % 3 != 0);
    const ReportDocument doc = r.engine.run(m);
    QVERIFY(doc.pages.size() >= 4);
    QVERIFY(!doc.truncated);
    int heads = 0;
    for (int p = 0; p < doc.pages.size(); ++p) {
        const ReportPage& page = doc.pages[p];
        // Every page has its footer with its own number.
        const QList<ReportElement> number = page.named(QStringLiteral("PageNumber"));
        QCOMPARE(number.size(), 1);
        QCOMPARE(number.first().text(), QStringLiteral("Page: %1").arg(p + 1));
        QCOMPARE(number.first().rect.top(), r.footerTop() + 2);
        // Each record's band is whole on one page and above the footer.
        QCOMPARE(page.named(QStringLiteral("Head")).size(), page.named(QStringLiteral("Tail")).size());
        for (const ReportElement& e : page.elements)
            if (e.name != QLatin1String("PageNumber"))
                QVERIFY(e.solidBottom() <= r.footerTop() + 1e-6);
        for (const ReportElement& e : page.named(QStringLiteral("Head")))
            QVERIFY(e.text().startsWith(QStringLiteral("record %1 ").arg(heads++)));
    }
    QCOMPARE(heads, 25);
}

void TestReportEngine::textLongerThanAPageContinuesOnTheNext()
{
    FontTextMeasurer m;
    ChainReport r;
    r.addRecord(QStringLiteral("short"), true);
    const QString longText = words(2500);
    r.addRecord(longText, true);
    const ReportDocument doc = r.engine.run(m);
    QVERIFY(doc.pages.size() >= 3);
    QStringList printed;
    const QList<ReportElement> heads = allNamed(doc, QStringLiteral("Head"));
    for (const ReportElement& e : heads.mid(1))
        printed << e.lines;
    // Nothing lost, nothing repeated, nothing under a footer.
    QCOMPARE(printed, m.wrap(longText, ReportFont::arial(10), 60));
    for (const ReportPage& page : doc.pages)
        for (const ReportElement& e : page.named(QStringLiteral("Head")))
            QVERIFY(e.solidBottom() <= r.footerTop() + 1e-6);
    // The rest of the band follows the end of the text on the last page.
    const ReportElement tail = allNamed(doc, QStringLiteral("Tail")).last();
    const ReportElement lastPart = heads.last();
    QVERIFY(doc.pages.last().named(QStringLiteral("Tail")).size() == 1);
    QVERIFY(tail.rect.top() > lastPart.solidBottom());
}

void TestReportEngine::pageLimitDropsTheRest()
{
    FontTextMeasurer m;
    ChainReport r;
    r.engine.MaxPages = 1;
    r.addRecord(words(2000), true);
    r.addRecord(QStringLiteral("never printed"), true);
    const ReportDocument doc = r.engine.run(m);
    QCOMPARE(doc.pages.size(), 1);
    QVERIFY(doc.truncated);
    const QList<ReportElement> heads = doc.pages.first().named(QStringLiteral("Head"));
    QCOMPARE(heads.size(), 1);
    QVERIFY(heads.first().solidBottom() <= r.footerTop() + 1e-6);
    QVERIFY(heads.first().solidBottom() > r.footerTop() - m.lineHeight(ReportFont::arial(10)) - 1e-6);
}

void TestReportEngine::symbolsPaintTheirShapes()
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

void TestReportEngine::pdfHasOnePagePerModelPage()
{
    FontTextMeasurer m;
    ChainReport r;
    for (int i = 0; i < 12; ++i)
        r.addRecord(words(40), true);
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

QTEST_MAIN(TestReportEngine)
#include "test_reportengine.moc"
