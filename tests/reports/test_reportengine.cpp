// The banded report engine and the printable check boxes: the page model
// a report lays out, measured with fixed metrics. This test links the core
// library only; the painting of the model is tested beside it.
#include "ChainReport.h"
#include "ListPipeline.h"
#include "core/grading/TmyCheckBox.h"
#include "core/grading/TmyDBCheckBox.h"
#include "core/reports/ReportEngine.h"
#include "core/reports/ReportRegistry.h"
#include "core/reports/ReportText.h"
#include "core/reports/TextMeasurer.h"

#include <QHash>
#include <QTest>
#include <algorithm>

namespace {
// Metrics of a face whose characters are all as wide, in proportion to the
// point size; near Arial's line height and mean advance at 10 points. It
// breaks lines as a real measurer does, so a layout fault shows the same.
class FixedTextMeasurer : public TextMeasurer
{
public:
    double lineHeight(const ReportFont& font) const override { return font.pointSize * 0.4; }
    double ascent(const ReportFont& font) const override { return font.pointSize * 0.32; }
    double width(const QString& line, const ReportFont& font) const override
    {
        return line.size() * advance(font);
    }
    QStringList wrap(const QString& text, const ReportFont& font, double width) const override
    {
        QStringList lines;
        if (text.isEmpty())
            return lines;
        const int perLine = std::max(1, int(width / advance(font) + 1e-9));
        QString normal = text;
        normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        for (const QString& paragraph : normal.split(QLatin1Char('\n'))) {
            if (paragraph.isEmpty())
                lines << QString(); // an empty paragraph keeps its line
            for (qsizetype at = 0; at < paragraph.size();) {
                if (paragraph.size() - at <= perLine) {
                    lines << paragraph.mid(at);
                    break;
                }
                // Break at the last blank that leaves the line within the
                // width; the blanks broken at do not print. A word wider
                // than a line alone is broken inside.
                const qsizetype blank = paragraph.lastIndexOf(QLatin1Char(' '), at + perLine);
                if (blank <= at) {
                    lines << paragraph.mid(at, perLine);
                    at += perLine;
                    continue;
                }
                QString line = paragraph.mid(at, blank - at);
                while (line.endsWith(QLatin1Char(' ')))
                    line.chop(1);
                lines << line;
                at = blank;
                while (at < paragraph.size() && paragraph.at(at) == QLatin1Char(' '))
                    ++at;
            }
        }
        return lines;
    }

private:
    static double advance(const ReportFont& font) { return font.pointSize * (font.bold ? 0.2 : 0.18); }
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
    void chainFollowsGrowthAndHiddenRegions_data();
    void chainFollowsGrowthAndHiddenRegions();
    void detailBandsMoveWholeToTheNextPage();
    void textLongerThanAPageContinuesOnTheNext();
    void pageLimitDropsTheRest();
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
    const FixedTextMeasurer m;
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
    const FixedTextMeasurer m;
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
    const FixedTextMeasurer m;
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
    const FixedTextMeasurer m;
    ChainReport r;
    r.addRecord(ChainReport::words(lines == 1 ? 2 : lines * 3), shown);
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
    const FixedTextMeasurer m;
    ChainReport r;
    for (int i = 0; i < 25; ++i)
        r.addRecord(QStringLiteral("record %1 ").arg(i) + ChainReport::words(i % 4 * 12), i % 3 != 0);
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
    const FixedTextMeasurer m;
    ChainReport r;
    r.addRecord(QStringLiteral("short"), true);
    const QString longText = ChainReport::words(2500);
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
    const FixedTextMeasurer m;
    ChainReport r;
    r.engine.MaxPages = 1;
    r.addRecord(ChainReport::words(2000), true);
    r.addRecord(QStringLiteral("never printed"), true);
    const ReportDocument doc = r.engine.run(m);
    QCOMPARE(doc.pages.size(), 1);
    QVERIFY(doc.truncated);
    const QList<ReportElement> heads = doc.pages.first().named(QStringLiteral("Head"));
    QCOMPARE(heads.size(), 1);
    QVERIFY(heads.first().solidBottom() <= r.footerTop() + 1e-6);
    QVERIFY(heads.first().solidBottom() > r.footerTop() - m.lineHeight(ReportFont::arial(10)) - 1e-6);
}

QTEST_GUILESS_MAIN(TestReportEngine)
#include "test_reportengine.moc"
