#pragma once

#include <QChar>
#include <QRegularExpression>
#include <QString>

// The texts the kill tests write, each long and made from its number, so that
// a stored text can be told whole (it is exactly the text of its number) or
// torn.
namespace KillSafetyText {

inline QString filler(int n, int length)
{
    return QString(length, QChar(u'a' + n % 26));
}

inline QString note(int n)
{
    return QStringLiteral("note %1 [%2] end").arg(n).arg(filler(n, 3000));
}

inline QString question(int n)
{
    return QStringLiteral("question %1 [%2] end").arg(n).arg(filler(n, 2000));
}

inline QString explanation(int n)
{
    return QStringLiteral("explanation %1 [%2] end").arg(n).arg(filler(n + 1, 1500));
}

inline QString choice(int n, int k)
{
    return QStringLiteral("choice %1 of item %2").arg(k).arg(n);
}

inline int correctChoice(int n)
{
    return 1 + n % 4;
}

inline int section(int n)
{
    return 1 + n % 6;
}

// The number a text of the given kind ("note", "question") was made for, or
// 0 when the text is not whole.
inline int numberOf(const QString& kind, const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\w+) (\\d+) \\["));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch() || m.captured(1) != kind)
        return 0;
    const int n = m.captured(2).toInt();
    if (kind == QLatin1String("note"))
        return text == note(n) ? n : 0;
    return text == question(n) ? n : 0;
}

} // namespace KillSafetyText
