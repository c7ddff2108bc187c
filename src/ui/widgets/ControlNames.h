#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <initializer_list>

// Gives each control of a window its design name as its objectName: the name
// Qt keeps for a component, shown by its tools and found by the tests.
struct NamedControl
{
    QObject* control;
    const char* name;
};

inline void nameControls(std::initializer_list<NamedControl> controls)
{
    for (const NamedControl& c : controls) {
        Q_ASSERT_X(c.control, "nameControls", c.name);
        c.control->setObjectName(QString::fromLatin1(c.name));
    }
}

// A row of like controls, named name1, name2, ... in their order.
template <typename T, std::size_t N> void nameControls(const std::array<T*, N>& controls, const char* name)
{
    for (std::size_t i = 0; i < N; ++i) {
        Q_ASSERT_X(controls[i], "nameControls", name);
        controls[i]->setObjectName(QString::fromLatin1(name) + QString::number(i + 1));
    }
}
