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
// The fields copied from a source item, by their names in the source and in
// the current set, in the order they are written.
QList<QPair<QString, QString>> copiedFields(Source kind)
{
    using namespace ItemRecord;
    QList<QPair<QString, QString>> names;
    auto same = [&names](const QString& name) { names.append({name, name}); };
    if (kind == Source::Bank) {
        same(Q_EXAM_N);
        same(Q_SECT);
        same(QStringLiteral("Q_Text"));
        same(Q_EXPL);
        same(Q_TYPE);
        for (int k = 1; k <= ChoiceCount; ++k)
            same(choiceText(k));
        same(Q_SIM);
        for (int k = 1; k <= ChoiceCount; ++k)
            same(choiceFlag(k));
        same(PICT1);
        same(PICT2);
    } else {
        same(Q_SECT);
        same(Q_TEXT);
        same(Q_EXPL);
        same(Q_TYPE);
        for (int k = 1; k <= ChoiceCount; ++k)
            same(choiceText(k));
        for (int k = 1; k <= ChoiceCount; ++k)
            same(choiceFlag(k));
    }
    names.append({Q_ID, Q_OR_NUMBER});
    same(U_MEMO);
    return names;
}
} // namespace

namespace {
void appendItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
                 const std::function<void(int)>& progress)
{
    // Fields are looked up once; they stay valid while both tables are open.
    std::vector<std::pair<Field, Field>> fields;
    for (const auto& [from, to] : copiedFields(kind))
        fields.emplace_back(source.fieldByName(from), currentSet.fieldByName(to));
    for (int i = 0; i < int(chosen.size()); ++i) {
        if (!source.findKey(chosen[i]))
            throw TableError(
                QStringLiteral("Item %1 was not found in %2").arg(chosen[i]).arg(source.tableName()));
        if (progress)
            progress(i);
        currentSet.append();
        for (auto& [from, to] : fields)
            to.setValue(from.value());
        currentSet.post();
    }
}

// Runs `change` inside one transaction of the current set; on any error the
// transaction is rolled back and the error passed on.
template <typename Change> void inTransaction(Table& currentSet, Change change)
{
    currentSet.startTransaction();
    try {
        change();
        currentSet.commit();
    } catch (...) {
        if (currentSet.isOpen() && currentSet.state() != Table::State::Browse)
            currentSet.cancel();
        currentSet.rollback();
        throw;
    }
}
} // namespace

void copyItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
               const std::function<void(int)>& progress)
{
    inTransaction(currentSet, [&] { appendItems(source, kind, currentSet, chosen, progress); });
}

void replaceItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
                  const std::function<void(int)>& progress)
{
    inTransaction(currentSet, [&] {
        currentSet.emptyTable();
        appendItems(source, kind, currentSet, chosen, progress);
    });
}

} // namespace ExamAssembly
