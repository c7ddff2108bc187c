#include "core/store/SectionNames.h"

namespace SectionNames {

QStringList all()
{
    return {QStringLiteral("Planning"),
            QStringLiteral("Installation and Configuration"),
            QStringLiteral("Setting Up/Managing Resource Access"),
            QStringLiteral("Integration and Interoperability"),
            QStringLiteral("Monitoring and Optimization"),
            QStringLiteral("Troubleshooting")};
}

QString name(int section)
{
    if (section < 1 || section > Count)
        return {};
    return all().at(section - 1);
}

} // namespace SectionNames
