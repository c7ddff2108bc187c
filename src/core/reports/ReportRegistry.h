#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class ReportComponent;

// The component classes a report designer may offer, by class name, in a
// group of its palette with a hint. The program's own reports are fixed
// layouts and do not need it; components register themselves at start-up
// and withdraw at shutdown.
class ReportRegistry
{
public:
    struct Entry
    {
        QString className;
        QString group;
        QString hint;
        std::function<std::unique_ptr<ReportComponent>()> create;
    };

    static void registerComponent(const Entry& entry);
    static void unregisterComponent(const QString& className);
    static const Entry* find(const QString& className);
    static QList<Entry> entries();
};
