#pragma once

#include <array>
#include <cstdint>

// The candidate's answer to one item of the current exam set.
struct AnswerEntry
{
    std::array<std::uint8_t, 6> Choice{}; // 1 when choice a..f is selected
    std::uint8_t Marked = 0;              // 1 when marked for review
    std::uint8_t Correct = 0;             // 1 when Choice equals the item's correct flags
    std::int32_t Section = 0;             // the item's Q_SECT
};
