#include "AnswerSheet.h"

#include "store/ItemRecord.h"
#include "tables/Table.h"

void AnswerSheet::InitAnswerSheet(Table& currentSet)
{
    currentSet.first();
    m_entries.assign(currentSet.recordCount(), AnswerEntry{});
    while (!currentSet.eof()) {
        const int r = currentSet.recNo();
        if (r >= 1 && r <= int(m_entries.size()))
            m_entries[r - 1].Section = std::int32_t(currentSet.fieldByName(ItemRecord::Q_SECT).asInteger());
        currentSet.next();
    }
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
