#include "ExhibitRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace ExhibitRenderer {

QImage render(const QString& source, QString* error)
{
    QStringList lines = source.split(QLatin1Char('\n'));
    QString title;
    bool console = false;
    while (!lines.isEmpty() && lines.first().startsWith(QLatin1Char('@'))) {
        const QString directive = lines.takeFirst().trimmed();
        if (directive.startsWith(QLatin1String("@title ")))
            title = directive.mid(7).trimmed();
        else if (directive == QLatin1String("@style console"))
            console = true;
        else if (directive == QLatin1String("@style paper"))
            console = false;
        else {
            *error = QStringLiteral("unknown directive \"%1\"").arg(directive);
            return {};
        }
    }
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty()) {
        *error = QStringLiteral("no text to draw");
        return {};
    }
    int columns = 0;
    for (QString& line : lines) {
        line.replace(QLatin1Char('\t'), QStringLiteral("        "));
        line.remove(QLatin1Char('\r'));
        columns = qMax(columns, int(line.size()));
    }
    if (columns > 100 || lines.size() > 45) {
        *error = QStringLiteral("%1 columns and %2 lines; an exhibit has at most 100 and 45")
                     .arg(columns)
                     .arg(lines.size());
        return {};
    }

    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(13);
    mono.setStyleHint(QFont::Monospace);
    mono.setHintingPreference(QFont::PreferFullHinting);
    QFont titleFont(QStringLiteral("DejaVu Sans"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    const QFontMetrics fm(mono);
    const int margin = 12;
    const int titleHeight = title.isEmpty() ? 0 : 26;
    const int width = qMax(320, margin * 2 + columns * fm.horizontalAdvance(QLatin1Char('M')));
    const int height = titleHeight + margin * 2 + int(lines.size()) * fm.lineSpacing();

    const QColor background = console ? QColor(24, 26, 33) : QColor(Qt::white);
    const QColor foreground = console ? QColor(215, 220, 210) : QColor(20, 20, 20);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    if (!title.isEmpty()) {
        p.fillRect(0, 0, width, titleHeight, console ? QColor(60, 66, 82) : QColor(225, 230, 240));
        p.setPen(console ? QColor(240, 240, 240) : QColor(20, 30, 60));
        p.setFont(titleFont);
        p.drawText(QRect(margin, 0, width - 2 * margin, titleHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   title);
        p.setPen(console ? QColor(90, 96, 112) : QColor(170, 180, 200));
        p.drawLine(0, titleHeight - 1, width, titleHeight - 1);
    }
    p.setFont(mono);
    p.setPen(foreground);
    int y = titleHeight + margin + fm.ascent();
    for (const QString& line : std::as_const(lines)) {
        p.drawText(margin, y, line);
        y += fm.lineSpacing();
    }
    if (!console) {
        p.setPen(QColor(150, 150, 150));
        p.drawRect(0, 0, width - 1, height - 1);
    }
    p.end();
    // Few colours: an indexed picture keeps the bitmap small.
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

} // namespace ExhibitRenderer
