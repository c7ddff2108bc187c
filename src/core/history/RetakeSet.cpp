#include "core/history/RetakeSet.h"

#include "core/tables/Table.h"

#include <algorithm>

RetakeSet::RetakeSet(const HistoryAttempt& attempt)
{
    for (const HistoryItem& r : attempt.results) {
        if (r.correct)
            continue;
        const Item item{r.source, r.number};
        if (std::find(m_incorrect.begin(), m_incorrect.end(), item) == m_incorrect.end())
            m_incorrect.push_back(item);
    }
}

bool RetakeSet::needsBank() const
{
    return std::any_of(m_incorrect.begin(), m_incorrect.end(),
                       [](const Item& i) { return i.source == ItemSource::Bank; });
}

bool RetakeSet::needsUserSet() const
{
    return std::any_of(m_incorrect.begin(), m_incorrect.end(),
                       [](const Item& i) { return i.source == ItemSource::UserSet; });
}

std::vector<RetakeSet::Item> RetakeSet::existing(Table* bank, Table* userSet) const
{
    std::vector<Item> found;
    for (const Item& i : m_incorrect) {
        Table* source = i.source == ItemSource::Bank ? bank : userSet;
        if (source && source->findKey(i.id))
            found.push_back(i);
    }
    return found;
}

bool RetakeSet::holds(const std::vector<Item>& items, ItemSource source)
{
    return std::any_of(items.begin(), items.end(), [source](const Item& i) { return i.source == source; });
}
