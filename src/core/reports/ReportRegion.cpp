#include "core/reports/ReportRegion.h"

ReportRegion::ReportRegion(const QString& name) : ReportComponent(name)
{
    Transparent = true;
}

ComponentLayout ReportRegion::layout(const PrintContext& context) const
{
    return layoutComponents(m_components, Height, true, context);
}
