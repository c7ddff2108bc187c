#include "ChartLabelWrap.h"

#include <QStringList>

namespace ChartLabelWrap {

namespace {
QString withoutTrailingBlanks(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}
} // namespace

QString wrap(const QString& text, int maxWidth, const std::function<int(const QString&)>& width)
{
    const QStringList words = text.split(QLatin1Char(' '));
    QStringList lines;
    QString line = words.first();
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString candidate = line + QLatin1Char(' ') + words.at(i);
        // A blank at the end of a line takes no room; an empty line is never started for it.
        const QString visible = withoutTrailingBlanks(candidate);
        if (visible.size() == withoutTrailingBlanks(line).size() || width(visible) <= maxWidth ||
            withoutTrailingBlanks(line).isEmpty()) {
            line = candidate;
        } else {
            lines << line;
            line = words.at(i);
        }
    }
    lines << line;
    for (QString& l : lines)
        l = l.toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

QString unwrap(const QString& wrapped)
{
    QString s = wrapped;
    s.replace(QStringLiteral("<br>"), QStringLiteral(" "));
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

} // namespace ChartLabelWrap
