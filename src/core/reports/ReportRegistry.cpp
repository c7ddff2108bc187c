#include "core/reports/ReportRegistry.h"

#include "core/reports/ReportComponent.h"

namespace {
QList<ReportRegistry::Entry>& registry()
{
    static QList<ReportRegistry::Entry> entries;
    return entries;
}
} // namespace

void ReportRegistry::registerComponent(const Entry& entry)
{
    unregisterComponent(entry.className);
    registry().append(entry);
}

void ReportRegistry::unregisterComponent(const QString& className)
{
    registry().removeIf([&className](const Entry& e) { return e.className == className; });
}

const ReportRegistry::Entry* ReportRegistry::find(const QString& className)
{
    for (const Entry& e : registry())
        if (e.className == className)
            return &e;
    return nullptr;
}

QList<ReportRegistry::Entry> ReportRegistry::entries()
{
    return registry();
}
