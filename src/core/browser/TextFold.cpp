#include "core/browser/TextFold.h"

#include <algorithm>

namespace TextFold {

namespace {
bool isMark(QChar c)
{
    const QChar::Category k = c.category();
    return k == QChar::Mark_NonSpacing || k == QChar::Mark_SpacingCombining || k == QChar::Mark_Enclosing;
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
    const qsizetype n = (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    const QString decomposed = text.mid(i, n).toString().normalized(QString::NormalizationForm_KD);
    for (QChar d : decomposed)
        if (!isMark(d))
            out += d;
    return i + n;
}
} // namespace

QString fold(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();)
        i = foldOne(text, i, out);
    return out.toCaseFolded();
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
    // Case folding keeps the length of nearly every character; where it does
    // not, the whole text is compared folded per character instead.
    QString caseFolded = folded.toCaseFolded();
    if (caseFolded.size() != folded.size()) {
        caseFolded.clear();
        for (QChar c : folded)
            caseFolded += QString(c).toCaseFolded().left(1);
    }
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
