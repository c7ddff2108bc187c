#include "core/grading/ItemReport.h"

#include "core/reports/ReportLayout.h"
#include "core/reports/ReportShape.h"
#include "core/reports/ReportText.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"

ItemReport::ItemReport()
{
    Report.DocumentName = QStringLiteral("Report");
    Report.MaxPages = 1;

    // Title band: the brand in its frame, the rule, the exam and item number, the question.
    ReportBand& title = Report.Title;
    title.Height = 35.719;
    title.Stretch = true;
    // The rule runs from behind the brand's frame, which is drawn over it.
    ReportLayout::shape(title, QStringLiteral("TitleLine"), ReportShape::Kind::Line, 28.046, 19.315, 152.929,
                        3.969);
    ReportLayout::brand(title, 10.054, 12.965, 30.692, 8.731, 11.906, 14.023);
    ExamLabel = ReportLayout::text(title, QStringLiteral("ExamLabel"), ReportText::Source::Caption, 135.467,
                                   14.023, 45.508, 5.027, ReportFont::arial(12, true));
    ExamLabel->Alignment = Qt::AlignRight;
    ExamLabel->MaxWidth = 180.975 - 40.746 - 3; // never over the brand's frame
    ItemNumberLabel =
        ReportLayout::text(title, QStringLiteral("ItemNumberLabel"), ReportText::Source::Caption, 150.548,
                           19.844, 30.427, 4.233, ReportFont::arial(10, true));
    ItemNumberLabel->Alignment = Qt::AlignRight;
    QuestionBlock = ReportLayout::text(title, QStringLiteral("QuestionBlock"), ReportText::Source::Lines,
                                       12.7, 29.104, 168.275, 5.027, ReportFont::arial(10));
    QuestionBlock->WordWrap = true;
    QuestionBlock->Stretch = true;

    // Page header band: a rule over the choices and the explanation.
    ReportBand& header = Report.PageHeader;
    header.Height = 32.015;
    header.Stretch = true;
    ReportLayout::shape(header, QStringLiteral("HeaderLine"), ReportShape::Kind::Line, 12.7, 1.323, 168.275,
                        3.969);
    ChoicesBlock = ReportLayout::text(header, QStringLiteral("ChoicesBlock"), ReportText::Source::Lines, 12.7,
                                      4.233, 168.275, 23.548, ReportFont::arial(10));
    ChoicesBlock->WordWrap = true;
    ChoicesBlock->Stretch = true;

    Report.Detail.Height = 7.144;

    ReportBand& footer = Report.PageFooter;
    footer.Height = 32.015;
    ReportLayout::shape(footer, QStringLiteral("FooterLine"), ReportShape::Kind::Line, 10.054, 1.323, 169.863,
                        3.969);
    FooterLabel = ReportLayout::text(footer, QStringLiteral("FooterLabel"), ReportText::Source::Caption,
                                     10.054, 1.852, 30, 4.233, ReportFont::arial(10));
    FooterLabel->Caption = QStringLiteral("Velarix 2.0");
}

QStringList ItemReport::choiceLines(const std::array<QString, 6>& choices, const QString& explanation)
{
    QStringList lines;
    for (int k = 0; k < 6; ++k) {
        const QString& text = choices[k];
        if (k < 2 || !text.isEmpty())
            lines << QStringLiteral("%1.  ").arg(QChar('a' + k)) + text;
        lines << QString();
    }
    lines << QString();
    lines << explanation;
    return lines;
}

void ItemReport::fill(const QString& question, const QString& examTitle, int recNo, Table& currentSet)
{
    using namespace ItemRecord;
    QuestionBlock->clear();
    QuestionBlock->append(question);
    ExamLabel->setCaption(QStringLiteral("Velarix 2.0, ") + examTitle);
    ItemNumberLabel->setCaption(QStringLiteral("Item Number: ") + QString::number(recNo));
    std::array<QString, 6> choices;
    for (int k = 0; k < 6; ++k)
        choices[k] = currentSet.fieldByName(choiceText(k + 1)).asString();
    ChoicesBlock->clear();
    for (const QString& line : choiceLines(choices, currentSet.fieldByName(Q_EXPL).asString()))
        ChoicesBlock->append(line);
    FooterLabel->setCaption(QStringLiteral("Velarix 2.0"));
}
