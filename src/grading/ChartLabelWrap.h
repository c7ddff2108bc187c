#pragma once

#include <QString>
#include <functional>

// The chart's category axis draws its labels as rich text: it breaks a line
// only at "<br>" and cuts a long label with an ellipsis. Labels are therefore
// wrapped here, at blanks, to a width measured in the axis font.
namespace ChartLabelWrap {
// Greedy wrap of text at blanks so that each line (its trailing blanks not
// counted) is at most maxWidth wide; a single word wider than that keeps a
// line of its own. Each line is escaped for rich text; lines are joined by
// "<br>", which replaces the blank the line was broken at.
QString wrap(const QString& text, int maxWidth, const std::function<int(const QString&)>& width);
// The label as it was before wrapping.
QString unwrap(const QString& wrapped);
} // namespace ChartLabelWrap
