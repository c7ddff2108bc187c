#pragma once

#include <array>

// The top-to-bottom layout pass of one item in the item area, in pixels.
// W is the area's outer width, C its inner width (W less a shown vertical
// scroll bar). The caller measures the wrapped text heights at the widths
// this class gives.
struct ItemLayout
{
    static constexpr int Border = 8;       // question panel border
    static constexpr int ButtonGap = 2;    // question panel to buttons
    static constexpr int ChoiceGap = 15;   // button band to first choice, and between choices
    static constexpr int RightMargin = 30; // right of choice and explanation texts
    static constexpr int ExplanationGap = 40;
    static constexpr int ButtonHeight = 25; // ExhBtnA
    static constexpr int ChoiceLeft = 80;
    static constexpr int ControlLeft = 40;
    static constexpr int ExplanationLeft = 8;
    static constexpr int BottomSpace = 17; // Bevel2

    struct Input
    {
        int W = 0;
        int C = 0;
        int questionHeight = 0;             // QText wrapped at questionWidth(C)
        std::array<int, 6> choiceHeights{}; // ALabel1..6 wrapped at choiceWidth(W)
        std::array<bool, 6> choiceVisible{};
        int explanationHeight = 0; // ExpText wrapped at explanationWidth(W)
    };

    struct Result
    {
        int panelHeight = 0; // P; the blue line lies at P
        int buttonsTop = 0;  // ExhBtnA, ExhBtnB and the calculator button
        int calcLeft = 0;
        std::array<int, 6> choiceTops{};
        int explanationTop = 0;
        int choicesBottom = 0;     // bottom of the content without the explanation
        int explanationBottom = 0; // bottom of the content with it
    };

    static int questionWidth(int C) { return C - 2 * Border; }
    static int choiceWidth(int W) { return W - ChoiceLeft - RightMargin; }
    static int explanationWidth(int W) { return W - ExplanationLeft - RightMargin; }

    // Choice rows are stacked a to f. A hidden row takes no room, and the
    // explanation goes below the lowest shown choice, so an item whose filled
    // choices have a gap (say a, b and d) never overlaps. For items filled from
    // a without gaps this is the same as stacking every row and taking the
    // explanation's place from the last shown one.
    static Result compute(const Input& in);
};
