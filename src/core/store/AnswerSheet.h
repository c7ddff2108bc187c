#pragma once

#include "core/store/AnswerEntry.h"

#include <QtGlobal>
#include <array>
#include <utility>
#include <vector>

class Table;

// The in-memory answers of the current exam: one entry per record of the
// current exam set, the entry of record number r at index r - 1. Never saved.
class AnswerSheet
{
public:
    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    AnswerEntry& entry(int recNo)
    {
        Q_ASSERT_X(recNo >= 1 && recNo <= size(), "AnswerSheet::entry", "record number outside the exam");
        return m_entries.at(recNo - 1);
    }
    const AnswerEntry& entry(int recNo) const
    {
        Q_ASSERT_X(recNo >= 1 && recNo <= size(), "AnswerSheet::entry", "record number outside the exam");
        return m_entries.at(recNo - 1);
    }
    AnswerEntry& operator[](int index)
    {
        Q_ASSERT_X(index >= 0 && index < size(), "AnswerSheet", "index outside the exam");
        return m_entries.at(index);
    }
    const AnswerEntry& operator[](int index) const
    {
        Q_ASSERT_X(index >= 0 && index < size(), "AnswerSheet", "index outside the exam");
        return m_entries.at(index);
    }
    const std::vector<AnswerEntry>& entries() const { return m_entries; }

    // Sizes the sheet to the set's record count and clears every entry,
    // taking each record's section. The set's cursor stays where it is.
    void InitAnswerSheet(Table& currentSet);
    void resize(int count)
    {
        Q_ASSERT(count >= 0);
        m_entries.assign(count, AnswerEntry{});
    }
    // The answers of an exam given back from its record.
    void assign(std::vector<AnswerEntry> entries) { m_entries = std::move(entries); }

    // Correct := 1 exactly when the six choice flags equal the item's six
    // correct flags.
    static void UpdateVerdict(AnswerEntry& entry, const std::array<bool, 6>& correctFlags);
    // The correct flags A1..A6 of the current record of a table.
    static std::array<bool, 6> correctFlagsOf(Table& table);

private:
    std::vector<AnswerEntry> m_entries;
};
