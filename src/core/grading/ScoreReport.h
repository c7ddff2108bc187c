#pragma once

#include "core/grading/GradeResult.h"
#include "core/reports/ReportEngine.h"

#include <QDate>

class ReportChart;
class ReportText;
class TextMeasurer;

// The paper form of the score window on one page: brand, candidate and exam
// line, print date, heading, the total chart with the result line, and the
// section chart. Filled from the same grading as the window.
class ScoreReport
{
public:
    ScoreReport();

    ReportEngine ppReport1;
    ReportText* TitleLabel = nullptr;
    ReportText* DateLabel = nullptr;
    ReportText* ResultLabel = nullptr;
    ReportText* FooterLabel = nullptr;
    ReportChart* TotalChart = nullptr;
    ReportChart* SectionChart = nullptr;

    // The total part: the two total bars, the title and the result line.
    void FillTotal(const GradeResult& result);
    // The section bars (the six, and "Other" when it has items), the last
    // first so that section 1 stands at the top.
    void FillSections(const GradeResult& result);
    void fill(const GradeResult& result)
    {
        FillTotal(result);
        FillSections(result);
    }

    ReportDocument run(const TextMeasurer& measurer, const QDate& date = QDate::currentDate()) const
    {
        return ppReport1.run(measurer, date);
    }
};
