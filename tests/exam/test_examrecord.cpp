#include "TestFolder.h"
#include "core/exam/ExamKeeper.h"
#include "core/exam/ExamRecord.h"
#include "core/exam/ExamSession.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Database.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QFile>
#include <QTest>

namespace {
ExamRecord::Exam sampleExam(int items)
{
    ExamRecord::Exam e;
    e.title = QStringLiteral("Practice Exam B");
    e.candidateName = QStringLiteral("Ada");
    e.timeLimitSeconds = 90 * 60;
    e.elapsedSeconds = 17;
    e.currentRecNo = 2;
    for (int i = 0; i < items; ++i) {
        e.items.push_back({i % 3 ? ItemSource::Bank : ItemSource::UserSet, 100 + i});
        AnswerEntry a;
        a.Section = 1 + i % 6;
        e.answers.push_back(a);
        e.learnShown.push_back(false);
    }
    return e;
}
} // namespace

// The record an interrupted exam is given back from, without any window.
class TestExamRecord : public QObject
{
    Q_OBJECT
private slots:
    void everyChange_isThereForTheNextReader()
    {
        TestFolder env;
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);
        {
            ExamRecord none(env.userDir());
            QVERIFY(!none.exists());
            QVERIFY(none.load().title.isEmpty());
        }
        ExamRecord writer(env.userDir());
        writer.begin(sampleExam(5));
        AnswerEntry answer;
        answer.Choice = {0, 1, 0, 1, 0, 0};
        answer.Marked = 1;
        answer.Correct = 1;
        writer.setAnswer(3, answer);
        writer.setLearnShown(4);
        writer.setCurrent(5);
        writer.setElapsed(61);
        writer.setMode(ExamMode::Reviewing, true);

        // Another reader, as after a kill: the writer never closed.
        ExamRecord reader(env.userDir());
        const ExamRecord::Exam back = reader.load();
        QCOMPARE(back.title, QStringLiteral("Practice Exam B"));
        QCOMPARE(back.candidateName, QStringLiteral("Ada"));
        QCOMPARE(back.timeLimitSeconds, 90 * 60);
        QCOMPARE(back.elapsedSeconds, 61);
        QCOMPARE(back.currentRecNo, 5);
        QCOMPARE(back.mode, ExamMode::Reviewing);
        QVERIFY(back.recorded);
        QVERIFY(back.items == sampleExam(5).items);
        QCOMPARE(back.answers[2].Choice, (std::array<std::uint8_t, 6>{0, 1, 0, 1, 0, 0}));
        QCOMPARE(int(back.answers[2].Marked), 1);
        QCOMPARE(int(back.answers[2].Correct), 1);
        QCOMPARE(back.answers[4].Section, 5);
        QCOMPARE(back.learnShown, (std::vector<bool>{false, false, false, true, false}));
        QCOMPARE(back.answeredCount(), 1);

        // A new exam replaces it; forgetting leaves nothing behind.
        reader.close();
        writer.begin(sampleExam(2));
        QCOMPARE(int(reader.load().items.size()), 2);
        reader.close();
        writer.forget();
        QVERIFY(!writer.exists());
        QVERIFY(!QFile::exists(writer.filePath() + QStringLiteral("-wal")));
        QVERIFY(writer.load().title.isEmpty());
    }

    void recordNotWhole_isNoExam_damagedOneSaysSo()
    {
        TestFolder env;
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);
        ExamRecord record(env.userDir());
        record.begin(sampleExam(3));
        record.close();
        {
            // Killed between making the file and writing the exam's row.
            Database db;
            db.open(record.filePath(), session.rawKey(), Database::Access::ReadWrite, TableKind::ExamRecord);
            db.exec(QStringLiteral("DELETE FROM items WHERE POS = 0"));
        }
        QVERIFY(record.load().title.isEmpty());
        record.close();

        // A hole in the items, or a current item outside the exam, is damage.
        record.begin(sampleExam(3));
        record.close();
        {
            Database db;
            db.open(record.filePath(), session.rawKey(), Database::Access::ReadWrite, TableKind::ExamRecord);
            db.exec(QStringLiteral("DELETE FROM items WHERE POS = 2"));
        }
        QVERIFY_THROWS_EXCEPTION(TableError, record.load());
        record.close();
        record.begin(sampleExam(3));
        record.setCurrent(9);
        QVERIFY_THROWS_EXCEPTION(TableError, record.load());
        record.close();

        // Bytes that are no table at all.
        QFile f(record.filePath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'x'));
        f.close();
        QFile::remove(record.filePath() + QStringLiteral("-wal"));
        try {
            record.load();
            QFAIL("a file of garbage was read as an exam");
        } catch (const TableError& e) {
            QVERIFY(e.message().contains(record.filePath()));
        }
    }

    void keeper_writesTheClockEveryFewSeconds_andAFailureIsToldOnce()
    {
        TestFolder env;
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);
        QStringList told;
        ExamKeeper keeper(env.userDir());
        keeper.setFailureHandler([&](const QString& reason) { told << reason; });
        keeper.begin(sampleExam(3));
        QVERIFY(keeper.keeping());
        keeper.elapsed(18, 5); // less than five seconds on: not written
        keeper.elapsed(21, 5);
        keeper.close();
        QCOMPARE(keeper.record().load().elapsedSeconds, 17);
        keeper.resume();
        keeper.elapsed(22, 5); // the first after a resume is written
        keeper.close();
        QCOMPARE(keeper.record().load().elapsedSeconds, 22);
        keeper.record().close();
        QVERIFY(told.isEmpty());

        // A folder that takes no file: told once, the exam goes on unkept.
        ExamKeeper nowhere(QStringLiteral("/proc/velarix-exam"));
        nowhere.setFailureHandler([&](const QString& reason) { told << reason; });
        nowhere.begin(sampleExam(3));
        nowhere.answer(1, AnswerEntry{});
        nowhere.current(2);
        QCOMPARE(told.size(), 1);
        QVERIFY(!nowhere.keeping());
        nowhere.forget(); // nothing to remove, nothing raised
    }

    void itemsOf_theCurrentSetInItsOrder()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({TestFolder::item(0, 2, QStringLiteral("own"), QStringLiteral("a"))});
        ExamSession s;
        QCOMPARE(s.countBank(QStringLiteral("Q_EXAM_N<>0")), 11);
        s.bank()->open();
        s.assemble(ExamAssembly::Source::Bank, 3, 7);
        Table& set = *s.currentSet();
        set.setRecNo(2);
        const std::vector<ExamRecord::Item> items = ExamRecord::itemsOf(set);
        QCOMPARE(set.recNo(), 2);
        QCOMPARE(int(items.size()), 3);
        for (int r = 1; r <= 3; ++r) {
            set.setRecNo(r);
            QCOMPARE(items[r - 1].number, set.fieldByName(ItemRecord::Q_OR_NUMBER).asInteger());
            QVERIFY(items[r - 1].source == ItemSource::Bank);
        }
        s.closeExam();
        QVERIFY(s.openUserSet());
        s.assemble(ExamAssembly::Source::UserSet, -1, 7);
        QVERIFY(ExamRecord::itemsOf(*s.currentSet()).front().source == ItemSource::UserSet);
        s.closeExam();
    }
};

QTEST_GUILESS_MAIN(TestExamRecord)
#include "test_examrecord.moc"
