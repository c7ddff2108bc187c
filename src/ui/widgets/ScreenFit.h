#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Windows on small screens: a window's size kept inside the screen's free
// area (what the panels leave), with room for the window manager's frame.
namespace ScreenFit {

// The room a window's frame takes: borders and a title bar.
constexpr int FrameWidth = 16;
constexpr int FrameHeight = 48;

// The wanted size, cut down to what fits the area.
QSize within(QSize wanted, const QRect& area);
// The area a window has on its screen (the primary one before it is shown).
QRect areaOf(const QWidget* window);
// Sizes the window to the wanted size, or less where the screen is smaller.
void resizeWithin(QWidget* window, QSize wanted);
// Moves the window to the middle of its screen's area, entirely inside it.
void centre(QWidget* window);

} // namespace ScreenFit
