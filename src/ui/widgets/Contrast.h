#pragma once

#include <QColor>
#include <algorithm>
#include <cmath>

// How far apart two colours read, as WCAG measures it: 1 for the same
// colour, 21 for black on white; body text needs 4.5.
namespace Contrast {

inline double luminance(const QColor& c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

inline double ratio(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

constexpr double Readable = 4.5;

// The background for a text of a fixed colour: the one offered when the text
// reads on it, else a light face that a dark text reads on (a light text
// gets a dark one).
inline QColor behind(const QColor& text, const QColor& offered)
{
    if (ratio(text, offered) >= Readable)
        return offered;
    return luminance(text) < 0.18 ? QColor(240, 240, 240) : QColor(53, 53, 53);
}

} // namespace Contrast
