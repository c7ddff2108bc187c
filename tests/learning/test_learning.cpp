// Learning from every answer without windows: each item's memory in its
// table.
#include "TestFolder.h"
#include "core/learning/ItemMemory.h"
#include "core/store/AnswerSheet.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QDateTime Day1(QDate(2026, 3, 2), QTime(9, 30));

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
        const ItemState* again = memory.readAll().find(ItemSource::Bank, 7);
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
            attempt(1, Day1, {{ItemSource::Bank, 1, true}})};
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
        const ItemState* item = memory.readAll().find(ItemSource::Bank, 2);
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
};

QTEST_GUILESS_MAIN(TestLearning)
#include "test_learning.moc"
