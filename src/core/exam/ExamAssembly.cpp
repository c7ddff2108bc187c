#include "core/exam/ExamAssembly.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace ExamAssembly {

namespace {
bool distinctAndNonZero(std::vector<std::int32_t> keys)
{
    std::sort(keys.begin(), keys.end());
    return std::adjacent_find(keys.begin(), keys.end()) == keys.end() &&
           std::find(keys.begin(), keys.end(), 0) == keys.end();
}
} // namespace

std::vector<std::int32_t> collectKeys(Table& source)
{
    // Q_ID is the key, so the table answers from the keys it holds.
    const std::vector<QVariant> ids = source.fieldInView(ItemRecord::Q_ID);
    std::vector<std::int32_t> keys;
    keys.reserve(ids.size());
    for (const QVariant& id : ids)
        keys.push_back(std::int32_t(Field::integerOf(id)));
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
    // An empty slot reads 0, and a repeated candidate is never new: either
    // would make the scan below draw for ever.
    Q_ASSERT_X(distinctAndNonZero(candidates), "ExamAssembly::chooseByScan",
               "candidates must be distinct and non-zero");
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
// Holds back a table's notifications while it lives; what changed is told
// once at the end. Nobody looks at the records one by one during a copy.
class QuietTable
{
public:
    explicit QuietTable(Table& table) : m_table(table) { m_table.disableControls(); }
    ~QuietTable() { m_table.enableControls(); }
    QuietTable(const QuietTable&) = delete;
    QuietTable& operator=(const QuietTable&) = delete;

private:
    Table& m_table;
};

void appendItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
                 const QHash<qint64, QString>* notes, const std::function<void(int)>& progress)
{
    // Fields are looked up once; they stay valid while both tables are open.
    std::vector<std::pair<Field, Field>> fields;
    for (const auto& [from, to] : copiedFields(kind)) {
        if (!(notes && to == ItemRecord::U_MEMO))
            fields.emplace_back(source.fieldByName(from), currentSet.fieldByName(to));
    }
    Field memo = currentSet.fieldByName(ItemRecord::U_MEMO);
    const QuietTable quietSource(source);
    const QuietTable quietSet(currentSet);
    for (int i = 0; i < int(chosen.size()); ++i) {
        if (!source.findKey(chosen[i]))
            throw TableError(
                QStringLiteral("Item %1 was not found in %2").arg(chosen[i]).arg(source.tableName()));
        if (progress)
            progress(i);
        currentSet.append();
        for (auto& [from, to] : fields)
            to.setValue(from.value());
        if (notes)
            memo.setAsString(notes->value(chosen[i]));
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

QString damagedCopyName(const QString& path)
{
    QString name = path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = path + QStringLiteral(".damaged.%1").arg(n);
    return name;
}

void openCurrentSet(Table& currentSet)
{
    currentSet.close();
    currentSet.setExclusive(true);
    currentSet.setKind(TableKind::CurrentSet);
    try {
        currentSet.open();
        return;
    } catch (const TableError& e) {
        using Kind = TableError::Kind;
        if (e.kind() != Kind::Missing && e.kind() != Kind::Damaged && e.kind() != Kind::NotATable &&
            e.kind() != Kind::WrongPassword)
            throw;
    }
    const QString path = currentSet.filePath();
    if (QFileInfo::exists(path)) {
        const QString kept = damagedCopyName(path);
        if (!QFile::rename(path, kept))
            throw TableError(QStringLiteral("Cannot set the damaged table %1 aside as %2")
                                 .arg(currentSet.tableName(), QFileInfo(kept).fileName()));
        // Its journal belongs to it, not to the new file.
        for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            if (QFileInfo::exists(path + suffix) && !QFile::rename(path + suffix, kept + suffix))
                QFile::remove(path + suffix);
        }
    }
    Table::createFile(path, currentSet.sessionName(), ItemRecord::currentSetSchema(), TableKind::CurrentSet);
    currentSet.open();
}

void copyItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
               const std::function<void(int)>& progress)
{
    inTransaction(currentSet, [&] { appendItems(source, kind, currentSet, chosen, nullptr, progress); });
}

void replaceItems(Table& source, Source kind, Table& currentSet, const std::vector<std::int32_t>& chosen,
                  const std::function<void(int)>& progress)
{
    replaceItems(currentSet, {Batch{&source, kind, chosen}}, progress);
}

void replaceItems(Table& currentSet, const std::vector<Batch>& batches,
                  const std::function<void(int)>& progress)
{
    inTransaction(currentSet, [&] {
        currentSet.emptyTable();
        int start = 0;
        for (const Batch& batch : batches) {
            Q_ASSERT(batch.source);
            appendItems(*batch.source, batch.kind, currentSet, batch.keys, batch.notes,
                        [&progress, start](int i) {
                            if (progress)
                                progress(start + i);
                        });
            start += int(batch.keys.size());
        }
    });
}

} // namespace ExamAssembly
