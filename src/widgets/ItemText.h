#pragma once

#include <QLabel>
#include <QTextCursor>
#include <deque>
#include <memory>

class QTextDocument;

// A plain text wrapped at word boundaries, selectable with the mouse and
// copyable, measured and drawn like a word-wrapping, mouse-selectable QLabel
// (the same heights for every width and font), but laid out once per text,
// width and font instead of on every measure and paint, and drawn only where
// it is exposed. The few texts shown last keep their layouts, so going back
// to a long item costs no new layout. It stays a QLabel for text() and for
// screen readers.
class ItemText : public QLabel
{
    Q_OBJECT
public:
    explicit ItemText(QWidget* parent = nullptr);
    ~ItemText() override;

    void setText(const QString& text); // hides QLabel::setText: the layout must follow
    QString selectedText() const;
    void selectAll();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Layout;
    Layout& current() const;
    QTextDocument* documentAt(int width) const;
    int positionAt(const QPointF& point) const;
    void copySelection(bool toSelectionClipboard) const;

    static constexpr int KeptLayouts = 3;
    mutable std::deque<std::unique_ptr<Layout>> m_layouts; // the current text's first
    QTextCursor m_cursor;                                  // the selection, in the current document
    bool m_selecting = false;
    bool m_hasText = false;
};
