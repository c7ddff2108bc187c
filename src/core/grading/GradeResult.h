#pragma once

#include "core/grading/SectionTally.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The grade of a finished exam: the total on the scale 0 to 1000 against the
// passing score, the texts the score window and its printout show, and the
// tallies of the six sections in section order 1 to 6, and of the items of
// no known section.
struct GradeResult
{
    static constexpr int PassingScore = 850;
    static constexpr int MaxScore = 1000;

    std::int32_t items = 0;               // n: entries of the answer sheet
    std::int32_t correct = 0;             // c: entries answered correctly
    double score = 0;                     // 1000 * c / n, unrounded (the length of the "Your score" bar)
    std::int32_t shownScore = 0;          // score rounded, an exact half to the even neighbour
    bool passed = false;                  // decided on the unrounded score: 1000 * c >= 850 * n
    QString gradeWord;                    // "Pass" or "Fail"
    QString ScoreTitle;                   // "<name>,  Velarix 2.0,  <exam title>"
    QString ResultLine;                   // "Passing Score: 850   Your Score: <shown>   Grade: <word>"
    std::array<SectionTally, 6> Sections; // sections 1 to 6
    SectionTally Other;                   // items whose section lies outside 1..6, named "Other"

    // The rows the score window and its printout show, section 1 first: the
    // six sections, and "Other" only when an item fell there. Their items
    // always add up to `items`.
    std::vector<SectionTally> shownSections() const
    {
        std::vector<SectionTally> rows(Sections.begin(), Sections.end());
        if (Other.items > 0)
            rows.push_back(Other);
        return rows;
    }
};
