#pragma once

#include "core/reports/ReportComponent.h"

// A horizontal strip of a report page: the title (once), the page header
// and footer (every page) or the detail (once per record). A band that
// stretches grows and shrinks with its components.
class ReportBand
{
public:
    enum class Kind { Title, PageHeader, Detail, PageFooter };

    explicit ReportBand(Kind kind) : kind(kind) {}
    ReportBand(const ReportBand&) = delete;
    ReportBand& operator=(const ReportBand&) = delete;

    const Kind kind;
    double Height = 0;
    bool Stretch = false;

    template <class T, class... Args> T* add(Args&&... args)
    {
        auto owned = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = owned.get();
        m_components.push_back(std::move(owned));
        return raw;
    }
    const ReportComponents& components() const { return m_components; }
    bool isEmpty() const { return Height <= 0 && m_components.empty(); }

    ComponentLayout layout(const PrintContext& context) const
    {
        return layoutComponents(m_components, Height, Stretch, context);
    }

private:
    ReportComponents m_components;
};
