#pragma once

#include "core/reports/ReportElement.h"

#include <QList>

// The elements of one printed page, in drawing order.
struct ReportPage
{
    QList<ReportElement> elements;

    // The elements printed by the component of that name, top to bottom.
    QList<ReportElement> named(const QString& name) const
    {
        QList<ReportElement> found;
        for (const ReportElement& e : elements)
            if (e.name == name)
                found << e;
        return found;
    }
};
