#include "core/exam/TimeText.h"

#include <QStringList>
#include <cmath>

namespace TimeText {

qint64 wholeSeconds(double days)
{
    const qint64 ms = qint64(std::llround(days * SecondsPerDay * 1000.0));
    return ms / 1000;
}

QString format(double days)
{
    qint64 s = wholeSeconds(days);
    if (s < 0)
        s = 0;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

double parse(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(':'));
    if (parts.size() != 3)
        return 0;
    bool okH = false, okM = false, okS = false;
    const qint64 h = parts[0].toLongLong(&okH);
    const qint64 m = parts[1].toLongLong(&okM);
    const qint64 s = parts[2].toLongLong(&okS);
    if (!okH || !okM || !okS)
        return 0;
    return double(h * 3600 + m * 60 + s) / SecondsPerDay;
}

} // namespace TimeText
