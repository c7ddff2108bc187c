#pragma once

#include "core/reports/ReportEngine.h"
#include "core/reports/TablePipeline.h"

#include <array>

class ReportRegion;
class ReportText;
class Table;
class TextMeasurer;
class TmyDBCheckBox;

// The answer key of the running exam: every item of the current exam set in
// exam order with its identifier, question, choices a to f behind check
// boxes that are checked for the correct ones, and the explanation. A banded
// report over the exam set, one detail band per item.
class ExamReport
{
public:
    explicit ExamReport(Table& currentSet);

    TablePipeline ppDBPipeline1;
    ReportEngine ppReport1;
    ReportText* ExamLabel = nullptr;
    ReportText* SetLabel = nullptr;
    // Rows a to f: the regions, their check boxes and choice texts.
    std::array<ReportRegion*, 6> Rows{};
    std::array<TmyDBCheckBox*, 6> CheckBoxes{};
    std::array<ReportText*, 6> ChoiceTexts{};

    // Rows c to f print only for a choice with text (blanks count as text).
    void ppRegion4Print();
    void ppRegion5Print();
    void ppRegion6Print();
    void ppRegion7Print();

    void setExamTitle(const QString& examTitle);
    // Walks the exam set from its first record to its last. The caller keeps
    // the exam window from following and returns to the item afterwards.
    ReportDocument run(const TextMeasurer& measurer) const { return ppReport1.run(measurer); }

private:
    void showRowIfFilled(int row);
};
