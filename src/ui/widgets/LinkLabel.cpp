#include "ui/widgets/LinkLabel.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace {
std::function<bool(const QUrl&)>& opener()
{
    static std::function<bool(const QUrl&)> f;
    return f;
}
} // namespace

LinkLabel::LinkLabel(const QString& text, const QUrl& url, QWidget* parent) : QLabel(text, parent), m_url(url)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    m_normal = palette();
}

bool LinkLabel::openUrl(const QUrl& url)
{
    if (opener())
        return opener()(url);
    return QDesktopServices::openUrl(url);
}

void LinkLabel::setOpener(std::function<bool(const QUrl&)> f)
{
    opener() = std::move(f);
}

void LinkLabel::setHovered(bool hovered)
{
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    QFont f = font();
    f.setUnderline(hovered);
    setFont(f);
    if (hovered) {
        m_normal = palette();
        QPalette p = m_normal;
        // Blue is read on white, whatever the window's colour.
        p.setColor(QPalette::WindowText, Qt::blue);
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
        setAutoFillBackground(true);
    } else {
        setAutoFillBackground(false);
        setPalette(m_normal);
    }
}

void LinkLabel::enterEvent(QEnterEvent* event)
{
    setHovered(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event)
{
    setHovered(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
        openUrl(m_url);
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
