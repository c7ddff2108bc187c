// Kills a process at random points while it assembles an exam, saves a note
// or saves a sampler item through the program's own code, then checks that
// every table opens, that every acknowledged write is there whole and that
// the current exam set holds a whole exam. And kills the making of each
// table at each of its writes in turn: the table is then missing or whole,
// and the next attempt makes it without a word about damage.
#include "KillSafetyText.h"
#include "TestEnv.h"
#include "core/history/ScoreHistory.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

using namespace ItemRecord;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// Each run is several times slower under the sanitizers: fewer kills there,
// each still crossing every path; the regular build makes the full count.
constexpr int KillPoints = 8;
constexpr int CreationSpread = 12;
#else
constexpr int KillPoints = 20;
constexpr int CreationSpread = 40;
#endif
constexpr int BankItems = 60;

// What one run of the child acknowledged before it was killed.
struct Run
{
    QStringList acks;
    QString log; // for failure messages
};

} // namespace

class TestKillSafety : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<Session> session; // the tables' session, for the checks
    QHash<qint64, QString> bankText;  // Q_ID -> Q_TEXT

    void writeTables()
    {
        QList<TestItem> items;
        for (int i = 1; i <= BankItems; ++i) {
            TestItem item = TestEnv::item(1 + i % 5, 1 + i % 6,
                                          QStringLiteral("item %1 %2").arg(i).arg(QString(1500, u'q')),
                                          QStringLiteral("b"));
            item.explanation = QString(1500, u'e');
            items << item;
            bankText.insert(i, item.question);
        }
        env->writeBank(items);
        env->writeEmptyCurrentSet();
        env->writeUserSet({});
    }

    QProcess* startChild(const QString& mode, int first)
    {
        auto* child = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The child's scratch folders stay inside this test's folder.
        QDir(env->dir()).mkpath(QStringLiteral("tmp"));
        environment.insert(QStringLiteral("TMPDIR"), env->path(QStringLiteral("tmp")));
        child->setProcessEnvironment(environment);
        child->setProcessChannelMode(QProcess::SeparateChannels);
        child->start(QStringLiteral(KILLSAFETY_CHILD), {mode, env->dir(), QString::number(first)});
        child->waitForStarted(30000);
        return child;
    }

    // Reads the child's lines until `until` (ms from now) has passed or, with
    // `ackCount`, that many acknowledgements have come.
    static void readFor(QProcess* child, Run& run, int until, int ackCount = -1)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < until && (ackCount < 0 || run.acks.size() < ackCount)) {
            child->waitForReadyRead(int(qMax<qint64>(1, qMin<qint64>(until - clock.elapsed(), 20))));
            while (child->canReadLine())
                run.acks << QString::fromUtf8(child->readLine()).trimmed();
            if (child->state() != QProcess::Running)
                break;
        }
    }

    // Starts the child, lets it write for `delayMs` after it is ready and
    // kills it. Fails when the child stops by itself.
    Run runAndKill(const QString& mode, int first, int delayMs, int ackCount = -1)
    {
        Run run;
        QProcess* child = startChild(mode, first);
        const auto cleanup = qScopeGuard([child] {
            child->kill();
            child->waitForFinished(10000);
            delete child;
        });
        readFor(child, run, 120000, 1);
        if (run.acks.value(0) != QLatin1String("ready")) {
            run.log = QString::fromUtf8(child->readAllStandardError());
            run.acks.clear();
            run.acks << QStringLiteral("not ready");
            return run;
        }
        run.acks.removeFirst();
        readFor(child, run, delayMs, ackCount);
        child->kill();
        child->waitForFinished(10000);
        while (child->canReadLine())
            run.acks << QString::fromUtf8(child->readLine()).trimmed();
        run.log = QString::fromUtf8(child->readAllStandardError());
        return run;
    }

    // Opens a table of the program folder and reads every field of every
    // record; a damaged table fails here.
    QString readAll(const QString& file, const std::function<void(Table&)>& visit = {})
    {
        try {
            Table t(TableFiles::SessionName,
                    file == TableFiles::Bank ? env->path(file) : env->userPath(file));
            t.open();
            for (t.first(); !t.eof(); t.next()) {
                for (const FieldDef& f : t.schema().fields)
                    t.fieldByName(f.name).value();
                if (visit)
                    visit(t);
            }
            return {};
        } catch (const TableError& e) {
            return QStringLiteral("%1: %2").arg(file, e.message());
        }
    }

    void checkAllTablesOpen(const QString& where)
    {
        for (const QString& file :
             {TableFiles::Bank, TableFiles::CurrentSet, TableFiles::UserSet, TableFiles::Notes}) {
            const QString error = readAll(file);
            QVERIFY2(error.isEmpty(), qPrintable(where + QStringLiteral(": ") + error));
        }
    }

    // Every bank item once, each with its own text.
    void checkWholeExam(const QString& where)
    {
        QHash<qint64, int> seen;
        QString problem;
        const QString error = readAll(TableFiles::CurrentSet, [&](Table& t) {
            const qint64 id = t.fieldByName(Q_OR_NUMBER).asInteger();
            if (++seen[id] > 1)
                problem = QStringLiteral("item %1 twice").arg(id);
            if (t.fieldByName(Q_TEXT).asString() != bankText.value(id))
                problem = QStringLiteral("item %1 not whole").arg(id);
        });
        QVERIFY2(error.isEmpty(), qPrintable(where + QStringLiteral(": ") + error));
        QVERIFY2(problem.isEmpty(), qPrintable(where + QStringLiteral(": ") + problem));
        QVERIFY2(seen.size() == BankItems,
                 qPrintable(QStringLiteral("%1: the current set holds %2 of %3 items")
                                .arg(where)
                                .arg(seen.size())
                                .arg(BankItems)));
    }

    // The time the child takes for one write, from three of them.
    int measureCycle(const QString& mode, int first, Run* measured = nullptr)
    {
        QElapsedTimer clock;
        clock.start();
        const Run run = runAndKill(mode, first, 120000, 3);
        if (measured)
            *measured = run;
        return qMax(20, int(clock.elapsed() / 4)); // starting up counts as one more
    }

    // Runs the creation child in `folder`, killed at write `killAt` (0:
    // never). Gives its output; *killed tells whether it died by the kill.
    QString runCreation(const QString& mode, const QString& folder, int killAt, bool* killed)
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (killAt > 0)
            environment.insert(QStringLiteral("VELARIX_FAULT_KILL_AT"), QString::number(killAt));
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(TABLECREATE_CHILD), {mode, folder});
        child.waitForFinished(60000);
        *killed = child.exitStatus() == QProcess::CrashExit;
        return QString::fromUtf8(child.readAllStandardOutput() + child.readAllStandardError()).trimmed();
    }

    // The table the mode makes: missing, or whole (every record read);
    // gives its record count, -1 when missing, or the failure.
    int recordsOf(const QString& mode, const QString& folder, QString* failure)
    {
        const QString file = mode == QLatin1String("history")   ? ScoreHistory::FileName
                             : mode == QLatin1String("current") ? TableFiles::CurrentSet
                             : mode == QLatin1String("userset") ? TableFiles::UserSet
                             : mode == QLatin1String("notes")   ? TableFiles::Notes
                                                                : TableFiles::Bank;
        const TableKind kind = mode == QLatin1String("history")   ? TableKind::History
                               : mode == QLatin1String("current") ? TableKind::CurrentSet
                               : mode == QLatin1String("userset") ? TableKind::UserSet
                               : mode == QLatin1String("notes")   ? TableKind::Notes
                                                                  : TableKind::Bank;
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo::exists(path))
            return -1;
        try {
            Table t(TableFiles::SessionName, path);
            t.setKind(kind);
            t.open();
            for (t.first(); !t.eof(); t.next()) {
                for (const FieldDef& f : t.schema().fields)
                    t.fieldByName(f.name).value();
            }
            return t.recordCount();
        } catch (const TableError& e) {
            *failure = e.message();
            return -1;
        }
    }

private slots:
    void initTestCase()
    {
        session = std::make_unique<Session>(TableFiles::SessionName);
        session->registerPassword(TableFiles::Password);
    }
    void init()
    {
        env = std::make_unique<TestEnv>();
        bankText.clear();
        writeTables();
    }
    void cleanup() { env.reset(); }

    void assembly_killedAnywhere_leavesAWholeExam()
    {
        // A first whole exam, then kills during the following ones.
        const Run first = runAndKill(QStringLiteral("assembly"), 1, 120000, 1);
        QVERIFY2(first.acks.contains(QStringLiteral("assembled 1")), qPrintable(first.log));
        checkWholeExam(QStringLiteral("first exam"));
        const int cycle = measureCycle(QStringLiteral("assembly"), 2);
        QRandomGenerator random(20261209);
        for (int point = 0; point < KillPoints; ++point) {
            const int delay = random.bounded(2 * cycle);
            const QString where = QStringLiteral("kill %1 after %2 ms").arg(point).arg(delay);
            const Run run = runAndKill(QStringLiteral("assembly"), 100 * (point + 1), delay);
            QVERIFY2(run.acks.value(0) != QLatin1String("not ready"), qPrintable(where + run.log));
            checkAllTablesOpen(where);
            checkWholeExam(where);
        }
    }

    void noteSave_killedAnywhere_keepsEveryAcknowledgedNote()
    {
        Run run;
        const int cycle = measureCycle(QStringLiteral("note"), 1, &run);
        QRandomGenerator random(20261210);
        QHash<qint64, int> lastNote; // bank item -> number of its last acknowledged note
        QList<int> unacknowledged;   // notes that may or may not have landed
        // Point -1 is the run that measured the time a note takes.
        for (int point = -1; point < KillPoints; ++point) {
            // Each run makes a whole exam first, then saves notes.
            const int delay = random.bounded(3 * cycle);
            const QString where = QStringLiteral("kill %1 after %2 ms").arg(point).arg(delay);
            const int first = 1000 * (point + 1) + 1;
            if (point >= 0)
                run = runAndKill(QStringLiteral("note"), first, delay);
            QVERIFY2(run.acks.value(0) != QLatin1String("not ready"), qPrintable(where + run.log));
            int last = first - 1;
            for (const QString& ack : run.acks) {
                const QStringList parts = ack.split(u' ');
                if (parts.size() == 3 && parts[0] == QLatin1String("note")) {
                    lastNote[parts[1].toLongLong()] = parts[2].toInt();
                    last = parts[2].toInt();
                }
            }
            unacknowledged << last + 1;

            checkAllTablesOpen(where);
            checkWholeExam(where);
            for (const QString& file : {TableFiles::Notes, TableFiles::CurrentSet}) {
                QString problem;
                const bool bank = file == TableFiles::Notes;
                const QString error = readAll(file, [&](Table& t) {
                    const qint64 id = t.fieldByName(bank ? Q_ID : Q_OR_NUMBER).asInteger();
                    const QString memo = t.fieldByName(U_MEMO).asString();
                    const int n = KillSafetyText::numberOf(QStringLiteral("note"), memo);
                    if (!memo.isEmpty() && n == 0)
                        problem = QStringLiteral("item %1: a torn note").arg(id);
                    // The current set is new each run: it holds only this run's notes.
                    if (!bank && !memo.isEmpty() && n < first)
                        return;
                    const int acked = lastNote.value(id, 0);
                    if (bank && acked > 0 && n != acked && !unacknowledged.contains(n))
                        problem = QStringLiteral("item %1: note %2 instead of %3").arg(id).arg(n).arg(acked);
                    if (bank && acked == 0 && n != 0 && !unacknowledged.contains(n))
                        problem = QStringLiteral("item %1: an unknown note %2").arg(id).arg(n);
                });
                QVERIFY2(error.isEmpty(), qPrintable(where + QStringLiteral(": ") + error));
                QVERIFY2(problem.isEmpty(),
                         qPrintable(where + QStringLiteral(", ") + file + QStringLiteral(": ") + problem +
                                    QStringLiteral(" (acknowledged: ") + run.acks.join(u',') + u')'));
            }
            // A note that landed unacknowledged is from now on the item's note.
            readAll(TableFiles::Notes, [&](Table& t) {
                const int n =
                    KillSafetyText::numberOf(QStringLiteral("note"), t.fieldByName(U_MEMO).asString());
                if (n > 0)
                    lastNote[t.fieldByName(Q_ID).asInteger()] = n;
            });
        }
    }

    void samplerSave_killedAnywhere_keepsEveryAcknowledgedItem()
    {
        const int cycle = measureCycle(QStringLiteral("sampler"), 1);
        QRandomGenerator random(20261211);
        int acknowledged = 0;
        for (int point = 0; point < KillPoints; ++point) {
            const int delay = random.bounded(2 * cycle);
            const QString where = QStringLiteral("kill %1 after %2 ms").arg(point).arg(delay);
            const Run run = runAndKill(QStringLiteral("sampler"), 1, delay);
            QVERIFY2(run.acks.value(0) != QLatin1String("not ready"), qPrintable(where + run.log));
            for (const QString& ack : run.acks) {
                if (ack.startsWith(QLatin1String("saved ")))
                    acknowledged = qMax(acknowledged, ack.mid(6).toInt());
            }
            checkAllTablesOpen(where);

            QList<int> numbers;
            QString problem;
            const QString error = readAll(TableFiles::UserSet, [&](Table& t) {
                const int n =
                    KillSafetyText::numberOf(QStringLiteral("question"), t.fieldByName(Q_TEXT).asString());
                numbers << n;
                bool whole = n > 0 && t.fieldByName(Q_EXPL).asString() == KillSafetyText::explanation(n) &&
                             t.fieldByName(Q_SECT).asInteger() == KillSafetyText::section(n);
                for (int k = 1; k <= 4 && whole; ++k)
                    whole =
                        t.fieldByName(choiceText(k)).asString() == KillSafetyText::choice(n, k) &&
                        t.fieldByName(choiceFlag(k)).asBoolean() == (k == KillSafetyText::correctChoice(n));
                if (!whole)
                    problem = QStringLiteral("record %1 is not whole: %2 / %3 / section %4")
                                  .arg(t.recNo())
                                  .arg(t.fieldByName(Q_TEXT).asString().left(40),
                                       t.fieldByName(Q_EXPL).asString().left(40))
                                  .arg(t.fieldByName(Q_SECT).asInteger());
            });
            QVERIFY2(error.isEmpty(), qPrintable(where + QStringLiteral(": ") + error));
            QVERIFY2(problem.isEmpty(), qPrintable(where + QStringLiteral(": ") + problem));
            // Items 1..k in order, k at least the last acknowledged one and at
            // most one more (saved, but killed before it could say so).
            for (int i = 0; i < numbers.size(); ++i)
                QVERIFY2(numbers[i] == i + 1,
                         qPrintable(where + QStringLiteral(": item %1 out of order").arg(i + 1)));
            QVERIFY2(numbers.size() >= acknowledged && numbers.size() <= acknowledged + 1,
                     qPrintable(QStringLiteral("%1: %2 items, %3 acknowledged")
                                    .arg(where)
                                    .arg(numbers.size())
                                    .arg(acknowledged)));
            acknowledged = int(numbers.size());
        }
        QVERIFY2(acknowledged > 0, "no item was ever saved");
    }

    void creation_killedAtEachWrite_leavesNoTableOrAWholeOne_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("records"); // once made
        QTest::newRow("score history, at the first grading") << "history" << 1;
        QTest::newRow("current exam set") << "current" << 0;
        QTest::newRow("own question set") << "userset" << 0;
        QTest::newRow("notes, at the first note") << "notes" << 1;
        QTest::newRow("question bank") << "bank" << 30;
    }
    void creation_killedAtEachWrite_leavesNoTableOrAWholeOne()
    {
        QFETCH(QString, mode);
        QFETCH(int, records);
        const QString measure = env->path(QStringLiteral("measure"));
        QVERIFY(QDir().mkpath(measure));
        bool killed = false;
        const QString clean = runCreation(mode, measure, 0, &killed);
        QVERIFY2(clean.startsWith(QLatin1String("done ")), qPrintable(clean));
        const int writes = clean.mid(5).toInt();
        QVERIFY(writes > 3);
        QString failure;
        QCOMPARE(recordsOf(mode, measure, &failure), records);
        // Every write of a table's making, or a spread over a long one.
        const int step = qMax(1, writes / CreationSpread);
        int killedRuns = 0;
        for (int at = 1; at <= writes; at += step) {
            const QString where =
                QStringLiteral("%1, killed at write %2 of %3").arg(mode).arg(at).arg(writes);
            const QString folder = env->path(QStringLiteral("kill-%1").arg(at));
            QVERIFY(QDir().mkpath(folder));
            const QString out = runCreation(mode, folder, at, &killed);
            QVERIFY2(killed, qPrintable(where + QStringLiteral(": ") + out));
            ++killedRuns;
            const int left = recordsOf(mode, folder, &failure);
            QVERIFY2(failure.isEmpty(), qPrintable(where + QStringLiteral(": ") + failure));
            QVERIFY2(left == -1 || left == 0 || left == records,
                     qPrintable(where + QStringLiteral(": %1 records").arg(left)));
            // The next attempt makes it, with nothing to tell about damage,
            // and leaves nothing of the killed one behind.
            const QString again = runCreation(mode, folder, 0, &killed);
            QVERIFY2(again.startsWith(QLatin1String("done ")),
                     qPrintable(where + QStringLiteral(": ") + again));
            const int made = recordsOf(mode, folder, &failure);
            QVERIFY2(failure.isEmpty(), qPrintable(where + QStringLiteral(": ") + failure));
            QVERIFY2(made == records || (mode == QLatin1String("history") && made == left + 1),
                     qPrintable(where + QStringLiteral(": %1 records after %2").arg(made).arg(left)));
            const QStringList leftovers = QDir(folder).entryList(
                {QStringLiteral("*.new-*"), QStringLiteral("*.damaged*")}, QDir::Files);
            QVERIFY2(leftovers.isEmpty(), qPrintable(where + QStringLiteral(": ") + leftovers.join(u' ')));
        }
        QVERIFY(killedRuns > 0);
    }

    // The record of the running exam, killed at seeded points of scripted
    // exams (each run continues the exam the last one left): every change
    // acknowledged before a kill is given back, but the one in flight.
    void runningExam_killedAnywhere_isGivenBackAsAcknowledged()
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QDir(env->dir()).mkpath(QStringLiteral("tmp"));
        environment.insert(QStringLiteral("TMPDIR"), env->path(QStringLiteral("tmp")));
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(KILLRESUME_TOOL), {QStringLiteral("--kills"), QString::number(KillPoints),
                                                     QStringLiteral("--seed"), QStringLiteral("20")});
        QVERIFY(tool.waitForFinished(240000));
        const QString out = QString::fromUtf8(tool.readAllStandardOutput());
        QVERIFY2(tool.exitCode() == 0, qPrintable(out + QString::fromUtf8(tool.readAllStandardError())));
        QVERIFY2(out.contains(QStringLiteral("kills: %1\n").arg(KillPoints)), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("changes lost: 0 ")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("tables damaged: 0 ")), qPrintable(out));
        QVERIFY2(!out.contains(QStringLiteral("changes acknowledged before the kills: 0\n")),
                 qPrintable(out));
    }
};

QTEST_GUILESS_MAIN(TestKillSafety)
#include "test_killsafety.moc"
