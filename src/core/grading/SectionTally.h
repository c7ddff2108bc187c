#pragma once

#include <QString>
#include <cstdint>

// The grade of one exam section: how many of the exam's items belong to it
// and how many of those were answered correctly.
struct SectionTally
{
    QString name;             // the section's name
    std::int32_t items = 0;   // entries of the answer sheet in this section
    std::int32_t correct = 0; // of those, the ones answered correctly
    std::int32_t percent = 0; // correct of items, 0 to 100, halves to the even neighbour
    QString label;            // "Planning (3/5) ": the bar's caption
};
