#include "core/browser/QuestionIndex.h"

#include "core/browser/TextFold.h"

#include <algorithm>
#include <cstring>
#include <numeric>

bool BrowserFilter::passes(const BrowserItem& item) const
{
    if (section != 0 && item.section != section)
        return false;
    if (exam == OwnItems ? item.source != ItemSource::UserSet
                         : (exam != AnyExam && (item.source != ItemSource::Bank || item.exam != exam)))
        return false;
    if ((outcomes & NeverSeen) && item.seen > 0)
        return false;
    if ((outcomes & LastWrong) && item.lastResult != ItemResult::Wrong &&
        item.lastResult != ItemResult::Unanswered)
        return false;
    if ((outcomes & EverWrong) && item.wrong == 0)
        return false;
    if ((outcomes & Due) && !item.due)
        return false;
    if ((outcomes & HasNote) && item.note.trimmed().isEmpty())
        return false;
    return true;
}

QuestionIndex::QuestionIndex(std::vector<BrowserItem> items) : m_items(std::move(items))
{
    m_start.reserve(m_items.size() + 1);
    QString text;
    for (const BrowserItem& item : m_items) {
        m_start.push_back(m_text.size());
        // A line break between fields, so no word is found across two of them.
        text = item.question;
        for (const QString& choice : item.choices)
            text += QLatin1Char('\n') + choice;
        text += QLatin1Char('\n') + item.explanation + QLatin1Char('\n') + item.note + QLatin1Char('\n');
        m_text += TextFold::fold(text).toUtf8();
    }
    m_start.push_back(m_text.size());
}

std::vector<int> QuestionIndex::searched(const QStringList& words) const
{
    std::vector<int> found;
    const char* const text = m_text.constData();
    const auto itemAt = [this](qsizetype at) {
        return int(std::upper_bound(m_start.begin(), m_start.end(), at) - m_start.begin()) - 1;
    };
    const auto contains = [&](int i, const QByteArray& word) {
        const qsizetype from = m_start[std::size_t(i)];
        const qsizetype length = m_start[std::size_t(i) + 1] - from;
        return memmem(text + from, std::size_t(length), word.constData(), std::size_t(word.size())) !=
               nullptr;
    };
    // The first word scans the whole block unless the last search narrows it.
    const QString folded = words.join(QLatin1Char(' '));
    const bool narrows = m_hasLast && folded.startsWith(m_lastFolded);
    QList<QByteArray> utf8;
    for (const QString& w : words)
        utf8 << w.toUtf8();
    if (narrows) {
        for (int i : m_lastFound)
            if (std::all_of(utf8.cbegin(), utf8.cend(), [&](const QByteArray& w) { return contains(i, w); }))
                found.push_back(i);
    } else {
        const QByteArray& first = utf8.front();
        const char* end = text + m_text.size();
        for (const char* at = text; at < end;) {
            const void* hit = memmem(at, std::size_t(end - at), first.constData(), std::size_t(first.size()));
            if (!hit)
                break;
            const int i = itemAt(static_cast<const char*>(hit) - text);
            if (std::all_of(utf8.cbegin() + 1, utf8.cend(),
                            [&](const QByteArray& w) { return contains(i, w); }))
                found.push_back(i);
            at = text + m_start[std::size_t(i) + 1];
        }
    }
    m_lastFolded = folded;
    m_lastFound = found;
    m_hasLast = true;
    return found;
}

std::vector<int> QuestionIndex::find(const BrowserFilter& filter) const
{
    const QStringList words = TextFold::words(filter.search);
    std::vector<int> rows;
    if (words.isEmpty()) {
        rows.resize(m_items.size());
        std::iota(rows.begin(), rows.end(), 0);
    } else {
        rows = searched(words);
    }
    std::erase_if(rows, [&](int i) { return !filter.passes(m_items[std::size_t(i)]); });
    return rows;
}

void QuestionIndex::sort(std::vector<int>& rows, int column, bool descending) const
{
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const BrowserItem& x = m_items[std::size_t(a)];
        const BrowserItem& y = m_items[std::size_t(b)];
        return descending ? BrowserColumn::less(y, x, column) : BrowserColumn::less(x, y, column);
    });
}
