#pragma once

#include "core/reports/ReportColor.h"
#include "core/reports/ReportElement.h"

#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class ReportPipeline;
class TextMeasurer;

// What a component knows while it prints: the fonts' measures, the record
// the pipeline stands on, the page and the date.
struct PrintContext
{
    explicit PrintContext(const TextMeasurer& measurer, ReportPipeline* pipeline = nullptr,
                          int pageNumber = 1, const QDate& printDate = QDate::currentDate())
        : measurer(measurer), pipeline(pipeline), pageNumber(pageNumber), printDate(printDate)
    {
    }

    const TextMeasurer& measurer;
    ReportPipeline* pipeline = nullptr;
    int pageNumber = 0;
    QDate printDate;
};

// What one component printed for one record: its height and its elements,
// placed relative to the component's own top-left corner.
struct ComponentLayout
{
    double height = 0;
    QList<ReportElement> elements;
};

// A printable element of a report, placed in a band or region (millimetres
// from the band's left margin and top). Texts that stretch make it taller;
// a component that shifts relative to another keeps its distance below it.
class ReportComponent
{
public:
    explicit ReportComponent(const QString& name);
    virtual ~ReportComponent();
    ReportComponent(const ReportComponent&) = delete;
    ReportComponent& operator=(const ReportComponent&) = delete;

    QString Name;
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    bool Visible = true;
    bool Transparent = false;
    ReportColor Color = ReportColor::white();
    bool ShiftWithParent = false;
    bool ReprintOnOverFlow = false;
    // Follows that component: stays as far below its printed bottom as it
    // was designed below its designed bottom. A hidden component takes no height.
    ReportComponent* ShiftRelativeTo = nullptr;
    // Space kept below the component once it has grown past its designed height.
    double BottomOffset = 0;

    // Called each time the component is about to print, for the current record.
    std::function<void()> OnPrint;
    // Called when a property changed (a report designer would redraw).
    std::function<void()> OnChange;

    virtual bool isDataAware() const { return false; }
    virtual ComponentLayout layout(const PrintContext& context) const = 0;

protected:
    void changed() const;
};

using ReportComponents = std::vector<std::unique_ptr<ReportComponent>>;

// Lays out the components of a band or region for the current record: print
// events first, then the chains of relative positions. A container that
// stretches keeps its designed space below the lowest component; one that
// does not keeps its designed height.
ComponentLayout layoutComponents(const ReportComponents& components, double designedHeight, bool stretch,
                                 const PrintContext& context);
