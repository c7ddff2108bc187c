#include "ui/widgets/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace ScreenFit {

QSize within(QSize wanted, const QRect& area)
{
    if (!area.isValid())
        return wanted;
    return {std::min(wanted.width(), area.width() - FrameWidth),
            std::min(wanted.height(), area.height() - FrameHeight)};
}

QRect areaOf(const QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void resizeWithin(QWidget* window, QSize wanted)
{
    window->resize(within(wanted, areaOf(window)).expandedTo(window->minimumSize()));
}

void centre(QWidget* window)
{
    const QRect area = areaOf(window);
    if (!area.isValid())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    // A window larger than the area keeps its title bar on the screen.
    frame.moveLeft(std::max(frame.left(), area.left()));
    frame.moveTop(std::max(frame.top(), area.top()));
    window->move(frame.topLeft());
}

} // namespace ScreenFit
