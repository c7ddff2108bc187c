#pragma once

#include <QRectF>

class QPainter;

// Draws the check-box characters of the Wingdings symbol font as shapes, so
// that they print the same where the font is missing: 0xFE box with a check
// mark, 0xFD box with an X, 0xFC check mark, 0xFB X, 0xA8 empty box; 0x20
// (and anything else) draws nothing. The shapes scale with the character
// cell's height and sit on the baseline of a text of the same top.
namespace SymbolPainter {
void paint(QPainter& painter, const QRectF& cell, int symbol);
// The square a box glyph occupies in its cell.
QRectF boxRect(const QRectF& cell);
} // namespace SymbolPainter
