// Learning from every answer without windows: each item's memory in its
// table, the Smart Review choice and the readiness forecast.
#include "TestFolder.h"
#include "core/history/ScoreHistory.h"
#include "core/learning/ActiveItems.h"
#include "core/learning/ItemMemory.h"
#include "core/learning/Readiness.h"
#include "core/learning/SmartReview.h"
#include "core/store/AnswerSheet.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QDateTime Day1(QDate(2026, 3, 2), QTime(9, 30));
constexpr qint64 DayMs = 86400000;

ItemOutcome outcome(std::int32_t number, bool correct, std::uint8_t chosen = 0, std::uint8_t right = 0b1,
                    ItemSource source = ItemSource::Bank)
{
    ItemOutcome o;
    o.source = source;
    o.number = number;
    o.correct = correct;
    o.chosen = chosen;
    o.correctChoices = right;
    return o;
}

GradedExam exam(const QString& id, const QDateTime& when, std::vector<ItemOutcome> outcomes)
{
    return {id, when, std::move(outcomes)};
}

HistoryAttempt attempt(qint64 id, const QDateTime& when, std::vector<HistoryItem> results)
{
    HistoryAttempt a;
    a.id = id;
    a.when = when;
    a.results = std::move(results);
    a.items = int(a.results.size());
    return a;
}

// Every stored field of every item, to see that nothing changed.
QStringList dump(const MemoryStates& states)
{
    QStringList rows;
    for (const ItemState& s : states.items()) {
        QStringList picks;
        for (int n : s.wrongPicks)
            picks << QString::number(n);
        rows << QStringLiteral("%1%2 S%3 D%4 L%5 n%6 w%7 r%8 f%9 t%10 p%11")
                    .arg(s.source == ItemSource::Bank ? 'B' : 'U')
                    .arg(s.number)
                    .arg(s.memory.stability, 0, 'g', 12)
                    .arg(s.memory.difficulty, 0, 'g', 12)
                    .arg(s.lastReviewMs)
                    .arg(s.seen)
                    .arg(s.wrong)
                    .arg(int(s.lastResult))
                    .arg(int(s.firstResult))
                    .arg(s.timeMs)
                    .arg(picks.join(QLatin1Char(',')));
    }
    return rows;
}

std::vector<ActiveItem> bank(const std::array<int, 6>& perSection, bool multiple = false, int choices = 4)
{
    std::vector<ActiveItem> items;
    std::int32_t id = 0;
    for (int s = 0; s < 6; ++s)
        for (int i = 0; i < perSection[s]; ++i)
            items.push_back({++id, s + 1, choices, multiple});
    return items;
}

ItemState seenItem(std::int32_t id, double stability, qint64 lastMs, ItemResult first = ItemResult::Correct)
{
    ItemState s;
    s.number = id;
    s.memory = {stability, 5.0};
    s.lastReviewMs = lastMs;
    s.seen = 1;
    s.firstResult = s.lastResult = first;
    return s;
}
} // namespace

class TestLearning : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<Session> session;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(TableFiles::Password);
    }

    void memory_gradingAppliedOnceWithEveryCount()
    {
        QTemporaryDir dir;
        ItemMemory memory(dir.filePath(QStringLiteral("not/yet")));
        QVERIFY(memory.readAll().isEmpty()); // no store yet, and none made by reading
        QVERIFY(!QFile::exists(memory.filePath()));

        ItemOutcome late = outcome(7, true);
        late.timeMs = 42000;
        GradedExam first = exam(QStringLiteral("g1"), Day1,
                                {outcome(3, false, 0b0110, 0b0001), late, outcome(5, false, 0, 0b0100),
                                 outcome(5, true, 0, 0b1, ItemSource::UserSet)});
        QVERIFY(memory.apply(first));
        const Fsrs fsrs;
        MemoryStates states = memory.readAll();
        QCOMPARE(states.size(), 4);
        const ItemState* wrong = states.find(ItemSource::Bank, 3);
        QVERIFY(wrong);
        QCOMPARE(wrong->memory.stability, fsrs.initialStability(Fsrs::Rating::Again));
        QCOMPARE(wrong->memory.difficulty, fsrs.initialDifficulty(Fsrs::Rating::Again));
        QCOMPARE(wrong->seen, 1);
        QCOMPARE(wrong->wrong, 1);
        QCOMPARE(wrong->lastResult, ItemResult::Wrong);
        QCOMPARE(wrong->lastReview(), Day1);
        QCOMPARE(wrong->wrongPicks, (std::array<std::int32_t, 6>{0, 1, 1, 0, 0, 0})); // b and c picked
        const ItemState* right = states.find(ItemSource::Bank, 7);
        QCOMPARE(right->memory.stability, fsrs.initialStability(Fsrs::Rating::Good));
        QCOMPARE(right->wrong, 0);
        QCOMPARE(right->timeMs, qint64(42000));
        QCOMPARE(states.find(ItemSource::Bank, 5)->lastResult, ItemResult::Unanswered);
        // Bank item 5 and the user set's item 5 are two items.
        QCOMPARE(states.find(ItemSource::UserSet, 5)->lastResult, ItemResult::Correct);
        QVERIFY(!states.find(ItemSource::UserSet, 3));

        // The same grading again changes nothing, even with other content.
        const QStringList before = dump(states);
        QVERIFY(!memory.apply(first));
        first.outcomes = {outcome(3, true)};
        QVERIFY(!memory.apply(first));
        QVERIFY(memory.wasApplied(QStringLiteral("g1")));
        QCOMPARE(dump(memory.readAll()), before);

        // Four days later: the model takes the days between, and the same day twice.
        const QDateTime later = Day1.addDays(4);
        QVERIFY(memory.apply(exam(QStringLiteral("g2"), later, {outcome(7, true), outcome(7, false, 0b10)})));
        Fsrs::State expected =
            fsrs.nextState(fsrs.nextState({}, 0, Fsrs::Rating::Good), 4, Fsrs::Rating::Good);
        expected = fsrs.nextState(expected, 0, Fsrs::Rating::Again);
        const MemoryStates after = memory.readAll();
        const ItemState* again = after.find(ItemSource::Bank, 7);
        QCOMPARE(again->memory.stability, expected.stability);
        QCOMPARE(again->memory.difficulty, expected.difficulty);
        QCOMPARE(again->seen, 3);
        QCOMPARE(again->wrong, 1);
        QCOMPARE(again->firstResult, ItemResult::Correct);
        QCOMPARE(again->lastResult, ItemResult::Wrong);
        QCOMPARE(again->lastReview(), later);
    }

    void memory_rightAfterLearnNowCountsAsAgain()
    {
        QTemporaryDir dir;
        ItemMemory memory(dir.path());
        ItemOutcome shown = outcome(9, true);
        shown.learnShown = true;
        QVERIFY(memory.apply(exam(QStringLiteral("g"), Day1, {shown, outcome(10, true)})));
        const MemoryStates states = memory.readAll();
        const ItemState* learnt = states.find(ItemSource::Bank, 9);
        QCOMPARE(learnt->memory.stability, Fsrs().initialStability(Fsrs::Rating::Again));
        QCOMPARE(learnt->lastResult, ItemResult::CorrectAfterLearn);
        QCOMPARE(learnt->wrong, 0); // it was answered right, all the same
        QVERIFY(states.find(ItemSource::Bank, 10)->memory.stability > learnt->memory.stability);
    }

    void memory_historyFedOnceOldestFirst()
    {
        QTemporaryDir dir;
        ItemMemory memory(dir.path());
        // As the history loads them: newest first.
        const std::vector<HistoryAttempt> history{
            attempt(3, Day1.addDays(9), {{ItemSource::Bank, 1, false}}),
            attempt(2, Day1.addDays(2), {{ItemSource::Bank, 1, true}, {ItemSource::UserSet, 4, false}}),
            attempt(1, Day1, {{ItemSource::Bank, 1, true}}),
            attempt(4, QDateTime(), {{ItemSource::Bank, 1, false}})}; // its date unreadable
        QVERIFY(!memory.isFed());
        QCOMPARE(memory.feedFromHistory(history), 3);
        QVERIFY(memory.isFed());

        const Fsrs fsrs;
        Fsrs::State s = fsrs.nextState({}, 0, Fsrs::Rating::Good);
        s = fsrs.nextState(s, 2, Fsrs::Rating::Good);
        s = fsrs.nextState(s, 7, Fsrs::Rating::Again);
        const MemoryStates states = memory.readAll();
        const ItemState* item = states.find(ItemSource::Bank, 1);
        QCOMPARE(item->memory.stability, s.stability);
        QCOMPARE(item->memory.difficulty, s.difficulty);
        QCOMPARE(item->seen, 3);
        QCOMPARE(item->lastReview(), Day1.addDays(9));
        QCOMPARE(item->lastResult, ItemResult::Wrong); // the history knows no more than "wrong"
        QCOMPARE(states.find(ItemSource::UserSet, 4)->wrong, 1);

        // Once only: a second feed, or a live grading of a fed attempt, changes nothing.
        const QStringList before = dump(states);
        QCOMPARE(memory.feedFromHistory(history), 0);
        QVERIFY(!memory.apply(ItemMemory::gradedExamOf(history[0])));
        QCOMPARE(dump(memory.readAll()), before);
    }

    void memory_gradingWithHistoryFeedsFirstAndKeepsItsDetail()
    {
        QTemporaryDir dir;
        ItemMemory memory(dir.path());
        const HistoryAttempt old = attempt(1, Day1, {{ItemSource::Bank, 2, true}});
        const HistoryAttempt now = attempt(2, Day1.addDays(3), {{ItemSource::Bank, 2, false}});
        GradedExam live = exam(ItemMemory::gradingIdOf(now), now.when, {outcome(2, false, 0b100, 0b1)});
        const std::vector<HistoryAttempt> history{now, old};
        QVERIFY(memory.apply(live, &history));
        const MemoryStates states = memory.readAll();
        const ItemState* item = states.find(ItemSource::Bank, 2);
        QCOMPARE(item->seen, 2); // the old attempt, then this grading once
        QCOMPARE(item->wrongPicks[2], 1);
        QVERIFY(memory.isFed());
        QVERIFY(ItemMemory::gradingIdOf(now) != ItemMemory::gradingIdOf(attempt(2, Day1, {})));
    }

    void memory_damagedStoreIsKeptAsideAndStartedAnew()
    {
        QTemporaryDir dir;
        ItemMemory memory(dir.path());
        QVERIFY(memory.apply(exam(QStringLiteral("g"), Day1, {outcome(1, true)})));
        QFile file(memory.filePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(5000);
        file.write(QByteArray(3000, 'x'));
        file.close();
        QString notice;
        QVERIFY(memory.readAll(&notice).isEmpty());
        QVERIFY2(notice.contains(QStringLiteral("item memory")), qPrintable(notice));
        QCOMPARE(QDir(dir.path()).entryList({ItemMemory::FileName + QStringLiteral(".damaged-*")}).size(), 1);
        QVERIFY(memory.apply(exam(QStringLiteral("g"), Day1, {outcome(1, true)})));
        QCOMPARE(memory.readAll().size(), 1);
    }

    void memory_anotherTableInItsPlaceIsLeftAlone()
    {
        QTemporaryDir dir;
        ItemMemory memory(dir.path());
        Table::createFile(memory.filePath(), TableFiles::SessionName, ScoreHistory::schema(),
                          TableKind::History);
        QFile file(memory.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        try {
            memory.apply(exam(QStringLiteral("g"), Day1, {outcome(1, true)}));
            QFAIL("a score history taken for the item memory");
        } catch (const TableError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("your score history")), qPrintable(e.message()));
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(dir.path()).entryList({ItemMemory::FileName + QStringLiteral(".damaged-*")}).size(), 0);
    }

    void outcomesOf_takesChoicesVerdictAndLearnNowFromTheSet()
    {
        TestFolder env;
        env.writeEmptyCurrentSet();
        Table ces(TableFiles::SessionName, env.userPath(TableFiles::CurrentSet));
        ces.open();
        for (const auto& [exam, number] : QList<QPair<int, int>>{{2, 17}, {0, 5}}) {
            ces.append();
            if (exam > 0)
                ces.fieldByName(ItemRecord::Q_EXAM_N).setAsInteger(exam);
            ces.fieldByName(ItemRecord::Q_SECT).setAsInteger(2);
            ces.fieldByName(ItemRecord::Q_OR_NUMBER).setAsInteger(number);
            ces.fieldByName(ItemRecord::choiceFlag(2)).setAsBoolean(true);
            ces.post();
        }
        AnswerSheet sheet;
        sheet.InitAnswerSheet(ces);
        sheet[0].Choice = {1, 0, 1, 0, 0, 0};
        sheet[1].Choice = {0, 1, 0, 0, 0, 0};
        sheet[1].Correct = 1;
        ces.setRecNo(2);
        const std::vector<ItemOutcome> o = ItemMemory::outcomesOf(sheet, ces, {false, true}, {1500});
        QCOMPARE(ces.recNo(), 2);
        QCOMPARE(int(o.size()), 2);
        QCOMPARE(o[0].source, ItemSource::Bank);
        QCOMPARE(o[0].number, 17);
        QCOMPARE(o[0].chosen, std::uint8_t(0b101));
        QCOMPARE(o[0].correctChoices, std::uint8_t(0b10));
        QCOMPARE(o[0].timeMs, qint64(1500));
        QVERIFY(!o[0].correct && !o[0].learnShown);
        QCOMPARE(o[1].source, ItemSource::UserSet);
        QVERIFY(o[1].correct && o[1].learnShown);
        QCOMPARE(o[1].timeMs, qint64(0));
    }

    void activeItems_readFromTheBank()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        Table bank(TableFiles::SessionName, env.path(TableFiles::Bank));
        bank.open();
        const std::vector<ActiveItem> items = ActiveItems::read(bank);
        // Twelve items, the last one retired.
        QCOMPARE(int(items.size()), 11);
        QCOMPARE(items.back().id, 11);
        auto same = [](const ActiveItem& a, const ActiveItem& b) {
            return a.id == b.id && a.section == b.section && a.choices == b.choices &&
                   a.multiple == b.multiple;
        };
        QVERIFY(same(items[1], {2, 2, 4, true}));
        QVERIFY(same(items[6], {7, 1, 2, false}));
        QVERIFY(same(items[8], {9, 3, 6, true}));
        QCOMPARE((ActiveItem{1, 1, 4, false}).guessChance(), 0.25);
        QCOMPARE((ActiveItem{1, 1, 3, true}).guessChance(), 1.0 / 7);
    }

    void sectionMix_keepsEachSectionsShare()
    {
        // The shipped bank's active items.
        QCOMPARE(ActiveItems::sectionMix(bank({44, 57, 57, 43, 44, 45}), 50),
                 (std::array<int, 6>{8, 10, 10, 7, 7, 8}));
        QCOMPARE(ActiveItems::sectionMix(bank({2, 2, 0, 0, 0, 0}), 9),
                 (std::array<int, 6>{2, 2, 0, 0, 0, 0}));
        QCOMPARE(ActiveItems::sectionMix(bank({1, 1, 1, 0, 0, 0}), 2),
                 (std::array<int, 6>{1, 1, 0, 0, 0, 0}));
    }

    void smartReview_dueThenUnseenThenLeastRecalledBySection()
    {
        // Section 1: items 1..8, section 2: items 9..12; six items keep 4 and 2.
        const std::vector<ActiveItem> items = bank({8, 4, 0, 0, 0, 0});
        const qint64 now = Day1.toMSecsSinceEpoch();
        std::vector<ItemState> known;
        known.push_back(seenItem(1, 2.0, now - 20 * DayMs));  // due, least recalled
        known.push_back(seenItem(2, 5.0, now - 20 * DayMs));  // due
        known.push_back(seenItem(3, 50.0, now - 1 * DayMs));  // fresh
        known.push_back(seenItem(4, 30.0, now - 10 * DayMs)); // not due, lower recall than 3
        known.push_back(seenItem(5, 100, now));               // fresh
        known.push_back(seenItem(6, 100, now));
        for (std::int32_t id : {9, 10, 11, 12})
            known.push_back(seenItem(id, 100, now - id * DayMs));
        const MemoryStates memory(known);

        const SmartReview::Choice c = SmartReview::choose(items, memory, 6, 7, Day1);
        QCOMPARE(c.perSection, (std::array<int, 6>{4, 2, 0, 0, 0, 0}));
        QCOMPARE(c.ids.size(), std::size_t(6));
        QCOMPARE(c.ids[0], 1);
        QCOMPARE(c.ids[1], 2);
        // Then the two unseen of section 1 in random order.
        QCOMPARE(QSet<int>({c.ids[2], c.ids[3]}), QSet<int>({7, 8}));
        // Section 2 has nothing due or unseen: the least recalled, the oldest.
        QCOMPARE(c.ids[4], 12);
        QCOMPARE(c.ids[5], 11);
        QCOMPARE(c.due, 2);
        QCOMPARE(c.unseen, 2);
        QVERIFY(!c.nothingSeenYet);

        // With more room the fresher items come last, the less recalled first.
        const SmartReview::Choice wide = SmartReview::choose(items, memory, 9, 7, Day1);
        QCOMPARE(std::vector<int>(wide.ids.begin(), wide.ids.begin() + 6),
                 std::vector<int>({1, 2, 7, 8, 4, 3}));
        QCOMPARE(c.ids[2], wide.ids[2]); // the same seed, the same draw
    }

    void smartReview_nothingSeenIsARandomExamOfTheMix()
    {
        const std::vector<ActiveItem> items = bank({10, 20, 10, 0, 0, 0});
        const SmartReview::Choice a = SmartReview::choose(items, MemoryStates(), 8, 1, Day1);
        const SmartReview::Choice b = SmartReview::choose(items, MemoryStates(), 8, 2, Day1);
        QVERIFY(a.nothingSeenYet);
        QCOMPARE(a.perSection, (std::array<int, 6>{2, 4, 2, 0, 0, 0}));
        QCOMPARE(a.unseen, 8);
        QVERIFY(a.ids != b.ids);
        QCOMPARE(QSet<int>(a.ids.begin(), a.ids.end()).size(), 8);
    }

    void readiness_caseComputedByHand()
    {
        // Sections 1 and 2: 60 items each, seen, recall now exactly 0.9
        // (reviewed as long ago as their stability); section 1 single
        // response of four choices (p = 0.9 + 0.1 / 4), section 2 multiple
        // response of three (p = 0.9 + 0.1 / 7). Section 3: 30 items never
        // seen, at the first-try accuracy overall, 90 of 120 = 0.75. A form:
        // 20 + 20 + 10 items; the right answers are binomials in each
        // section, summed by hand: 885.7 expected, 820 to 940 in 80%, a pass
        // (43 or more right) 79.75%.
        std::vector<ActiveItem> items = bank({60, 60, 30, 0, 0, 0});
        for (ActiveItem& i : items)
            if (i.section == 2)
                i = {i.id, 2, 3, true};
        const qint64 now = Day1.toMSecsSinceEpoch();
        std::vector<ItemState> known;
        for (std::int32_t id = 1; id <= 120; ++id)
            known.push_back(
                seenItem(id, 10, now - 10 * DayMs, id % 4 == 0 ? ItemResult::Wrong : ItemResult::Correct));
        const Readiness::Forecast f = Readiness::forecast(items, MemoryStates(known), 3, Day1);
        QVERIFY(f.enough);
        QCOMPARE(f.itemsSeen, 120);
        QCOMPARE(f.score, 886);
        QCOMPARE(f.low, 820);
        QCOMPARE(f.high, 940);
        QVERIFY2(std::abs(f.passChance - 0.79753635) < 1e-5, qPrintable(QString::number(f.passChance)));
        QCOMPARE(f.sections[0].items, 20);
        QVERIFY(std::abs(f.sections[0].share - 0.925) < 1e-6);
        QVERIFY(std::abs(f.sections[1].share - (0.9 + 0.1 / 7)) < 1e-6);
        QVERIFY(std::abs(f.sections[2].share - 0.75) < 1e-9);
        QVERIFY(std::abs(f.sections[2].gain - 50) < 1e-6); // 10 items, a quarter of them lost
        QCOMPARE(f.gainsMost, 3);
        QVERIFY2(f.basisText.contains(QStringLiteral("3 graded exams")), qPrintable(f.basisText));
        QVERIFY2(f.basisText.contains(QStringLiteral("120 of the bank's 150")), qPrintable(f.basisText));
        QVERIFY2(f.basisText.contains(QStringLiteral("30 not met yet")), qPrintable(f.basisText));
    }

    void readiness_unseenItemsTakeTheFirstTryAccuracyOfTheirSection()
    {
        // Ten seen in each of sections 1 and 2, first tried right 6 and 10
        // times (0.8 overall); one more item in each of sections 1 to 3
        // never seen. A section's own count weighs as much as it has items
        // against five of the overall accuracy.
        const std::vector<ActiveItem> items = bank({11, 11, 1, 0, 0, 0});
        const qint64 now = Day1.toMSecsSinceEpoch();
        std::vector<ItemState> known;
        for (std::int32_t id = 1; id <= 10; ++id)
            known.push_back(
                seenItem(id, 10, now - 10 * DayMs, id <= 6 ? ItemResult::Correct : ItemResult::Wrong));
        for (std::int32_t id = 12; id <= 21; ++id)
            known.push_back(seenItem(id, 10, now - 10 * DayMs, ItemResult::Correct));
        known[7].firstResult = ItemResult::CorrectAfterLearn; // not known on first meeting
        known[7].lastResult = ItemResult::Correct;
        const std::vector<double> p = Readiness::chances(items, MemoryStates(known), Day1);
        QVERIFY(std::abs(p[0] - 0.925) < 1e-6); // seen: R 0.9 and a quarter of the rest
        QVERIFY(std::abs(p[10] - (6 + 5 * 0.8) / 15) < 1e-9);
        QVERIFY(std::abs(p[21] - (10 + 5 * 0.8) / 15) < 1e-9);
        QVERIFY(std::abs(p[22] - 0.8) < 1e-9);
    }

    void readiness_rightAnswersOfRandomFormsAverageTheItems()
    {
        // One section of two items, one always right and one never: a form
        // of one item is right half the time.
        const std::vector<double> d =
            Readiness::rightAnswers({std::vector<double>{1.0, 0.0}}, {1, 0, 0, 0, 0, 0}, 10000, 3);
        QCOMPARE(int(d.size()), 2);
        QVERIFY(std::abs(d[1] - 0.5) < 0.02);
    }

    void readiness_notEnoughPracticeYetSaysWhy()
    {
        const std::vector<ActiveItem> items = bank({100, 100, 0, 0, 0, 0});
        std::vector<ItemState> known;
        for (std::int32_t id = 1; id <= 99; ++id)
            known.push_back(seenItem(id, 10, Day1.toMSecsSinceEpoch()));
        Readiness::Forecast f = Readiness::forecast(items, MemoryStates(known), 1, Day1);
        QVERIFY(!f.enough);
        QVERIFY2(f.notEnoughText.startsWith(QStringLiteral("Not enough practice yet")),
                 qPrintable(f.notEnoughText));
        QVERIFY2(f.notEnoughText.contains(QStringLiteral("2 graded exams (you have 1)")),
                 qPrintable(f.notEnoughText));
        QVERIFY2(f.notEnoughText.contains(QStringLiteral("(you have 99)")), qPrintable(f.notEnoughText));
        QCOMPARE(f.score, 0);

        known.push_back(seenItem(100, 10, Day1.toMSecsSinceEpoch()));
        f = Readiness::forecast(items, MemoryStates(known), 1, Day1);
        QVERIFY(!f.enough);
        QVERIFY(!f.notEnoughText.contains(QStringLiteral("you have 100")));
        QVERIFY(Readiness::forecast(items, MemoryStates(known), 2, Day1).enough);
    }
};

QTEST_GUILESS_MAIN(TestLearning)
#include "test_learning.moc"
