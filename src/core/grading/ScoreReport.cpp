#include "core/grading/ScoreReport.h"

#include "core/reports/ReportChart.h"
#include "core/reports/ReportLayout.h"
#include "core/reports/ReportShape.h"
#include "core/reports/ReportText.h"

namespace {
constexpr ReportColor ScoreGreen{0, 128, 0};
constexpr ReportColor RequiredBlue{0, 0, 255};
constexpr ReportColor SectionRed{255, 0, 0};

} // namespace

ScoreReport::ScoreReport()
{
    ppReport1.DocumentName = QStringLiteral("Score Report");
    ppReport1.MaxPages = 1;

    ReportBand& header = ppReport1.PageHeader;
    header.Height = 154.517;
    // The rule runs from behind the brand's frame, which is drawn over it.
    ReportLayout::shape(header, QStringLiteral("TitleLine"), ReportShape::Kind::Line, 27.252, 13.229, 155.046,
                        3.175);
    ReportLayout::brand(header, 14.552, 7.144, 29.104, 9.79, 15.346, 8.996);
    TitleLabel = ReportLayout::text(header, QStringLiteral("TitleLabel"), ReportText::Source::Caption, 114.3,
                                    7.673, 67.998, 4.763, ReportFont::arial(11, true), Qt::AlignRight);
    TitleLabel->MaxWidth = 182.298 - 43.656 - 3; // never over the brand's frame
    DateLabel = ReportLayout::text(header, QStringLiteral("DateLabel"), ReportText::Source::PrintDate,
                                   163.195, 13.97, 19.473, 4.022, ReportFont::arial(10), Qt::AlignRight);
    auto* heading = ReportLayout::text(header, QStringLiteral("Heading"), ReportText::Source::Caption, 76.465,
                                       22.225, 48.948, 4.763, ReportFont::arial(11, true), Qt::AlignHCenter);
    heading->Caption = QStringLiteral("Examination Score Report");
    ReportLayout::shape(header, QStringLiteral("TotalFrame"), ReportShape::Kind::Rectangle, 15.081, 33.338,
                        167.482, 34.131);

    TotalChart = header.add<ReportChart>(QStringLiteral("TotalChart"));
    TotalChart->Left = 16.404;
    TotalChart->Top = 34.925;
    TotalChart->Width = 165.365;
    TotalChart->Height = 31.221;
    BarChart& total = TotalChart->Chart;
    total.axisMinimum = 0;
    total.axisMaximum = GradeResult::MaxScore;
    total.axisStep = 100;
    total.valueAxisFont = ReportFont::arialPixels(13, true);
    total.categoryAxisFont = ReportFont::arialPixels(15, true);
    total.barWidthPercent = 90;

    ResultLabel =
        ReportLayout::text(header, QStringLiteral("ResultLabel"), ReportText::Source::Caption, 51.329, 68.527,
                           96.309, 4.763, ReportFont::arial(11, true), Qt::AlignHCenter);
    // The caption is printed on white over its rule.
    ReportLayout::shape(header, QStringLiteral("SectionsLine"), ReportShape::Kind::Line, 15.081, 90.223,
                        167.482, 0.529);
    auto* sections =
        ReportLayout::text(header, QStringLiteral("SectionsCaption"), ReportText::Source::Caption, 16.933,
                           88.106, 16.404, 4.233, ReportFont::arial(10, true), Qt::AlignRight);
    sections->Caption = QStringLiteral(" Sections ");
    sections->Transparent = false;

    SectionChart = header.add<ReportChart>(QStringLiteral("SectionChart"));
    SectionChart->Left = 10.054;
    SectionChart->Top = 92.604;
    SectionChart->Width = 177.8;
    SectionChart->Height = 45.508;
    BarChart& bySection = SectionChart->Chart;
    bySection.axisMinimum = 0;
    bySection.axisMaximum = 100;
    bySection.axisStep = 10;
    bySection.valueAxisFont = ReportFont::arialPixels(12);
    bySection.categoryAxisFont = ReportFont::arialPixels(12);
    bySection.barWidthPercent = 80;

    ppReport1.Detail.Height = 16.14;

    ReportBand& footer = ppReport1.PageFooter;
    footer.Height = 25.665;
    ReportLayout::shape(footer, QStringLiteral("FooterLine"), ReportShape::Kind::Line, 10.054, 1.852, 172.509,
                        0);
    FooterLabel = ReportLayout::text(footer, QStringLiteral("FooterLabel"), ReportText::Source::Caption,
                                     10.054, 2.381, 30, 3.704, ReportFont::arial(9), Qt::AlignLeft);
}

void ScoreReport::FillTotal(const GradeResult& result)
{
    BarChart& total = TotalChart->Chart;
    total.clear();
    total.add(result.score, QStringLiteral("Your score"), ScoreGreen);
    total.add(GradeResult::PassingScore, QStringLiteral("Required score"), RequiredBlue);
    TitleLabel->setCaption(result.ScoreTitle);
    ResultLabel->setCaption(result.ResultLine);
    FooterLabel->setCaption(QStringLiteral("Velarix 2.0"));
}

void ScoreReport::FillSections(const GradeResult& result)
{
    BarChart& bySection = SectionChart->Chart;
    bySection.clear();
    const std::vector<SectionTally> rows = result.shownSections();
    for (auto t = rows.rbegin(); t != rows.rend(); ++t)
        bySection.add(t->percent, t->label, SectionRed);
}
