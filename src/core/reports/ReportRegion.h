#pragma once

#include "core/reports/ReportComponent.h"

// A borderless, transparent group of components that prints or hides as a
// whole (its print event decides, per record) and grows with its texts.
class ReportRegion : public ReportComponent
{
public:
    explicit ReportRegion(const QString& name);

    template <class T, class... Args> T* add(Args&&... args)
    {
        auto owned = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = owned.get();
        m_components.push_back(std::move(owned));
        return raw;
    }
    const ReportComponents& components() const { return m_components; }

    ComponentLayout layout(const PrintContext& context) const override;

private:
    ReportComponents m_components;
};
