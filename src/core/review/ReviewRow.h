#pragma once

#include <QString>

struct AnswerEntry;

// One row of the items review: its text and its icon in either view.
namespace ReviewRow {
// Icon numbers of the review's image list.
enum Icon { Incomplete = 0, Complete = 1, Marked = 2, Incorrect = 3 };
// Which rows the list shows: unanswered ones while the exam is taken,
// incorrect ones once the answers are shown, marked ones in both.
enum class Filter { All, Unanswered, Incorrect, Marked };

// "<index + 1>  <letters of the chosen answers, A to F in order>", e.g. "3  AC";
// an unanswered item reads "7  ".
QString text(int index, const AnswerEntry& entry);
// While the exam is taken: marked wins, then answered, then incomplete.
Icon examIcon(const AnswerEntry& entry);
// Once the answers are shown: correct or incorrect; marks are not shown.
Icon resultsIcon(const AnswerEntry& entry);
bool passes(Filter filter, const AnswerEntry& entry);
} // namespace ReviewRow
