#include "core/grading/ExamReport.h"

#include "core/grading/TmyDBCheckBox.h"
#include "core/reports/ReportLayout.h"
#include "core/reports/ReportRegion.h"
#include "core/reports/ReportShape.h"
#include "core/reports/ReportText.h"
#include "core/store/ItemRecord.h"

namespace {
// Designed top and height of rows a to f, and the width of their letters.
struct RowDesign
{
    double top;
    double height;
    double letterWidth;
};
constexpr RowDesign RowDesigns[6] = {{17.727, 6.085, 2.91}, {24.077, 6.085, 2.91}, {30.427, 6.615, 2.91},
                                     {36.777, 6.35, 2.91},  {43.127, 6.35, 2.91},  {49.477, 6.085, 1.852}};
constexpr double RowLeft = 6.35;
constexpr double RowElementTop = 0.794;
} // namespace

ExamReport::ExamReport(Table& currentSet) : ppDBPipeline1(currentSet)
{
    using namespace ItemRecord;
    ppReport1.DocumentName = QStringLiteral("Report1");
    ppReport1.PaperSize = QSizeF(215.9, 279.401);
    ppReport1.DataPipeline = &ppDBPipeline1;

    ReportBand& title = ppReport1.Title;
    title.Height = 20.373;
    // The rule runs from behind the brand's frame, which is drawn over it.
    ReportLayout::shape(title, QStringLiteral("TitleLine"), ReportShape::Kind::Line, 26.723, 11.906, 164.571);
    ReportLayout::brand(title, 8.731, 5.292, 30.692, 8.731, 10.583, 6.35);
    ExamLabel = ReportLayout::text(title, QStringLiteral("ExamLabel"), ReportText::Source::Caption, 148.961,
                                   6.35, 42.333, 5.027, ReportFont::arial(12, true));
    ExamLabel->Alignment = Qt::AlignRight;
    ExamLabel->MaxWidth = 191.294 - 39.423 - 3; // never over the brand's frame
    SetLabel = ReportLayout::text(title, QStringLiteral("SetLabel"), ReportText::Source::Caption, 163.777,
                                  12.7, 27.252, 4.233, ReportFont::arial(10, true));
    SetLabel->Alignment = Qt::AlignRight;
    SetLabel->MaxWidth = ExamLabel->MaxWidth;

    ReportBand& detail = ppReport1.Detail;
    detail.Height = 75.936;
    detail.Stretch = true;
    ReportLayout::shape(detail, QStringLiteral("ItemLine"), ReportShape::Kind::Line, 8.467, 3.704, 182.034);
    // Printed on white over the rule, so the rule starts after it.
    auto* id = ReportLayout::text(detail, QStringLiteral("ItemId"), ReportText::Source::DataField, 8.467,
                                  0.794, 26.458, 4.233, ReportFont::arial(10, true, true));
    id->DataPipeline = &ppDBPipeline1;
    id->DataField = Q_OR_NUMBER;
    id->DisplayFormat = QStringLiteral("Item ID: # ");
    id->AutoSize = true;
    id->Transparent = false;

    auto* question = ReportLayout::text(detail, QStringLiteral("Question"), ReportText::Source::DataField,
                                        10.583, 6.879, 182.563, 10.848, ReportFont::arial(10));
    question->DataPipeline = &ppDBPipeline1;
    question->DataField = Q_TEXT;
    question->WordWrap = true;
    question->Stretch = true;
    question->BottomOffset = 3.81;

    ReportComponent* previous = question;
    for (int k = 0; k < 6; ++k) {
        const RowDesign& d = RowDesigns[k];
        const QChar letter('a' + k);
        auto* row = detail.add<ReportRegion>(QStringLiteral("ppRegion%1").arg(k + 2));
        row->Left = RowLeft;
        row->Top = d.top;
        row->Width = 184.15;
        row->Height = d.height;
        row->ShiftRelativeTo = previous;
        previous = row;
        Rows[k] = row;

        // Inside a row, lefts are counted from the row's left edge.
        auto* box = row->add<TmyDBCheckBox>(QStringLiteral("CheckBox%1").arg(letter));
        box->Left = 14.817 - RowLeft;
        box->Top = RowElementTop;
        box->Width = 4.763;
        box->Height = 5.292;
        box->DataPipeline = &ppDBPipeline1;
        box->DataField = choiceFlag(k + 1);
        box->setBooleanTrue(QStringLiteral("True"));
        box->setBooleanFalse(QStringLiteral("False"));
        box->setStyle(csCheckInBox);
        box->Transparent = true;
        CheckBoxes[k] = box;

        auto* label =
            ReportLayout::text(*row, QStringLiteral("Letter%1").arg(letter), ReportText::Source::Caption,
                               20.108 - RowLeft, RowElementTop, d.letterWidth, 4.233, ReportFont::arial(10));
        label->Caption = QString(letter) + QLatin1Char('.');

        auto* choice =
            ReportLayout::text(*row, QStringLiteral("Choice%1").arg(letter), ReportText::Source::DataField,
                               25.4 - RowLeft, RowElementTop, 164.571, 4.233, ReportFont::arial(10));
        choice->DataPipeline = &ppDBPipeline1;
        choice->DataField = choiceText(k + 1);
        choice->WordWrap = true;
        choice->Stretch = true;
        choice->BottomOffset = 2.54;
        ChoiceTexts[k] = choice;
    }
    Rows[2]->OnPrint = [this] { ppRegion4Print(); };
    Rows[3]->OnPrint = [this] { ppRegion5Print(); };
    Rows[4]->OnPrint = [this] { ppRegion6Print(); };
    Rows[5]->OnPrint = [this] { ppRegion7Print(); };

    auto* explanation =
        ReportLayout::text(detail, QStringLiteral("Explanation"), ReportText::Source::DataField, 12.7, 60.854,
                           182.034, 10.848, ReportFont::arial(10, false, true));
    explanation->DataPipeline = &ppDBPipeline1;
    explanation->DataField = Q_EXPL;
    explanation->WordWrap = true;
    explanation->Stretch = true;
    explanation->BottomOffset = 5.08;
    explanation->ShiftRelativeTo = previous;

    ReportBand& footer = ppReport1.PageFooter;
    footer.Height = 19.579;
    ReportLayout::shape(footer, QStringLiteral("FooterLine"), ReportShape::Kind::Line, 7.938, 0.794, 182.563);
    auto* page = ReportLayout::text(footer, QStringLiteral("PageNumber"), ReportText::Source::PageNumber,
                                    189.442 - 30, 1.588, 30, 3.175, ReportFont::arial(8));
    page->DisplayFormat = QStringLiteral("Page: #");
    page->Alignment = Qt::AlignRight;
}

void ExamReport::setExamTitle(const QString& examTitle)
{
    ExamLabel->setCaption(QStringLiteral("Velarix 2.0, ") + examTitle);
    SetLabel->setCaption(QStringLiteral("All Items in ") + examTitle);
}

void ExamReport::showRowIfFilled(int row)
{
    Q_ASSERT(row >= 2 && row < int(Rows.size())); // rows a and b always print
    Rows[row]->Visible = !ppDBPipeline1.fieldText(ItemRecord::choiceText(row + 1)).isEmpty();
}

void ExamReport::ppRegion4Print()
{
    showRowIfFilled(2);
}

void ExamReport::ppRegion5Print()
{
    showRowIfFilled(3);
}

void ExamReport::ppRegion6Print()
{
    showRowIfFilled(4);
}

void ExamReport::ppRegion7Print()
{
    showRowIfFilled(5);
}
