#include "core/grading/ChartText.h"

#include <QStringList>

namespace ChartText {

namespace {
QString withoutTrailingBlanks(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}
} // namespace

QString rich(const QString& text)
{
    QString s = text.toHtmlEscaped();
    // Every blank after a blank becomes a no-break space, so none collapses.
    s.replace(QStringLiteral("  "), QStringLiteral(" &nbsp;"));
    s.replace(QStringLiteral("&nbsp; "), QStringLiteral("&nbsp;&nbsp;"));
    if (s.startsWith(QLatin1Char(' ')))
        s.replace(0, 1, QStringLiteral("&nbsp;"));
    return s;
}

QString wrap(const QString& text, int maxWidth, const std::function<int(const QString&)>& width)
{
    const QStringList words = text.split(QLatin1Char(' '));
    QStringList lines;
    QString line = words.first();
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString candidate = line + QLatin1Char(' ') + words.at(i);
        const QString visible = withoutTrailingBlanks(candidate);
        const QString lineVisible = withoutTrailingBlanks(line);
        // A blank at the end of a line takes no room and never starts a line.
        if (visible.size() == lineVisible.size() || lineVisible.isEmpty() || width(visible) <= maxWidth) {
            line = candidate;
        } else {
            lines << line;
            line = words.at(i);
        }
    }
    lines << line;
    for (QString& l : lines)
        l = rich(l);
    return lines.join(QStringLiteral("<br>"));
}

QString plain(const QString& richText)
{
    QString s = richText;
    s.replace(QStringLiteral("<br>"), QStringLiteral(" "));
    s.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

} // namespace ChartText
