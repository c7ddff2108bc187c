// The score history table, the retake set and the summaries, without windows.
#include "TestFolder.h"
#include "core/grading/GradeExam.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistorySummary.h"
#include "core/history/RetakeSet.h"
#include "core/history/ScoreHistory.h"
#include "core/store/AnswerSheet.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
HistoryAttempt attempt(const QDateTime& when, int score, std::vector<HistoryItem> results = {})
{
    HistoryAttempt a;
    a.when = when;
    a.examTitle = QStringLiteral("Practice Exam A");
    a.candidateName = QStringLiteral("Ada");
    a.items = int(results.size());
    a.score = score;
    a.grade = score >= 850 ? QStringLiteral("Pass") : QStringLiteral("Fail");
    a.timeLimitSeconds = 5400;
    a.timeUsedSeconds = 1234;
    a.sections[0] = {3, 5};
    a.sections[5] = {0, 2};
    a.results = std::move(results);
    return a;
}

const QDateTime Day1(QDate(2026, 3, 1), QTime(9, 30));
} // namespace

class TestHistory : public QObject
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

    void store_appendsLoadsNewestFirstAndDeletes()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("not/yet/there"));
        ScoreHistory history(folder);
        std::vector<HistoryAttempt> all;
        QString error;
        QVERIFY(history.load(&all, &error)); // no table yet: an empty history
        QVERIFY(all.empty());

        HistoryAttempt older =
            attempt(Day1, 600, {{ItemSource::Bank, 12, false}, {ItemSource::Bank, 3, true}});
        HistoryAttempt newer = attempt(Day1.addDays(2), 900, {{ItemSource::UserSet, 7, true}});
        HistoryAttempt middle = attempt(Day1.addDays(1), 850);
        for (HistoryAttempt* a : {&older, &newer, &middle})
            QVERIFY2(history.append(*a, &error), qPrintable(error));
        QVERIFY(older.id > 0 && newer.id > older.id);

        QVERIFY(history.load(&all, &error));
        QCOMPARE(int(all.size()), 3);
        QCOMPARE(all[0].score, 900);
        QCOMPARE(all[1].score, 850);
        QCOMPARE(all[2].score, 600);
        const HistoryAttempt& a = all[2];
        QCOMPARE(a.when, Day1);
        QCOMPARE(a.examTitle, QStringLiteral("Practice Exam A"));
        QCOMPARE(a.candidateName, QStringLiteral("Ada"));
        QCOMPARE(a.grade, QStringLiteral("Fail"));
        QCOMPARE(a.timeLimitSeconds, 5400);
        QCOMPARE(a.timeUsedSeconds, 1234);
        QCOMPARE(a.sections[0].correct, 3);
        QCOMPARE(a.sections[0].items, 5);
        QCOMPARE(a.sections[5].items, 2);
        QCOMPARE(int(a.results.size()), 2);
        QCOMPARE(a.results[0].number, 12);
        QVERIFY(!a.results[0].correct);
        QCOMPARE(all[0].results[0].source, ItemSource::UserSet);

        // The table is encrypted: the file is not readable as plain SQLite.
        QFile file(history.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.read(16).startsWith("SQLite format 3"));
        file.close();

        HistoryAttempt latest;
        bool found = false;
        QVERIFY(history.latest(&latest, &found, &error));
        QVERIFY(found);
        QCOMPARE(latest.id, newer.id);

        QVERIFY(history.remove(middle.id, &error));
        QVERIFY(history.load(&all, &error));
        QCOMPARE(int(all.size()), 2);
        QVERIFY(!history.remove(middle.id, &error)); // already gone
        QVERIFY(!error.isEmpty());
    }

    void store_failuresGiveTheEnginesMessageAndKeepTheFile()
    {
        QTemporaryDir dir;
        // A folder that cannot be made: a file stands in its place.
        QFile blocker(dir.filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        HistoryAttempt a = attempt(Day1, 500);
        QString error;
        QVERIFY(!ScoreHistory(blocker.fileName()).append(a, &error));
        QVERIFY(error.contains(QStringLiteral("folder")));

        // A damaged table is reported, never replaced.
        const QString folder = dir.filePath(QStringLiteral("damaged"));
        QDir().mkpath(folder);
        ScoreHistory history(folder);
        QFile damaged(history.filePath());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        const QByteArray junk(8192, 'x');
        damaged.write(junk);
        damaged.close();
        error.clear();
        QVERIFY(!history.append(a, &error));
        QVERIFY2(error.contains(QStringLiteral("not a table of this program")), qPrintable(error));
        std::vector<HistoryAttempt> all;
        QVERIFY(!history.load(&all, &error));
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        QCOMPARE(damaged.readAll(), junk);
    }

    // A history whose first grading was cut short (an empty file, or one
    // without its table) or that was damaged later is kept aside, the
    // candidate told once where; the grading is recorded in a new one.
    void damagedHistory_isKeptAsideAndGradingGoesOn_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("empty") << "empty";
        QTest::newRow("cut") << "cut";
        QTest::newRow("a flipped bit") << "flip";
    }
    void damagedHistory_isKeptAsideAndGradingGoesOn()
    {
        QFETCH(QString, damage);
        QTemporaryDir dir;
        ScoreHistory history(dir.path());
        QString error, notice;
        for (int day = 0; day < 30; ++day) {
            HistoryAttempt a = attempt(Day1.addDays(day), 500 + day);
            QVERIFY2(history.append(a, &error, &notice), qPrintable(error));
            QVERIFY(notice.isEmpty());
        }
        QFile file(history.filePath());
        if (damage == QLatin1String("empty")) {
            QVERIFY(file.resize(0));
        } else if (damage == QLatin1String("cut")) {
            QVERIFY(file.resize(file.size() - 4096));
        } else {
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(1000);
            const char c = file.read(1).at(0);
            file.seek(1000);
            file.putChar(char(c ^ 0x10));
            file.close();
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray damaged = file.readAll();
        file.close();

        HistoryAttempt graded = attempt(Day1.addDays(40), 777);
        QVERIFY2(history.append(graded, &error, &notice), qPrintable(error));
        QVERIFY2(notice.contains(history.filePath() + QLatin1Char(' ')), qPrintable(notice));
        const QStringList kept =
            QDir(dir.path()).entryList({ScoreHistory::FileName + QStringLiteral(".damaged-*")}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY2(notice.contains(QDir(dir.path()).filePath(kept.first())), qPrintable(notice));
        QFile keptFile(QDir(dir.path()).filePath(kept.first()));
        QVERIFY(keptFile.open(QIODevice::ReadOnly));
        QCOMPARE(keptFile.readAll(), damaged);

        std::vector<HistoryAttempt> all;
        QVERIFY(history.load(&all, &error, &notice));
        QVERIFY(notice.isEmpty()); // told once
        QCOMPARE(int(all.size()), 1);
        QCOMPARE(all[0].score, 777);
    }

    void results_encodeAndDecode()
    {
        const std::vector<HistoryItem> items{
            {ItemSource::Bank, 12, true}, {ItemSource::UserSet, 3, false}, {ItemSource::Bank, 250, false}};
        const QString text = ScoreHistory::encodeResults(items);
        QCOMPARE(text, QStringLiteral("B12+ U3- B250-"));
        const std::vector<HistoryItem> back = ScoreHistory::decodeResults(text);
        QCOMPARE(int(back.size()), 3);
        QCOMPARE(back[1].source, ItemSource::UserSet);
        QCOMPARE(back[2].number, 250);
        // Damaged entries are skipped, the rest kept.
        QCOMPARE(int(ScoreHistory::decodeResults(QStringLiteral("B12+ X3- Bx+ B-1+ U4?  U5-")).size()), 2);
    }

    void fromGrading_takesEachItemsSourceNumberAndVerdict()
    {
        TestFolder env;
        env.writeEmptyCurrentSet();
        Table ces(TableFiles::SessionName, env.userPath(TableFiles::CurrentSet));
        ces.open();
        // A bank item carries its exam number; a user item has none.
        const QList<QPair<int, int>> rows{{2, 17}, {0, 5}, {1, 40}};
        for (const auto& [exam, number] : rows) {
            ces.append();
            if (exam > 0)
                ces.fieldByName(ItemRecord::Q_EXAM_N).setAsInteger(exam);
            ces.fieldByName(ItemRecord::Q_SECT).setAsInteger(2);
            ces.fieldByName(ItemRecord::Q_OR_NUMBER).setAsInteger(number);
            ces.post();
        }
        ces.setRecNo(2);
        AnswerSheet sheet;
        sheet.InitAnswerSheet(ces);
        sheet[2].Correct = 1;
        ces.setRecNo(2);
        const GradeResult result = GradeExam(sheet, QStringLiteral("Ada"), QStringLiteral("Random Exam"));
        const HistoryAttempt a =
            ScoreHistory::fromGrading(result, sheet, ces, QStringLiteral("Random Exam"),
                                      QStringLiteral("Ada"), 90 / 1440.0, 61.4 / 86400.0, Day1);
        QCOMPARE(ces.recNo(), 2); // the item on screen stays
        QCOMPARE(a.items, 3);
        QCOMPARE(a.correct, 1);
        QCOMPARE(a.score, 333);
        QCOMPARE(a.grade, QStringLiteral("Fail"));
        QCOMPARE(a.timeLimitSeconds, 5400);
        QCOMPARE(a.timeUsedSeconds, 61);
        QCOMPARE(a.sections[1].items, 3);
        QCOMPARE(a.sections[1].correct, 1);
        QCOMPARE(ScoreHistory::encodeResults(a.results), QStringLiteral("B17- U5- B40+"));
    }

    void retakeSet_bankExam()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank()); // Q_ID 1..12
        Table bank(TableFiles::SessionName, TableFiles::Bank);
        bank.open();
        const HistoryAttempt a = attempt(Day1, 0,
                                         {{ItemSource::Bank, 4, false},
                                          {ItemSource::Bank, 2, true},
                                          {ItemSource::Bank, 99, false}, // no longer in the bank
                                          {ItemSource::Bank, 7, false},
                                          {ItemSource::Bank, 4, false}}); // counted once
        const RetakeSet set(a);
        QCOMPARE(int(set.incorrect().size()), 3);
        QVERIFY(set.needsBank());
        QVERIFY(!set.needsUserSet());
        const std::vector<RetakeSet::Item> found = set.existing(&bank, nullptr);
        QCOMPARE(found, (std::vector<RetakeSet::Item>{{ItemSource::Bank, 4}, {ItemSource::Bank, 7}}));
    }

    void retakeSet_userExamAndNothingToRetake()
    {
        TestFolder env;
        env.writeUserSet({TestFolder::item(0, 1, QStringLiteral("U1"), QStringLiteral("a")),
                          TestFolder::item(0, 2, QStringLiteral("U2"), QStringLiteral("b"))});
        Table user(TableFiles::SessionName, env.userPath(TableFiles::UserSet));
        user.open();
        const RetakeSet set(attempt(
            Day1, 0,
            {{ItemSource::UserSet, 2, false}, {ItemSource::UserSet, 1, true}, {ItemSource::Bank, 2, false}}));
        // A user item is looked up in the user set, never in the bank.
        QCOMPARE(set.existing(nullptr, &user), (std::vector<RetakeSet::Item>{{ItemSource::UserSet, 2}}));
        QVERIFY(set.needsUserSet());

        const RetakeSet allRight(attempt(Day1, 1000, {{ItemSource::UserSet, 1, true}}));
        QVERIFY(allRight.incorrect().empty());
        QVERIFY(RetakeSet(HistoryAttempt{}).incorrect().empty());
    }

    void summary_lastTenAttemptsAndTheWeakestSection()
    {
        std::vector<HistoryAttempt> all;
        // Newest first: ten recent attempts, then an old one that must not count.
        for (int i = 0; i < 10; ++i) {
            HistoryAttempt a;
            a.sections[0] = {1, 2};              // 50%
            a.sections[1] = {i == 0 ? 1 : 0, 1}; // 10%
            a.sections[2] = {2, 3};              // 67%
            all.push_back(a);
        }
        HistoryAttempt old;
        old.sections[1] = {100, 100};
        old.sections[4] = {0, 50};
        all.push_back(old);
        const HistorySummary summary(all);
        QCOMPARE(summary.attemptsCounted(), 10);
        QCOMPARE(summary.shares()[0].percent, 50);
        QCOMPARE(summary.shares()[1].correct, 1);
        QCOMPARE(summary.shares()[1].items, 10);
        QCOMPARE(summary.shares()[2].percent, 67);
        QCOMPARE(summary.shares()[4].items, 0); // only the old attempt had section 5
        QCOMPARE(summary.weakestSection(), 2);
        QCOMPARE(
            summary.weakestText(),
            QStringLiteral("Weakest section: Installation and Configuration (10% correct over the last 10 "
                           "attempts)"));

        // Both read 33%; the exact fractions pick 33/100 as lower than 1/3.
        HistoryAttempt close;
        close.sections[0] = {1, 3};
        close.sections[1] = {33, 100};
        QCOMPARE(HistorySummary({close}).weakestSection(), 2);
        QCOMPARE(HistorySummary({}).weakestSection(), 0);
    }

    void csv_quotesWhatNeedsQuoting()
    {
        HistoryAttempt a = attempt(Day1, 912);
        a.examTitle = QStringLiteral("User Exam");
        a.candidateName = QStringLiteral("Lovelace, \"Ada\"");
        a.timeUsedSeconds = 3 * 3600 + 5 * 60 + 7;
        const QStringList lines = HistoryCsv::text({a}).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3); // header, one attempt, and the final line break
        QVERIFY(lines[0].startsWith(QStringLiteral("Date,Exam,Candidate,Items,Correct,Score,Grade,Time limit,"
                                                   "Time used,Planning correct,Planning items,")));
        QVERIFY(lines[1].startsWith(QStringLiteral(
            "2026-03-01 09:30:00,User Exam,\"Lovelace, \"\"Ada\"\"\",0,0,912,Pass,1:30:00,3:05:07,3,5,")));
        QVERIFY(lines[1].endsWith(QStringLiteral(",0,2")));

        QTemporaryDir dir;
        QString error;
        QVERIFY(HistoryCsv::write(dir.filePath(QStringLiteral("h.csv")), {a}, &error));
        QVERIFY(!HistoryCsv::write(dir.filePath(QStringLiteral("missing/h.csv")), {a}, &error));
        QVERIFY(error.contains(QStringLiteral("Cannot write")));
    }
};

QTEST_MAIN(TestHistory)
#include "test_history.moc"
