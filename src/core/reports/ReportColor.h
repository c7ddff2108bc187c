#pragma once

// A colour of a printed element, red, green and blue from 0 to 255. Kept
// apart from the painting library so that report layouts are plain data.
struct ReportColor
{
    int red = 0;
    int green = 0;
    int blue = 0;

    static constexpr ReportColor black() { return {0, 0, 0}; }
    static constexpr ReportColor white() { return {255, 255, 255}; }
    static constexpr ReportColor navy() { return {0, 0, 128}; }

    bool operator==(const ReportColor&) const = default;
};
