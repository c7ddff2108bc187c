#include "ExamAssembly.h"

#include "store/ItemRecord.h"
#include "tables/Table.h"
#include "tables/TableError.h"

#include <algorithm>

namespace ExamAssembly {

std::vector<std::int32_t> collectKeys(Table& source)
{
    std::vector<std::int32_t> keys;
    keys.reserve(source.recordCount());
    source.disableControls();
    try {
        source.first();
        while (!source.eof()) {
            keys.push_back(std::int32_t(source.fieldByName(ItemRecord::Q_ID).asInteger()));
            source.next();
        }
    } catch (...) {
        source.enableControls();
        throw;
    }
    source.enableControls();
    return keys;
}

std::vector<std::int32_t> choose(const std::vector<std::int32_t>& candidates, int count, RandomSource& random)
{
    const auto m = std::uint32_t(candidates.size());
    count = std::clamp(count, 0, int(m));
    std::vector<std::int32_t> chosen(count, 0);
    std::vector<bool> taken(m, false);
    for (int k = 0; k < count; ++k) {
        std::uint32_t r;
        do {
            r = random.draw(m);
        } while (taken[r]);
        taken[r] = true;
        chosen[k] = candidates[r];
    }
    return chosen;
}

std::vector<std::int32_t> chooseByScan(const std::vector<std::int32_t>& candidates, int count,
                                       RandomSource& random)
{
    const auto m = std::uint32_t(candidates.size());
    count = std::clamp(count, 0, int(m));
    std::vector<std::int32_t> chosen(count, 0);
    for (int k = 0; k < count; ++k) {
        for (;;) {
            const std::int32_t c = candidates[random.draw(m)];
            if (std::find(chosen.begin(), chosen.end(), c) == chosen.end()) {
                chosen[k] = c;
                break;
            }
        }
    }
    return chosen;
}

namespace {
void copyField(Table& from, Table& to, const QString& fromName, const QString& toName)
{
    to.fieldByName(toName).setValue(from.fieldByName(fromName).value());
}
}  // namespace

void copyItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
               const std::function<void(int)>& progress)
{
    using namespace ItemRecord;
    currentSet.startTransaction();
    try {
        for (int i = 0; i < int(chosen.size()); ++i) {
            if (!source.findKey(chosen[i]))
                throw TableError(QStringLiteral("Item %1 was not found in %2").arg(chosen[i]).arg(source.tableName()));
            if (progress)
                progress(i);
            currentSet.append();
            if (kind == Source::Bank) {
                copyField(source, currentSet, Q_EXAM_N, Q_EXAM_N);
                copyField(source, currentSet, Q_SECT, Q_SECT);
                copyField(source, currentSet, QStringLiteral("Q_Text"), QStringLiteral("Q_Text"));
                copyField(source, currentSet, Q_EXPL, Q_EXPL);
                copyField(source, currentSet, Q_TYPE, Q_TYPE);
                for (int k = 1; k <= ChoiceCount; ++k)
                    copyField(source, currentSet, choiceText(k), choiceText(k));
                copyField(source, currentSet, Q_SIM, Q_SIM);
                for (int k = 1; k <= ChoiceCount; ++k)
                    copyField(source, currentSet, choiceFlag(k), choiceFlag(k));
                copyField(source, currentSet, PICT1, PICT1);
                copyField(source, currentSet, PICT2, PICT2);
            } else {
                copyField(source, currentSet, Q_SECT, Q_SECT);
                copyField(source, currentSet, Q_TEXT, Q_TEXT);
                copyField(source, currentSet, Q_EXPL, Q_EXPL);
                copyField(source, currentSet, Q_TYPE, Q_TYPE);
                for (int k = 1; k <= ChoiceCount; ++k)
                    copyField(source, currentSet, choiceText(k), choiceText(k));
                for (int k = 1; k <= ChoiceCount; ++k)
                    copyField(source, currentSet, choiceFlag(k), choiceFlag(k));
            }
            currentSet.fieldByName(Q_OR_NUMBER).setAsInteger(source.fieldByName(Q_ID).asInteger());
            copyField(source, currentSet, U_MEMO, U_MEMO);
            currentSet.post();
        }
        currentSet.commit();
    } catch (...) {
        if (currentSet.state() != Table::State::Browse && currentSet.isOpen())
            currentSet.cancel();
        currentSet.rollback();
        throw;
    }
}

}  // namespace ExamAssembly
