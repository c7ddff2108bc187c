#include "core/browser/TextFold.h"

#include <QHash>
#include <algorithm>

namespace TextFold {

namespace {
bool isMark(QChar c)
{
    const QChar::Category k = c.category();
    return k == QChar::Mark_NonSpacing || k == QChar::Mark_SpacingCombining || k == QChar::Mark_Enclosing;
}

// The folded form of a character outside ASCII (or of a surrogate pair):
// decomposed, marks dropped, case folded.
QString foldedOf(QStringView c)
{
    QString out;
    for (QChar d : c.toString().normalized(QString::NormalizationForm_KD))
        if (!isMark(d))
            out += d;
    return out.toCaseFolded();
}

// foldedOf, remembered per thread for the characters of one plane.
const QString& cachedFoldedOf(QChar c)
{
    thread_local QHash<char16_t, QString> cache;
    auto it = cache.constFind(c.unicode());
    if (it == cache.constEnd())
        it = cache.insert(c.unicode(), foldedOf(QStringView(&c, 1)));
    return *it;
}

// Appends the folded form of text[i] (a surrogate pair counts as one
// character) and returns the index after it.
qsizetype foldOne(QStringView text, qsizetype i, QString& out)
{
    const QChar c = text[i];
    if (c.unicode() < 0x80) {
        out += (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
        return i + 1;
    }
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        out += foldedOf(text.mid(i, 2));
        return i + 2;
    }
    out += cachedFoldedOf(c);
    return i + 1;
}
} // namespace

QString fold(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();)
        i = foldOne(text, i, out);
    return out;
}

void appendFoldedUtf8(QStringView text, QByteArray& out)
{
    const qsizetype n = text.size();
    const char16_t* data = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i];
        if (c < 0x80) {
            out += char(c >= u'A' && c <= u'Z' ? c + 32 : c);
            continue;
        }
        QString folded;
        i = foldOne(text, i, folded) - 1;
        out += folded.toUtf8();
    }
}

QStringList words(const QString& search)
{
    return fold(search).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

std::vector<std::pair<int, int>> matches(const QString& text, const QStringList& foldedWords)
{
    // The folded text with, for each of its characters, the original one it came from.
    QString folded;
    std::vector<int> origin;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype before = folded.size();
        const qsizetype next = foldOne(text, i, folded);
        origin.insert(origin.end(), std::size_t(folded.size() - before), int(i));
        i = next;
    }
    const QString& caseFolded = folded;
    std::vector<std::pair<int, int>> ranges;
    for (const QString& word : foldedWords) {
        if (word.isEmpty())
            continue;
        for (qsizetype at = caseFolded.indexOf(word); at >= 0; at = caseFolded.indexOf(word, at + 1)) {
            const qsizetype last = at + word.size() - 1;
            int end = int(text.size());
            if (std::size_t(last + 1) < origin.size())
                end = origin[std::size_t(last + 1)];
            ranges.emplace_back(origin[std::size_t(at)], std::max(end, origin[std::size_t(at)] + 1));
        }
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& r : ranges) {
        if (!merged.empty() && r.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    return merged;
}

} // namespace TextFold
