#include "TestFolder.h"
#include "core/exam/ExamSession.h"
#include "core/history/RetakeSet.h"
#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/tables/Table.h"

#include <QFileInfo>
#include <QTest>

namespace {
// Records what an assembly reports.
class CountingProgress : public ExamSession::Progress
{
public:
    void begin(int count) override { begun = count; }
    void position(int index) override
    {
        last = index;
        ++positions;
    }
    void end() override { ++ended; }
    int begun = -1;
    int last = -1;
    int positions = 0;
    int ended = 0;
};

QStringList questionsOf(Table& t)
{
    QStringList texts;
    for (t.first(); !t.eof(); t.next())
        texts << t.fieldByName(ItemRecord::Q_TEXT).asString();
    return texts;
}
} // namespace

// The storage side of an exam, without any window.
class TestExamSession : public QObject
{
    Q_OBJECT
private slots:
    void countBank_keepsTheFilterAndClosesTheBank()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        ExamSession s;
        QCOMPARE(s.countBank(QStringLiteral("Q_EXAM_N<>0")), 11); // the retired item is left out
        QCOMPARE(s.countBank(QStringLiteral("Q_EXAM_N=3")), 2);
        QCOMPARE(s.countBank(QStringLiteral("Q_EXAM_N=9")), 0);
        QVERIFY(!s.bank()->isOpen());
        QVERIFY(s.bank()->filtered());
        QCOMPARE(s.bank()->filter(), QStringLiteral("Q_EXAM_N=9"));
    }

    void assemble_drawsEveryItemOnceInASeededOrder()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        env.writeEmptyCurrentSet();
        ExamSession s;
        QCOMPARE(s.countBank(QStringLiteral("Q_EXAM_N<>0")), 11);
        s.bank()->open();
        CountingProgress progress;
        const ExamSession::Assembled all = s.assemble(ExamAssembly::Source::Bank, -1, 4711, &progress);
        QCOMPARE(all.itemCount, 11);
        QCOMPARE(all.firstRecNo, 1);
        QCOMPARE(progress.begun, 11);
        QCOMPARE(progress.positions, 11);
        QCOMPARE(progress.ended, 1);
        const QStringList first = questionsOf(*s.currentSet());
        QCOMPARE(QSet<QString>(first.begin(), first.end()).size(), 11);

        // The same seed gives the same order; a part replaces the whole set.
        QCOMPARE(s.assemble(ExamAssembly::Source::Bank, -1, 4711).itemCount, 11);
        QCOMPARE(questionsOf(*s.currentSet()), first);
        const ExamSession::Assembled part = s.assemble(ExamAssembly::Source::Bank, 4, 99);
        QCOMPARE(part.itemCount, 4);
        QCOMPARE(s.currentSet()->recordCount(), 4);
        QCOMPARE(s.currentSet()->recNo(), 1);
    }

    void openUserSet_emptyIsClosedAgain()
    {
        TestFolder env;
        env.writeUserSet({});
        ExamSession s;
        QVERIFY(!s.openUserSet());
        QVERIFY(!s.userSet()->isOpen());
        env.writeUserSet({TestFolder::item(1, 1, QStringLiteral("U1"), QStringLiteral("a"))});
        QVERIFY(s.openUserSet());
        QVERIFY(s.userSet()->isOpen());
        CountingProgress progress;
        env.writeEmptyCurrentSet();
        QCOMPARE(s.assemble(ExamAssembly::Source::UserSet, -1, 5, &progress).itemCount, 1);
        QCOMPARE(questionsOf(*s.currentSet()), QStringList{QStringLiteral("U1")});
    }

    void closeExam_closesEveryTableAndClearsTheFilter()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        env.writeUserSet({TestFolder::item(1, 1, QStringLiteral("U1"), QStringLiteral("a"))});
        env.writeEmptyCurrentSet();
        ExamSession s;
        s.countBank(QStringLiteral("Q_EXAM_N=1"));
        s.bank()->open();
        s.assemble(ExamAssembly::Source::Bank, -1, 3);
        QVERIFY(s.openUserSet());
        s.closeExam();
        QVERIFY(!s.bank()->isOpen() && !s.currentSet()->isOpen() && !s.userSet()->isOpen());
        QVERIFY(!s.bank()->filtered());
        QCOMPARE(s.bank()->filter(), QString());
    }

    void saveNoteToBank_landsOnItsItemOrSaysWhy()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        ExamSession s;
        QString error;
        // A closed bank is opened for the note and closed again.
        QVERIFY(s.saveNoteToBank(3, QStringLiteral("Check DNS first"), &error));
        QVERIFY(error.isEmpty());
        QVERIFY(!s.bank()->isOpen());
        // The note is the candidate's, by the item's ID; the bank is never written.
        QCOMPARE(s.notes().readAll(), (QHash<qint64, QString>{{3, "Check DNS first"}}));
        QVERIFY(QFileInfo(s.notes().path()).absolutePath() == QFileInfo(env.userDir()).absoluteFilePath());

        // An open bank stays open; a missing item leaves every note alone.
        s.bank()->open();
        QVERIFY(!s.saveNoteToBank(999, QStringLiteral("lost?"), &error));
        QCOMPARE(error, QStringLiteral("Item 999 was not found in the question bank; the note is kept in "
                                       "this exam only."));
        QVERIFY(s.bank()->isOpen());
        QCOMPARE(s.bank()->state(), Table::State::Browse);
        QCOMPARE(s.notes().readAll(), (QHash<qint64, QString>{{3, "Check DNS first"}}));
        // Saved again, it replaces the note; emptied, the item has none.
        QVERIFY(s.saveNoteToBank(3, QStringLiteral("Check DNS twice"), &error));
        QCOMPARE(s.notes().readAll().value(3), QStringLiteral("Check DNS twice"));
        QVERIFY(s.saveNoteToBank(3, QString(), &error));
        QVERIFY(s.notes().readAll().isEmpty());
    }

    void noteWriter_refusesOnceTheSessionIsGone()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        auto* s = new ExamSession;
        const ExamSession::NoteWriter write = s->noteWriter();
        QString error;
        QVERIFY(write(3, QStringLiteral("first"), &error));
        delete s;
        QVERIFY(!write(3, QStringLiteral("second"), &error));
        QCOMPARE(error, QStringLiteral("The exam window is closed; the note is kept in this exam only."));
        QVERIFY(!write(3, QStringLiteral("third"), nullptr)); // no reason wanted, no crash

        ExamSession again;
        QCOMPARE(again.notes().readAll().value(3), QStringLiteral("first"));
    }

    void existingRetakeItems_keepsWhatTheSourcesStillHold()
    {
        TestFolder env;
        env.writeBank(TestFolder::sampleBank());
        env.writeUserSet({TestFolder::item(1, 1, QStringLiteral("U1"), QStringLiteral("a"))});
        env.writeEmptyCurrentSet();
        ExamSession s;
        HistoryAttempt attempt;
        for (auto [source, id] : {std::pair{ItemSource::Bank, 2}, std::pair{ItemSource::UserSet, 1},
                                  std::pair{ItemSource::Bank, 500}}) {
            HistoryItem item;
            item.source = source;
            item.number = id;
            item.correct = false;
            attempt.results.push_back(item);
        }
        const std::vector<RetakeSet::Item> items = s.existingRetakeItems(RetakeSet(attempt));
        QCOMPARE(items.size(), size_t(2)); // item 500 is gone from the bank
        QVERIFY(!s.bank()->isOpen() && !s.userSet()->isOpen());
        const ExamSession::Assembled retake = s.assembleRetake(items, 7);
        QCOMPARE(retake.itemCount, 2);
        const QStringList questions = questionsOf(*s.currentSet());
        QVERIFY(questions.contains(QStringLiteral("U1")));
    }
};

QTEST_GUILESS_MAIN(TestExamSession)
#include "test_examsession.moc"
