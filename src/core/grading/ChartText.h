#pragma once

#include <QString>
#include <functional>

// Texts for the charts. A chart draws its title and axis labels as rich text:
// runs of blanks collapse, a line breaks only at "<br>", and a label too wide
// or too tall for its place is cut with an ellipsis. So texts are escaped
// with their blanks kept, and long labels are wrapped here, at blanks, to a
// width measured in the axis font.
namespace ChartText {
// The text as rich text that reads exactly as typed.
QString rich(const QString& text);
// Greedy wrap at blanks so that each line (its trailing blanks not counted)
// is at most maxWidth wide; a word wider than that keeps a line of its own.
// Lines are joined by "<br>", which takes the place of the blank broken at.
QString wrap(const QString& text, int maxWidth, const std::function<int(const QString&)>& width);
// The plain text of what rich() or wrap() made.
QString plain(const QString& richText);
} // namespace ChartText
