#include "ChainReport.h"

#include "core/reports/ReportRegion.h"
#include "core/reports/ReportText.h"

#include <QStringList>

ChainReport::ChainReport()
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

void ChainReport::addRecord(const QString& text, bool show)
{
    pipeline.records << QHash<QString, QString>{{QStringLiteral("text"), text},
                                                {QStringLiteral("show"), show ? "1" : "0"}};
}

double ChainReport::footerTop() const
{
    return engine.PaperSize.height() - engine.Margins.bottom() - engine.PageFooter.Height;
}

QString ChainReport::words(int n)
{
    QStringList w;
    for (int i = 0; i < n; ++i)
        w << QStringLiteral("word%1").arg(i);
    return w.join(QLatin1Char(' '));
}
