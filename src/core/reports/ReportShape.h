#pragma once

#include "core/reports/ReportComponent.h"

// A rectangle outline or a horizontal line along the top edge of its box.
class ReportShape : public ReportComponent
{
public:
    enum class Kind { Rectangle, Line };

    ReportShape(const QString& name, Kind kind);

    Kind kind;
    double PenWidth = 0.75; // points
    // A rectangle filled with Color hides what was drawn under it.
    bool Filled = false;

    ComponentLayout layout(const PrintContext& context) const override;
};
