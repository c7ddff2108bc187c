#pragma once

#include <QLabel>
#include <QUrl>
#include <functional>

// A label that opens a web address in the system's web browser when clicked.
// Hand pointer; its text turns blue and underlined while the pointer is over
// it. A test replaces the browser with setOpener().
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString& text, const QUrl& url, QWidget* parent = nullptr);

    QUrl url() const { return m_url; }
    void setUrl(const QUrl& url) { m_url = url; }
    bool hovered() const { return m_hovered; }

    // Opens a web address: the system's browser, or the test's opener.
    static bool openUrl(const QUrl& url);
    // Replaces the browser (an empty function brings it back).
    static void setOpener(std::function<bool(const QUrl&)> opener);

signals:
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setHovered(bool hovered);

    QUrl m_url;
    QPalette m_normal;
    bool m_hovered = false;
};
