#pragma once

#include <QLabel>
#include <QTimer>
#include <deque>
#include <memory>

// A plain text wrapped at word boundaries, selectable with the mouse and
// copyable, measured and drawn like a word-wrapping, mouse-selectable QLabel
// (the same heights for every width and font), but laid out once per text,
// width and font instead of on every measure and paint, and drawn only where
// it is exposed. The few texts shown last keep their layouts, so going back
// to a long item costs no new layout. It stays a QLabel for text() and for
// screen readers.
//
// A long text need not be laid out whole before it is shown:
// provisionalHeight() lays out what the first screen needs, estimates the
// rest and lays the rest out in short steps on the event loop, then emits
// settled(). A paint lays out whatever it exposes first.
class ItemText : public QLabel
{
    Q_OBJECT
public:
    explicit ItemText(QWidget* parent = nullptr);
    ~ItemText() override;

    void setText(const QString& text); // hides QLabel::setText: the layout must follow
    QString selectedText() const;
    void selectAll();
    void copy() const; // the selection to the clipboard

    bool hasHeightForWidth() const override { return true; }
    // Exact: lays the whole text out at `width` if it is not yet.
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // heightForWidth(width) if that is at most `limit`; otherwise some
    // height above `limit`, found by laying out only as far as it takes.
    int heightUpTo(int width, int limit) const;
    // heightForWidth(width) once the text is laid out whole at `width`;
    // before that, lays out at least the top `shown` pixels and estimates
    // the rest, and settled() follows when the rest is laid out.
    int provisionalHeight(int width, int shown) const;
    // Whether heights at `width` are exact without more layout.
    bool isSettled(int width) const;

signals:
    // The layout that provisionalHeight() left unfinished is finished.
    void settled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Piece;
    struct Layout;
    Layout& current() const;
    Layout& layoutAt(int inner) const; // current(), its pieces at that inner width
    int innerWidth(int width) const;
    int outerHeight(int inner) const;
    void layOutStep();
    int positionAt(const QPointF& point) const;
    bool hasSelection() const { return m_anchor != m_position; }
    void copySelection(bool toSelectionClipboard) const;

    static constexpr int KeptLayouts = 3;
    mutable std::deque<std::unique_ptr<Layout>> m_layouts; // the current text's first
    mutable QTimer m_step;                                 // lays the rest of a long text out
    mutable bool m_owed = false;                           // settled() is due when the layout is finished
    int m_anchor = 0;                                      // the selection, as positions in text()
    int m_position = 0;
    bool m_selecting = false;
    bool m_hasText = false;
};
