#pragma once

#include "core/browser/BrowserItem.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <future>
#include <memory>
#include <vector>

// Which items the browser shows.
struct BrowserFilter
{
    enum Outcome : unsigned {
        NeverSeen = 1,
        LastWrong = 2, // the last answer was wrong or left unanswered
        EverWrong = 4,
        Due = 8,
        HasNote = 16,
    };
    static constexpr int AnyExam = -1;
    static constexpr int OwnItems = 0; // the candidate's own set

    int section = 0;       // 1 to 6; 0: any
    int exam = AnyExam;    // 1 to 6, OwnItems, or AnyExam
    unsigned outcomes = 0; // every outcome set must hold
    QString search;        // words that must all occur in the item's texts

    bool operator==(const BrowserFilter&) const = default;
    bool passes(const BrowserItem& item) const; // all but the search
};

// The items with their texts folded for searching: every word of a search
// is looked for in the question, the choices, the explanation and the note,
// regardless of case and accents. The folded texts are kept in one block of
// memory, so a word is found by one scan over all items; a search that only
// adds to the one before looks only among the items that one found. The
// folded texts are made on a thread of their own, begun by the constructor,
// so the list can be shown before they are done; the first search waits
// for them. Copies share the items and the folded texts.
class QuestionIndex
{
public:
    QuestionIndex();
    explicit QuestionIndex(std::vector<BrowserItem> items);

    const std::vector<BrowserItem>& items() const { return *m_items; }
    const BrowserItem& item(int i) const { return (*m_items)[std::size_t(i)]; }
    int size() const { return int(m_items->size()); }
    // Waits until the folded texts are made.
    void waitUntilSearchable() const;

    // The indexes of the items the filter shows, in the items' order.
    std::vector<int> find(const BrowserFilter& filter) const;
    // Sorts indexes by a column.
    void sort(std::vector<int>& rows, int column, bool descending) const;

private:
    std::vector<int> searched(const QStringList& words) const;

    struct Folded
    {
        QByteArray text;              // each item's folded texts as UTF-8, one after another
        std::vector<qsizetype> start; // where each item's text starts; one more at the end
    };
    static std::shared_ptr<const Folded> foldAll(const std::vector<BrowserItem>& items);

    std::shared_ptr<const std::vector<BrowserItem>> m_items;
    std::shared_future<std::shared_ptr<const Folded>> m_folded;

    // The last search and what it found, for the next keystroke.
    mutable QString m_lastFolded;
    mutable std::vector<int> m_lastFound;
    mutable bool m_hasLast = false;
};
