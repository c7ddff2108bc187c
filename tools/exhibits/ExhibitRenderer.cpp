#include "ExhibitRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace ExhibitRenderer {

namespace {
constexpr int Margin = 12;
constexpr int MinWidth = 320;
constexpr int MaxColumns = 100;
constexpr int MaxLines = 45;
constexpr int OneLineTitleHeight = 26;

struct Layout
{
    bool console = false;
    QStringList titleLines;
    QStringList lines;
    QFont mono;
    QFont titleFont;
    int width = 0;
    int height = 0;
    int titleHeight = 0;
    QStringList clipped;
};

// Greedy wrap at blanks; a word wider than the room stays whole on its own
// line (and is then reported as clipped).
QStringList wrapped(const QString& text, const QFontMetrics& fm, int room)
{
    QStringList out;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate) > room) {
            out << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        out << line;
    return out;
}

bool lay(const QString& source, Layout* l, QString* error)
{
    QStringList lines = source.split(QLatin1Char('\n'));
    QString title;
    while (!lines.isEmpty() && lines.first().startsWith(QLatin1Char('@'))) {
        const QString directive = lines.takeFirst().trimmed();
        if (directive.startsWith(QLatin1String("@title ")))
            title = directive.mid(7).trimmed();
        else if (directive == QLatin1String("@style console"))
            l->console = true;
        else if (directive == QLatin1String("@style paper"))
            l->console = false;
        else {
            *error = QStringLiteral("unknown directive \"%1\"").arg(directive);
            return false;
        }
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty()) {
        *error = QStringLiteral("no text to draw");
        return false;
    }
    int columns = 0;
    for (QString& line : lines) {
        line.replace(QLatin1Char('\t'), QStringLiteral("        "));
        line.remove(QLatin1Char('\r'));
        columns = qMax(columns, int(line.size()));
    }
    if (columns > MaxColumns || lines.size() > MaxLines) {
        *error = QStringLiteral("%1 columns and %2 lines; an exhibit has at most %3 and %4")
                     .arg(columns)
                     .arg(lines.size())
                     .arg(MaxColumns)
                     .arg(MaxLines);
        return false;
    }
    l->lines = lines;

    l->mono = QFont(QStringLiteral("DejaVu Sans Mono"));
    l->mono.setPixelSize(13);
    l->mono.setStyleHint(QFont::Monospace);
    l->mono.setHintingPreference(QFont::PreferFullHinting);
    l->titleFont = QFont(QStringLiteral("DejaVu Sans"));
    l->titleFont.setPixelSize(13);
    l->titleFont.setBold(true);
    const QFontMetrics fm(l->mono);
    const QFontMetrics tm(l->titleFont);

    const int cell = fm.horizontalAdvance(QLatin1Char('M'));
    const int maxWidth = Margin * 2 + MaxColumns * cell;
    int textWidth = columns * cell;
    for (const QString& line : std::as_const(l->lines))
        textWidth = qMax(textWidth, fm.horizontalAdvance(line));
    const int titleWidth = title.isEmpty() ? 0 : tm.horizontalAdvance(title);
    l->width = std::min(maxWidth, std::max({MinWidth, Margin * 2 + textWidth, Margin * 2 + titleWidth}));
    const int room = l->width - 2 * Margin;

    if (!title.isEmpty())
        l->titleLines = titleWidth <= room ? QStringList{title} : wrapped(title, tm, room);
    const int titleLineCount = int(l->titleLines.size());
    l->titleHeight = titleLineCount == 0   ? 0
                     : titleLineCount == 1 ? OneLineTitleHeight
                                           : OneLineTitleHeight + (titleLineCount - 1) * tm.lineSpacing();
    l->height = l->titleHeight + Margin * 2 + int(l->lines.size()) * fm.lineSpacing();

    for (const QString& t : std::as_const(l->titleLines)) {
        if (tm.horizontalAdvance(t) > room)
            l->clipped << QStringLiteral("title \"%1\"").arg(t);
    }
    for (int i = 0; i < l->lines.size(); ++i) {
        if (fm.horizontalAdvance(l->lines.at(i)) > room)
            l->clipped << QStringLiteral("line %1 \"%2\"").arg(i + 1).arg(l->lines.at(i));
    }
    return true;
}
} // namespace

QImage render(const QString& source, QString* error)
{
    Layout l;
    if (!lay(source, &l, error))
        return {};
    const QFontMetrics fm(l.mono);
    const QColor background = l.console ? QColor(24, 26, 33) : QColor(Qt::white);
    const QColor foreground = l.console ? QColor(215, 220, 210) : QColor(20, 20, 20);
    QImage image(l.width, l.height, QImage::Format_RGB32);
    image.fill(background);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    if (!l.titleLines.isEmpty()) {
        p.fillRect(0, 0, l.width, l.titleHeight, l.console ? QColor(60, 66, 82) : QColor(225, 230, 240));
        p.setPen(l.console ? QColor(240, 240, 240) : QColor(20, 30, 60));
        p.setFont(l.titleFont);
        p.drawText(QRect(Margin, 0, l.width - 2 * Margin, l.titleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   l.titleLines.join(QLatin1Char('\n')));
        p.setPen(l.console ? QColor(90, 96, 112) : QColor(170, 180, 200));
        p.drawLine(0, l.titleHeight - 1, l.width, l.titleHeight - 1);
    }
    p.setFont(l.mono);
    p.setPen(foreground);
    int y = l.titleHeight + Margin + fm.ascent();
    for (const QString& line : std::as_const(l.lines)) {
        p.drawText(Margin, y, line);
        y += fm.lineSpacing();
    }
    if (!l.console) {
        p.setPen(QColor(150, 150, 150));
        p.drawRect(0, 0, l.width - 1, l.height - 1);
    }
    p.end();
    // Few colours: an indexed picture keeps the bitmap small.
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

QStringList clippedTexts(const QString& source, QString* error)
{
    Layout l;
    if (!lay(source, &l, error))
        return {};
    return l.clipped;
}

} // namespace ExhibitRenderer
