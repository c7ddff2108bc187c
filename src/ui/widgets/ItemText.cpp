#include "ui/widgets/ItemText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QHash>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QtMath>
#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {
// A long paragraph is laid out in windows of about this many characters: a
// window's lines are those of the whole paragraph except its last one, which
// may end where the window does; that line starts the next window.
constexpr int WindowChars = 2048;
// One step of the layout left for the event loop, in milliseconds.
constexpr int StepMs = 4;
constexpr qreal Everything = std::numeric_limits<qreal>::max();
} // namespace

// Some consecutive lines of one paragraph, laid out in their own QTextLayout.
struct ItemText::Piece
{
    int start = 0; // in the text
    int end = 0;
    qreal top = 0;
    qreal height = 0;
    int lines = 0; // the layout's first lines; one more, if there is, belongs to the next piece
    bool endsParagraph = false;
    std::unique_ptr<QTextLayout> layout;
};

// One text in one font: its pieces, top to bottom, laid out so far at one
// width, and the heights found at every width laid out whole so far.
struct ItemText::Layout
{
    QString text;
    QFont font;
    QTextOption option;
    std::vector<std::pair<int, int>> paragraphs; // [start, end) of each, its line break left out
    int width = -1;                              // the inner width the pieces are laid out at
    std::vector<Piece> pieces;
    size_t next = 0;  // the paragraph the next piece is in
    int position = 0; // where in the text the next piece starts
    qreal bottom = 0; // of the last piece
    QHash<int, int> heights;

    Layout(const QString& t, const QFont& f);
    bool complete() const { return next >= paragraphs.size(); }
    void restart(int w);
    void layOutPiece();
    void layOutTo(qreal y)
    {
        while (!complete() && bottom < y)
            layOutPiece();
    }
};

ItemText::Layout::Layout(const QString& t, const QFont& f) : text(t), font(f)
{
    // As a QTextDocument given the text as plain text, whose blocks a word-wrapping,
    // selectable QLabel lays out: no margins, words wrapped, aligned top left, a new
    // paragraph at every line feed, carriage return (with or without a line feed)
    // and paragraph separator.
    option = QTextOption(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    // Found a kind at a time: a search for one character is far quicker than a look at each.
    const QStringView all(text);
    const int n = int(all.size());
    constexpr char16_t Breaks[] = {u'\n', u'\r', QChar::ParagraphSeparator};
    std::array<qsizetype, 3> found{};
    for (size_t k = 0; k < found.size(); ++k)
        found[k] = all.indexOf(QChar(Breaks[k]));
    int start = 0;
    for (;;) {
        qsizetype at = n;
        for (qsizetype f : found)
            if (f >= 0)
                at = qMin(at, f);
        if (at == n)
            break;
        paragraphs.emplace_back(start, int(at));
        start = int(at) + 1;
        if (all[at] == u'\r' && start < n && all[start] == u'\n')
            ++start;
        for (size_t k = 0; k < found.size(); ++k)
            if (found[k] >= 0 && found[k] < start)
                found[k] = all.indexOf(QChar(Breaks[k]), start);
    }
    paragraphs.emplace_back(start, n);
}

void ItemText::Layout::restart(int w)
{
    width = w;
    pieces.clear();
    next = 0;
    position = 0;
    bottom = 0;
}

void ItemText::Layout::layOutPiece()
{
    const auto [first, last] = paragraphs[next];
    const int start = position;
    QTextOption shaped = option;
    Qt::LayoutDirection direction = option.textDirection();
    if (direction == Qt::LayoutDirectionAuto)
        direction =
            QStringView(text).mid(first, last - first).isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    shaped.setTextDirection(direction);
    shaped.setAlignment(QStyle::visualAlignment(direction, option.alignment()));
    for (int window = WindowChars;; window *= 2) {
        // A short rest of the paragraph goes into this piece rather than one of its own.
        const int end = last - start <= window + window / 2 ? last : start + window;
        auto layout = std::make_unique<QTextLayout>(text.mid(start, end - start), font);
        layout->setTextOption(shaped);
        layout->beginLayout();
        qreal y = 0;
        for (;;) {
            QTextLine line = layout->createLine();
            if (!line.isValid())
                break;
            line.setLeadingIncluded(true);
            line.setLineWidth(width);
            // As a text document does: a line that cannot fit is laid out again at its own width,
            // which takes the white space after it along.
            if (line.naturalTextWidth() > width)
                line.setLineWidth(line.naturalTextWidth());
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout->endLayout();
        const int count = layout->lineCount();
        Piece piece;
        piece.start = start;
        piece.top = bottom;
        if (end == last) {
            piece.end = last;
            piece.lines = count;
            piece.height = y;
            piece.endsParagraph = true;
            ++next;
            position = complete() ? int(text.size()) : paragraphs[next].first;
        } else if (count >= 2) {
            const QTextLine tail = layout->lineAt(count - 1);
            piece.end = start + tail.textStart();
            piece.lines = count - 1;
            piece.height = tail.y();
            position = piece.end;
        } else {
            continue; // one word fills the window: a wider one
        }
        piece.layout = std::move(layout);
        bottom += piece.height;
        pieces.push_back(std::move(piece));
        if (complete())
            heights.insert(width, qCeil(bottom));
        return;
    }
}

ItemText::ItemText(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::IBeamCursor);
    // QLabel's own text control stays off: it would lay the text out again.
    setTextInteractionFlags(Qt::NoTextInteraction);
    m_step.setSingleShot(true);
    m_step.setInterval(0);
    connect(&m_step, &QTimer::timeout, this, &ItemText::layOutStep);
}

ItemText::~ItemText() = default;

void ItemText::setText(const QString& text)
{
    // As with QLabel, a text equal to the one shown changes nothing, and a
    // label that never had a text has no height of its own.
    if (text == QLabel::text())
        return;
    m_hasText = true;
    QLabel::setText(text);
    m_anchor = m_position = 0;
    m_selecting = false;
    m_owed = false;
    m_step.stop();
    updateGeometry();
    update();
}

ItemText::Layout& ItemText::current() const
{
    const QString text = QLabel::text();
    const QFont shown = font();
    for (auto it = m_layouts.begin(); it != m_layouts.end(); ++it) {
        if ((*it)->font == shown && (*it)->text == text) {
            if (it != m_layouts.begin()) {
                auto found = std::move(*it);
                m_layouts.erase(it);
                m_layouts.push_front(std::move(found));
            }
            return *m_layouts.front();
        }
    }
    m_layouts.push_front(std::make_unique<Layout>(text, shown));
    if (int(m_layouts.size()) > KeptLayouts)
        m_layouts.pop_back();
    return *m_layouts.front();
}

ItemText::Layout& ItemText::layoutAt(int inner) const
{
    Layout& layout = current();
    if (layout.width != inner)
        layout.restart(inner);
    return layout;
}

int ItemText::innerWidth(int width) const
{
    const QMargins m = contentsMargins();
    return qMax(width - m.left() - m.right(), 0);
}

int ItemText::outerHeight(int inner) const
{
    const QMargins m = contentsMargins();
    return qMax(inner + m.top() + m.bottom(), minimumHeight());
}

int ItemText::heightForWidth(int width) const
{
    if (!m_hasText)
        return QWidget::heightForWidth(width);
    const int inner = innerWidth(width);
    Layout& layout = current();
    if (!layout.heights.contains(inner))
        layoutAt(inner).layOutTo(Everything);
    return outerHeight(layout.heights.value(inner));
}

int ItemText::heightUpTo(int width, int limit) const
{
    if (!m_hasText)
        return QWidget::heightForWidth(width);
    const int inner = innerWidth(width);
    Layout& layout = current();
    if (!layout.heights.contains(inner)) {
        const QMargins m = contentsMargins();
        layoutAt(inner);
        while (!layout.complete() && qCeil(layout.bottom) + m.top() + m.bottom() <= limit)
            layout.layOutPiece();
        if (!layout.complete())
            return qMax(outerHeight(qCeil(layout.bottom)), limit + 1);
    }
    return outerHeight(layout.heights.value(inner));
}

int ItemText::provisionalHeight(int width, int shown) const
{
    if (!m_hasText)
        return QWidget::heightForWidth(width);
    const int inner = innerWidth(width);
    Layout& layout = current();
    if (!layout.heights.contains(inner)) {
        layoutAt(inner);
        if (layout.pieces.empty())
            layout.layOutPiece(); // enough to estimate from
        layout.layOutTo(shown - contentsMargins().top());
        if (!layout.complete()) {
            m_owed = true;
            m_step.start();
            // The rest as tall, for its length, as the part laid out.
            const qreal estimate = layout.bottom * layout.text.size() / qMax(layout.position, 1);
            return outerHeight(qMax(qCeil(estimate), qCeil(layout.bottom) + 1));
        }
    }
    return outerHeight(layout.heights.value(inner));
}

bool ItemText::isSettled(int width) const
{
    return !m_hasText || current().heights.contains(innerWidth(width));
}

void ItemText::layOutStep()
{
    if (!m_hasText)
        return;
    Layout& layout = current();
    if (layout.width >= 0 && !layout.complete()) {
        QElapsedTimer clock;
        clock.start();
        while (!layout.complete() && clock.elapsed() < StepMs)
            layout.layOutPiece();
        if (!layout.complete()) {
            m_step.start();
            return;
        }
    }
    if (m_owed) {
        m_owed = false;
        emit settled();
    }
}

QSize ItemText::sizeHint() const
{
    return QSize(width(), heightForWidth(width()));
}

QSize ItemText::minimumSizeHint() const
{
    return QSize(0, fontMetrics().height());
}

void ItemText::paintEvent(QPaintEvent* event)
{
    if (!m_hasText)
        return;
    const QRect inner = contentsRect();
    Layout& layout = layoutAt(qMax(inner.width(), 0));
    const QRectF exposed = QRectF(event->rect().intersected(inner)).translated(-inner.topLeft());
    layout.layOutTo(exposed.bottom());
    if (!layout.complete())
        m_step.start();
    QPainter painter(this);
    painter.translate(inner.topLeft());
    painter.setPen(palette().color(foregroundRole()));
    const int from = qMin(m_anchor, m_position);
    const int to = qMax(m_anchor, m_position);
    auto it = std::partition_point(layout.pieces.begin(), layout.pieces.end(), [&](const Piece& piece) {
        return piece.top + piece.height <= exposed.top();
    });
    for (; it != layout.pieces.end() && it->top < exposed.bottom(); ++it) {
        QList<QTextLayout::FormatRange> selections;
        if (from < to && from <= it->end && to > it->start) {
            QTextLayout::FormatRange range;
            range.start = qMax(from, it->start) - it->start;
            // Into the line after the piece's own, if it has one, so that its last line is drawn
            // as one the selection goes on past; the line break if it ends the paragraph.
            const int laidOut = it->start + int(it->layout->text().size());
            range.length = qMin(to, laidOut) - it->start - range.start;
            if (it->endsParagraph && to > it->end)
                ++range.length;
            // Begun in an earlier piece: from before the first line, so that it is drawn as a
            // selection that goes on from the line before.
            if (from < it->start) {
                --range.start;
                ++range.length;
            }
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            selections.append(range);
        }
        // The piece's own lines only: a line after them is the next piece's.
        const QRectF band = exposed.intersected(QRectF(exposed.left(), it->top, exposed.width(), it->height));
        painter.setClipRect(band);
        it->layout->draw(&painter, QPointF(0, it->top), selections, band);
    }
}

void ItemText::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_anchor = m_position = 0; // the selection belonged to the old font's layout
        updateGeometry();
        update();
    }
}

int ItemText::positionAt(const QPointF& point) const
{
    const QRect inner = contentsRect();
    Layout& layout = layoutAt(qMax(inner.width(), 0));
    const QPointF at = point - inner.topLeft();
    if (layout.pieces.empty())
        layout.layOutPiece();
    layout.layOutTo(at.y() + 1);
    auto it = std::partition_point(layout.pieces.begin(), layout.pieces.end(),
                                   [&](const Piece& piece) { return piece.top + piece.height <= at.y(); });
    if (it == layout.pieces.end())
        --it; // below the text: its last line
    int line = 0;
    while (line + 1 < it->lines && it->top + it->layout->lineAt(line + 1).y() <= at.y())
        ++line;
    const int offset = it->layout->lineAt(line).xToCursor(at.x());
    return it->start + qBound(0, offset, it->end - it->start);
}

void ItemText::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_hasText) {
        QLabel::mousePressEvent(event);
        return;
    }
    m_position = positionAt(event->position());
    if (!(event->modifiers() & Qt::ShiftModifier))
        m_anchor = m_position;
    m_selecting = true;
    update();
}

void ItemText::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_selecting || !(event->buttons() & Qt::LeftButton)) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    const int position = positionAt(event->position());
    if (position != m_position) {
        m_position = position;
        update();
    }
}

void ItemText::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_selecting) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    m_selecting = false;
    if (hasSelection())
        copySelection(true);
}

void ItemText::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_hasText) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    mousePressEvent(event);
    m_selecting = false;
    // The word around the position, found in its neighbourhood: a word
    // longer than that is selected in part.
    const Layout& layout = current();
    const int position = m_position;
    const auto paragraph = std::partition_point(layout.paragraphs.begin(), layout.paragraphs.end(),
                                                [&](const auto& p) { return p.second < position; });
    if (paragraph == layout.paragraphs.end())
        return;
    const int from = qMax(paragraph->first, position - 256);
    const int to = qMin(paragraph->second, position + 256);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, layout.text.constData() + from, to - from);
    finder.setPosition(position - from);
    int start = position - from;
    if (!finder.isAtBoundary() || !(finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
        start = qMax(finder.toPreviousBoundary(), 0);
    finder.setPosition(start);
    const int end = finder.toNextBoundary();
    m_anchor = from + start;
    m_position = end < 0 ? to : from + end;
    copySelection(true);
    update();
}

void ItemText::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copying = menu.addAction(QStringLiteral("&Copy"), this, &ItemText::copy);
    copying->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("Select All"), this, &ItemText::selectAll);
    menu.exec(event->globalPos());
}

QString ItemText::selectedText() const
{
    if (!hasSelection())
        return QString();
    const int from = qMin(m_anchor, m_position);
    QString text = QLabel::text().mid(from, qMax(m_anchor, m_position) - from);
    // Copied as the label copied: every line break a line feed.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void ItemText::selectAll()
{
    m_anchor = 0;
    m_position = int(QLabel::text().size());
    copySelection(true);
    update();
}

void ItemText::copy() const
{
    copySelection(false);
}

void ItemText::copySelection(bool toSelectionClipboard) const
{
    QClipboard* clipboard = QApplication::clipboard();
    const QString text = selectedText();
    if (text.isEmpty())
        return;
    if (!toSelectionClipboard)
        clipboard->setText(text);
    else if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}
