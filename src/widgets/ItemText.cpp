#include "ItemText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHash>
#include <QMenu>
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>
#include <QtMath>

// One text in one font, its document laid out at the width it was last
// measured or drawn at, and the heights found at every width asked so far.
struct ItemText::Layout
{
    QString text;
    QFont font;
    QTextDocument document;
    int width = -2; // the width the document is laid out at
    QHash<int, int> heights;
};

namespace {
// A QLabel that wraps words and lets the mouse select lays its text out in a
// document like this one: no margins, words wrapped, aligned top left.
void prepare(QTextDocument& document, const QString& text, const QFont& font)
{
    document.setUndoRedoEnabled(false);
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    document.setDefaultTextOption(option);
    document.setPlainText(text);
    QTextFrameFormat frame = document.rootFrame()->frameFormat();
    frame.setMargin(0);
    document.rootFrame()->setFrameFormat(frame);
}
} // namespace

ItemText::ItemText(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::IBeamCursor);
    // QLabel's own text control stays off: it would lay the text out again.
    setTextInteractionFlags(Qt::NoTextInteraction);
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
    m_cursor = QTextCursor();
    m_selecting = false;
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
    auto made = std::make_unique<Layout>();
    made->text = text;
    made->font = shown;
    prepare(made->document, text, shown);
    m_layouts.push_front(std::move(made));
    if (int(m_layouts.size()) > KeptLayouts)
        m_layouts.pop_back();
    return *m_layouts.front();
}

QTextDocument* ItemText::documentAt(int width) const
{
    Layout& layout = current();
    width = qMax(width, 0);
    if (layout.width != width) {
        layout.document.setTextWidth(width);
        layout.width = width;
    }
    return &layout.document;
}

int ItemText::heightForWidth(int width) const
{
    if (!m_hasText)
        return QWidget::heightForWidth(width);
    const QMargins m = contentsMargins();
    const int inner = qMax(width - m.left() - m.right(), 0);
    Layout& layout = current();
    auto it = layout.heights.constFind(inner);
    if (it == layout.heights.constEnd())
        it = layout.heights.insert(inner, qCeil(documentAt(inner)->size().height()));
    return qMax(it.value() + m.top() + m.bottom(), minimumHeight());
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
    QTextDocument* document = documentAt(inner.width());
    QPainter painter(this);
    painter.translate(inner.topLeft());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(event->rect().translated(-inner.topLeft()));
    context.palette = palette();
    context.palette.setColor(QPalette::Text, palette().color(foregroundRole()));
    if (!m_cursor.isNull() && m_cursor.hasSelection() && m_cursor.document() == document) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = m_cursor;
        selection.format.setBackground(palette().brush(QPalette::Highlight));
        selection.format.setForeground(palette().brush(QPalette::HighlightedText));
        context.selections.append(selection);
    }
    painter.setClipRect(context.clip);
    document->documentLayout()->draw(&painter, context);
}

void ItemText::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_cursor = QTextCursor(); // the selection belonged to the old font's layout
        updateGeometry();
        update();
    }
}

int ItemText::positionAt(const QPointF& point) const
{
    QTextDocument* document = documentAt(contentsRect().width());
    return document->documentLayout()->hitTest(point - contentsRect().topLeft(), Qt::FuzzyHit);
}

void ItemText::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    const int position = positionAt(event->position());
    QTextDocument* document = documentAt(contentsRect().width());
    if (m_cursor.isNull() || m_cursor.document() != document)
        m_cursor = QTextCursor(document);
    if (position >= 0) {
        const auto mode =
            event->modifiers() & Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
        m_cursor.setPosition(position, mode);
    }
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
    if (position >= 0 && position != m_cursor.position()) {
        m_cursor.setPosition(position, QTextCursor::KeepAnchor);
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
    if (m_cursor.hasSelection())
        copySelection(true);
}

void ItemText::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    mousePressEvent(event);
    m_cursor.select(QTextCursor::WordUnderCursor);
    m_selecting = false;
    copySelection(true);
    update();
}

void ItemText::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("&Copy"), this, [this] { copySelection(false); });
    copy->setEnabled(!selectedText().isEmpty());
    menu.addAction(QStringLiteral("Select All"), this, &ItemText::selectAll);
    menu.exec(event->globalPos());
}

QString ItemText::selectedText() const
{
    if (m_cursor.isNull() || !m_cursor.hasSelection())
        return QString();
    // The document turns line breaks into paragraph separators.
    QString text = m_cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void ItemText::selectAll()
{
    m_cursor = QTextCursor(documentAt(contentsRect().width()));
    m_cursor.select(QTextCursor::Document);
    copySelection(true);
    update();
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
