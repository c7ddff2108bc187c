#include "core/browser/QuestionCatalog.h"

#include "core/learning/ItemMemory.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Database.h"
#include "core/tables/Field.h"
#include "core/tables/Session.h"
#include "core/tables/Statement.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QMap>
#include <algorithm>

namespace QuestionCatalog {

namespace {
// The item fields both sources share, column by column.
struct Columns
{
    static QStringList names()
    {
        using namespace ItemRecord;
        QStringList names{Q_ID, Q_SECT, Q_TEXT, Q_EXPL, Q_TYPE};
        for (int k = 1; k <= ChoiceCount; ++k)
            names << choiceText(k) << choiceFlag(k);
        return names;
    }

    // Takes the values of names() and then of more fields, one list per field.
    Columns(std::vector<std::vector<QVariant>> all, std::vector<std::vector<QVariant>>* more)
    {
        const int shared = int(names().size());
        ids = std::move(all[0]);
        sections = std::move(all[1]);
        texts = std::move(all[2]);
        explanations = std::move(all[3]);
        types = std::move(all[4]);
        for (std::size_t k = 0; k < std::size_t(ItemRecord::ChoiceCount); ++k) {
            choices[k] = std::move(all[5 + 2 * k]);
            flags[k] = std::move(all[6 + 2 * k]);
        }
        more->assign(std::make_move_iterator(all.begin() + shared), std::make_move_iterator(all.end()));
    }

    BrowserItem item(std::size_t i, ItemSource source) const
    {
        BrowserItem item;
        item.source = source;
        item.id = std::int32_t(Field::integerOf(ids[i]));
        item.section = int(Field::integerOf(sections[i]));
        item.question = texts[i].toString();
        item.explanation = explanations[i].toString();
        item.multiple = Field::booleanOf(types[i]);
        for (int k = 0; k < ItemRecord::ChoiceCount; ++k) {
            item.choices[std::size_t(k)] = choices[std::size_t(k)][i].toString();
            if (Field::booleanOf(flags[std::size_t(k)][i]))
                item.correctChoices |= std::uint8_t(1u << k);
        }
        return item;
    }

    std::vector<QVariant> ids, sections, texts, explanations, types;
    std::array<std::vector<QVariant>, ItemRecord::ChoiceCount> choices, flags;
};
} // namespace

std::vector<BrowserItem> readBankFile(const QString& path, const QHash<qint64, QString>& notes,
                                      std::int32_t afterId, int limit)
{
    using namespace ItemRecord;
    const Session* session = Session::find(TableFiles::SessionName);
    if (!session || !session->hasPassword())
        throw TableError(
            QStringLiteral("No table password is registered with session %1").arg(TableFiles::SessionName));
    Database db;
    db.open(path, session->rawKey(), Database::Access::ReadOnly, TableKind::Bank);
    const QStringList names = Columns::names() + QStringList{Q_EXAM_N, PICT1, PICT2};
    QStringList quoted;
    for (const QString& name : names)
        quoted << QLatin1Char('"') + name + QLatin1Char('"');
    // Every row is read once: a walk per field would read the table per field.
    Statement st(
        db.handle(),
        QStringLiteral(
            "SELECT %1 FROM items WHERE \"%2\" BETWEEN 1 AND 6 AND \"%3\" > ? ORDER BY \"%3\" LIMIT ?")
            .arg(quoted.join(QStringLiteral(", ")), Q_EXAM_N, Q_ID));
    st.bind(1, qint64(afterId));
    st.bind(2, qint64(limit));
    std::vector<std::vector<QVariant>> all(std::size_t(names.size()));
    while (st.step())
        for (std::size_t c = 0; c < all.size(); ++c)
            all[c].push_back(st.value(int(c)));
    return itemsOfBank(std::move(all), notes);
}

std::vector<BrowserItem> readBank(Table& bank, const QHash<qint64, QString>& notes)
{
    using namespace ItemRecord;
    return itemsOfBank(bank.fieldsInView(Columns::names() + QStringList{Q_EXAM_N, PICT1, PICT2}), notes);
}

std::vector<BrowserItem> itemsOfBank(std::vector<std::vector<QVariant>> all,
                                     const QHash<qint64, QString>& notes)
{
    std::vector<std::vector<QVariant>> more;
    const Columns columns(std::move(all), &more);
    const std::vector<QVariant>& exams = more[0];
    const std::vector<QVariant>& pictures1 = more[1];
    const std::vector<QVariant>& pictures2 = more[2];
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
    std::vector<std::vector<QVariant>> more;
    const Columns columns(userSet.fieldsInView(Columns::names() + QStringList{ItemRecord::U_MEMO}), &more);
    const std::vector<QVariant>& memos = more[0];
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
