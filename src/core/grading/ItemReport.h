#pragma once

#include "core/reports/ReportEngine.h"

#include <QString>
#include <QStringList>
#include <array>

class ReportShape;
class ReportText;
class Table;
class TextMeasurer;

// The printout of the item on screen, on one page: its position in the exam,
// the exam title, the question, the choices and the explanation (the correct
// answers are not marked). A fixed layout whose texts are set before printing.
class ItemReport
{
public:
    ItemReport();

    ReportEngine Report;
    ReportText* ExamLabel = nullptr;
    ReportText* ItemNumberLabel = nullptr;
    ReportText* QuestionBlock = nullptr;
    ReportText* ChoicesBlock = nullptr;
    ReportText* FooterLabel = nullptr;

    // The lines of the choices block: "a.  " and "b.  " always, "c.  " to
    // "f.  " only for a choice with text, an empty line after each of the
    // six positions, one more, then the explanation.
    static QStringList choiceLines(const std::array<QString, 6>& choices, const QString& explanation);

    // Sets every variable text for the current record of the exam set:
    // the question as the exam window shows it, the exam title and the
    // item's record number.
    void fill(const QString& question, const QString& examTitle, int recNo, Table& currentSet);

    ReportDocument run(const TextMeasurer& measurer) const { return Report.run(measurer); }
};
