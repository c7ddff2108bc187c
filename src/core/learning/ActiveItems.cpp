#include "core/learning/ActiveItems.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Field.h"
#include "core/tables/Table.h"

#include <algorithm>
#include <cmath>
#include <numeric>

double ActiveItem::guessChance() const
{
    const int n = std::clamp(choices, 1, 6);
    return multiple ? 1.0 / double((1 << n) - 1) : 1.0 / n;
}

namespace ActiveItems {

std::vector<ActiveItem> read(Table& bank)
{
    using namespace ItemRecord;
    QStringList names{Q_ID, Q_EXAM_N, Q_SECT, Q_TYPE};
    for (int k = 1; k <= ChoiceCount; ++k)
        names << choiceText(k);
    std::vector<std::vector<QVariant>> fields = bank.fieldsInView(names);
    const std::vector<QVariant>& ids = fields[0];
    const std::vector<QVariant>& exams = fields[1];
    const std::vector<QVariant>& sections = fields[2];
    const std::vector<QVariant>& types = fields[3];
    std::array<std::vector<QVariant>, ChoiceCount> texts;
    for (int k = 1; k <= ChoiceCount; ++k)
        texts[k - 1] = std::move(fields[std::size_t(3 + k)]);
    std::vector<ActiveItem> items;
    items.reserve(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const qint64 section = Field::integerOf(sections[i]);
        if (Field::integerOf(exams[i]) == 0 || section < 1 || section > 6)
            continue;
        ActiveItem item;
        item.id = std::int32_t(Field::integerOf(ids[i]));
        item.section = int(section);
        item.multiple = Field::booleanOf(types[i]);
        item.choices = 0;
        for (const std::vector<QVariant>& text : texts)
            item.choices += !text[i].toString().isEmpty();
        item.choices = std::max(item.choices, 2);
        items.push_back(item);
    }
    return items;
}

std::array<int, 6> sectionMix(const std::vector<ActiveItem>& items, int count)
{
    std::array<int, 6> inSection{};
    for (const ActiveItem& item : items)
        if (item.section >= 1 && item.section <= 6)
            ++inSection[item.section - 1];
    const int total = std::accumulate(inSection.begin(), inSection.end(), 0);
    std::array<int, 6> mix{};
    if (total == 0 || count <= 0)
        return mix;
    count = std::min(count, total);
    // The whole parts first; the remainders compared exactly, as fractions
    // over the same total.
    std::array<std::int64_t, 6> remainder{};
    int given = 0;
    for (int s = 0; s < 6; ++s) {
        const std::int64_t share = std::int64_t(inSection[s]) * count;
        mix[s] = int(share / total);
        remainder[s] = share % total;
        given += mix[s];
    }
    std::array<int, 6> order{0, 1, 2, 3, 4, 5};
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return remainder[a] > remainder[b]; });
    for (int i = 0; given < count; i = (i + 1) % 6) {
        if (mix[order[i]] < inSection[order[i]]) {
            ++mix[order[i]];
            ++given;
        }
    }
    return mix;
}

} // namespace ActiveItems
