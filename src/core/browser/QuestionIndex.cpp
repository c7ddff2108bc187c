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

QuestionIndex::QuestionIndex() : QuestionIndex(std::vector<BrowserItem>()) {}

QuestionIndex::QuestionIndex(std::vector<BrowserItem> items)
    : m_items(std::make_shared<const std::vector<BrowserItem>>(std::move(items)))
{
    // The thread reads the items, which nobody changes, through its own share.
    m_folded = std::async(std::launch::async, [items = m_items] { return foldAll(*items); }).share();
}

std::shared_ptr<const QuestionIndex::Folded> QuestionIndex::foldAll(const std::vector<BrowserItem>& items)
{
    auto folded = std::make_shared<Folded>();
    folded->start.reserve(items.size() + 1);
    qsizetype bytes = 0;
    for (const BrowserItem& item : items) {
        bytes += item.question.size() + item.explanation.size() + item.note.size() + 8;
        for (const QString& choice : item.choices)
            bytes += choice.size();
    }
    folded->text.reserve(bytes + bytes / 8);
    for (const BrowserItem& item : items) {
        folded->start.push_back(folded->text.size());
        // A line break between fields, so no word is found across two of them.
        TextFold::appendFoldedUtf8(item.question, folded->text);
        for (const QString& choice : item.choices) {
            folded->text += '\n';
            TextFold::appendFoldedUtf8(choice, folded->text);
        }
        folded->text += '\n';
        TextFold::appendFoldedUtf8(item.explanation, folded->text);
        folded->text += '\n';
        TextFold::appendFoldedUtf8(item.note, folded->text);
        folded->text += '\n';
    }
    folded->start.push_back(folded->text.size());
    return folded;
}

void QuestionIndex::waitUntilSearchable() const
{
    m_folded.wait();
}

std::vector<int> QuestionIndex::searched(const QStringList& words) const
{
    std::vector<int> found;
    const Folded& folded = *m_folded.get();
    const std::vector<qsizetype>& start = folded.start;
    const char* const text = folded.text.constData();
    const auto itemAt = [&start](qsizetype at) {
        return int(std::upper_bound(start.begin(), start.end(), at) - start.begin()) - 1;
    };
    const auto contains = [&](int i, const QByteArray& word) {
        const qsizetype from = start[std::size_t(i)];
        const qsizetype length = start[std::size_t(i) + 1] - from;
        return memmem(text + from, std::size_t(length), word.constData(), std::size_t(word.size())) !=
               nullptr;
    };
    // The first word scans the whole block unless the last search narrows it.
    const QString typed = words.join(QLatin1Char(' '));
    // A filter changed under the same search: the same items match.
    if (m_hasLast && typed == m_lastFolded)
        return m_lastFound;
    const bool narrows = m_hasLast && typed.startsWith(m_lastFolded);
    QList<QByteArray> utf8;
    for (const QString& w : words)
        utf8 << w.toUtf8();
    if (narrows) {
        for (int i : m_lastFound)
            if (std::all_of(utf8.cbegin(), utf8.cend(), [&](const QByteArray& w) { return contains(i, w); }))
                found.push_back(i);
    } else {
        const QByteArray& first = utf8.front();
        const char* end = text + folded.text.size();
        for (const char* at = text; at < end;) {
            const void* hit = memmem(at, std::size_t(end - at), first.constData(), std::size_t(first.size()));
            if (!hit)
                break;
            const int i = itemAt(static_cast<const char*>(hit) - text);
            if (std::all_of(utf8.cbegin() + 1, utf8.cend(),
                            [&](const QByteArray& w) { return contains(i, w); }))
                found.push_back(i);
            at = text + start[std::size_t(i) + 1];
        }
    }
    m_lastFolded = typed;
    m_lastFound = found;
    m_hasLast = true;
    return found;
}

std::vector<int> QuestionIndex::find(const BrowserFilter& filter) const
{
    const QStringList words = TextFold::words(filter.search);
    std::vector<int> rows;
    if (words.isEmpty()) {
        rows.resize(m_items->size());
        std::iota(rows.begin(), rows.end(), 0);
    } else {
        rows = searched(words);
    }
    std::erase_if(rows, [&](int i) { return !filter.passes(item(i)); });
    return rows;
}

void QuestionIndex::sort(std::vector<int>& rows, int column, bool descending) const
{
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const BrowserItem& x = item(a);
        const BrowserItem& y = item(b);
        return descending ? BrowserColumn::less(y, x, column) : BrowserColumn::less(x, y, column);
    });
}
