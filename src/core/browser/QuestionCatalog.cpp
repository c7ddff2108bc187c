#include "core/browser/QuestionCatalog.h"

#include "core/learning/ItemMemory.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Field.h"
#include "core/tables/Table.h"

#include <QMap>
#include <algorithm>

namespace QuestionCatalog {

namespace {
bool booleanOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
               v.toString().trimmed() == QLatin1String("1");
    return !v.isNull() && v.toLongLong() != 0;
}

// The item fields both sources share, column by column.
struct Columns
{
    explicit Columns(Table& t)
    {
        using namespace ItemRecord;
        ids = t.fieldInView(Q_ID);
        sections = t.fieldInView(Q_SECT);
        texts = t.fieldInView(Q_TEXT);
        explanations = t.fieldInView(Q_EXPL);
        types = t.fieldInView(Q_TYPE);
        for (int k = 1; k <= ChoiceCount; ++k) {
            choices[k - 1] = t.fieldInView(choiceText(k));
            flags[k - 1] = t.fieldInView(choiceFlag(k));
        }
    }

    BrowserItem item(std::size_t i, ItemSource source) const
    {
        BrowserItem item;
        item.source = source;
        item.id = std::int32_t(Field::integerOf(ids[i]));
        item.section = int(Field::integerOf(sections[i]));
        item.question = texts[i].toString();
        item.explanation = explanations[i].toString();
        item.multiple = booleanOf(types[i]);
        for (int k = 0; k < ItemRecord::ChoiceCount; ++k) {
            item.choices[std::size_t(k)] = choices[std::size_t(k)][i].toString();
            if (booleanOf(flags[std::size_t(k)][i]))
                item.correctChoices |= std::uint8_t(1u << k);
        }
        return item;
    }

    std::vector<QVariant> ids, sections, texts, explanations, types;
    std::array<std::vector<QVariant>, ItemRecord::ChoiceCount> choices, flags;
};
} // namespace

std::vector<BrowserItem> readBank(Table& bank, const QHash<qint64, QString>& notes)
{
    using namespace ItemRecord;
    const Columns columns(bank);
    const std::vector<QVariant> exams = bank.fieldInView(Q_EXAM_N);
    const std::vector<QVariant> pictures1 = bank.fieldInView(PICT1);
    const std::vector<QVariant> pictures2 = bank.fieldInView(PICT2);
    std::vector<BrowserItem> items;
    items.reserve(columns.ids.size());
    for (std::size_t i = 0; i < columns.ids.size(); ++i) {
        const qint64 exam = Field::integerOf(exams[i]);
        if (exam < 1 || exam > 6)
            continue;
        BrowserItem item = columns.item(i, ItemSource::Bank);
        item.exam = int(exam);
        item.picture1 = pictures1[i].toString().trimmed();
        item.picture2 = pictures2[i].toString().trimmed();
        item.note = notes.value(item.id);
        items.push_back(std::move(item));
    }
    std::sort(items.begin(), items.end(),
              [](const BrowserItem& a, const BrowserItem& b) { return a.id < b.id; });
    return items;
}

std::vector<BrowserItem> readUserSet(Table& userSet)
{
    const Columns columns(userSet);
    const std::vector<QVariant> memos = userSet.fieldInView(ItemRecord::U_MEMO);
    std::vector<BrowserItem> items;
    items.reserve(columns.ids.size());
    for (std::size_t i = 0; i < columns.ids.size(); ++i) {
        BrowserItem item = columns.item(i, ItemSource::UserSet);
        item.note = memos[i].toString();
        items.push_back(std::move(item));
    }
    std::sort(items.begin(), items.end(),
              [](const BrowserItem& a, const BrowserItem& b) { return a.id < b.id; });
    return items;
}

MemoryStates replay(const std::vector<HistoryAttempt>& attempts, const Fsrs& fsrs)
{
    std::vector<const HistoryAttempt*> order;
    for (const HistoryAttempt& a : attempts)
        if (a.when.isValid())
            order.push_back(&a);
    std::stable_sort(order.begin(), order.end(),
                     [](const HistoryAttempt* a, const HistoryAttempt* b) { return a->when < b->when; });
    QMap<std::pair<int, std::int32_t>, ItemState> states;
    for (const HistoryAttempt* a : order) {
        const GradedExam exam = ItemMemory::gradedExamOf(*a);
        const qint64 whenMs = exam.when.toMSecsSinceEpoch();
        for (const ItemOutcome& o : exam.outcomes) {
            if (o.number <= 0)
                continue;
            ItemState& s = states[{int(o.source), o.number}];
            s.source = o.source;
            s.number = o.number;
            s.record(o, whenMs, calendarDaysBetween(s.lastReviewMs, whenMs), fsrs);
        }
    }
    return MemoryStates(std::vector<ItemState>(states.cbegin(), states.cend()));
}

void attach(std::vector<BrowserItem>& items, const MemoryStates& states, bool picksKnown, qint64 nowMs,
            const Fsrs& fsrs)
{
    for (BrowserItem& item : items) {
        const ItemState* s = states.find(item.source, item.id);
        item.picksKnown = picksKnown;
        if (!s) {
            item.seen = item.wrong = 0;
            item.lastResult = ItemResult::None;
            item.lastMs = 0;
            item.recall = 0;
            item.due = false;
            item.wrongPicks = {};
            continue;
        }
        item.seen = s->seen;
        item.wrong = s->wrong;
        item.lastResult = s->lastResult;
        item.lastMs = s->lastReviewMs;
        item.recall = s->retrievability(fsrs, nowMs);
        item.due = s->isSeen() && item.recall < Fsrs::DesiredRetention;
        item.wrongPicks = s->wrongPicks;
    }
}

std::vector<Attempt> attemptsAt(const std::vector<HistoryAttempt>& attempts, ItemSource source,
                                std::int32_t id)
{
    std::vector<Attempt> found;
    for (const HistoryAttempt& a : attempts)
        for (const HistoryItem& r : a.results)
            if (r.source == source && r.number == id)
                found.push_back({a.when, a.examTitle, r.correct});
    std::stable_sort(found.begin(), found.end(),
                     [](const Attempt& a, const Attempt& b) { return a.when > b.when; });
    return found;
}

} // namespace QuestionCatalog
