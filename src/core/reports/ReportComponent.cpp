#include "core/reports/ReportComponent.h"

#include <QHash>
#include <algorithm>

ReportComponent::ReportComponent(const QString& name) : Name(name) {}

ReportComponent::~ReportComponent() = default;

void ReportComponent::changed() const
{
    if (OnChange)
        OnChange();
}

ComponentLayout layoutComponents(const ReportComponents& components, double designedHeight, bool stretch,
                                 const PrintContext& context)
{
    struct Placed
    {
        double top = 0;
        double height = 0;
    };
    QHash<const ReportComponent*, Placed> placed;
    ComponentLayout result;
    double designedBottom = 0;
    double printedBottom = 0;
    bool anyVisible = false;
    for (const auto& owned : components) {
        const ReportComponent* c = owned.get();
        designedBottom = std::max(designedBottom, c->Top + c->Height);
        if (c->OnPrint)
            c->OnPrint();
        double top = c->Top;
        if (const ReportComponent* anchor = c->ShiftRelativeTo) {
            const auto it = placed.constFind(anchor);
            Q_ASSERT_X(it != placed.constEnd(), "layoutComponents",
                       "a component shifts relative to one placed before it in the same band or region");
            if (it != placed.constEnd())
                top = it->top + it->height + (c->Top - (anchor->Top + anchor->Height));
        }
        Placed p{top, 0};
        if (c->Visible) {
            ComponentLayout own = c->layout(context);
            p.height = own.height;
            for (ReportElement e : own.elements) {
                e.rect.translate(c->Left, top);
                result.elements << e;
            }
            printedBottom = std::max(printedBottom, top + own.height);
            anyVisible = true;
        }
        placed.insert(c, p);
    }
    if (!stretch || components.empty())
        result.height = designedHeight;
    else
        result.height = std::max(0.0, (anyVisible ? printedBottom : 0.0) + (designedHeight - designedBottom));
    return result;
}
