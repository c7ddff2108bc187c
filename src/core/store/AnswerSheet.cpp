#include "core/store/AnswerSheet.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"

void AnswerSheet::InitAnswerSheet(Table& currentSet)
{
    // The current set is never filtered: record number r is the r-th value.
    Q_ASSERT_X(!currentSet.filtered(), "AnswerSheet::InitAnswerSheet", "the current set is filtered");
    const std::vector<QVariant> sections = currentSet.fieldInView(ItemRecord::Q_SECT);
    m_entries.assign(currentSet.recordCount(), AnswerEntry{});
    // The walk posted any pending record: one section per record.
    Q_ASSERT(sections.size() == m_entries.size());
    for (size_t i = 0; i < sections.size() && i < m_entries.size(); ++i)
        m_entries[i].Section = std::int32_t(Field::integerOf(sections[i]));
}

void AnswerSheet::UpdateVerdict(AnswerEntry& entry, const std::array<bool, 6>& correctFlags)
{
    entry.Correct = 1;
    for (int k = 0; k < 6; ++k) {
        if (entry.Choice[k] != (correctFlags[k] ? 1 : 0)) {
            entry.Correct = 0;
            return;
        }
    }
}

std::array<bool, 6> AnswerSheet::correctFlagsOf(Table& table)
{
    std::array<bool, 6> flags{};
    for (int k = 1; k <= 6; ++k)
        flags[k - 1] = table.fieldByName(ItemRecord::choiceFlag(k)).asBoolean();
    return flags;
}
