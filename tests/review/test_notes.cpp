// Notes: kept per bank item across exams, dropped when not saved.
#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/review/TNoteForm.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QtTest>

namespace {
using namespace ItemRecord;

// Starts practice exam A (bank items 1 and 2 of the sample bank) on the item copied from bank item id.
void startExamA(TTestForm* f, qint64 id)
{
    Driver::startExam(f, "Action1");
    for (int r = 1; r <= f->ItemCount; ++r) {
        f->dtCurrentSet->setRecNo(r);
        if (f->dtCurrentSet->fieldByName(Q_OR_NUMBER).asInteger() == id)
            return;
    }
    QFAIL("item not in the exam");
}

TTestForm* createWithBank(TestEnv& env, const QList<TestItem>& bank)
{
    env.writeBank(bank);
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    return env.createForms();
}

TNoteForm* note()
{
    return Driver::window<TNoteForm>();
}
QPlainTextEdit* noteBox()
{
    return Driver::find<QPlainTextEdit>(note(), "DBMemo1");
}
QString noteHeading()
{
    return Driver::find<QLabel>(note(), "Label2")->text();
}

// Runs fn inside the note window when it is shown modally; leaves by Exit.
void onNoteWindow(const std::function<void()>& fn)
{
    Dialogs::setModalHandler([fn](QDialog* d) {
        d->show();
        fn();
        if (d->isVisible())
            Driver::press(d, "Button3");
        return d->result();
    });
}

// The candidate's notes on bank items by Q_ID, read from their table.
QHash<qint64, QString> bankNotes(const TestEnv& env)
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    return NoteBook(TableFiles::SessionName, env.userPath(TableFiles::Notes)).readAll();
}

// "Save Note" and "Cancel" are enabled together or not at all.
bool buttonsEnabled()
{
    const bool save = Driver::find<QPushButton>(note(), "Button1")->isEnabled();
    if (save != Driver::find<QPushButton>(note(), "Button2")->isEnabled())
        qFatal("Save Note and Cancel disagree");
    return save;
}
} // namespace

class TestNotes : public QObject
{
    Q_OBJECT
private slots:
    void savedNoteComesBackInTheNextExam();
    void unsavedNoteIsDropped();
    void noteLandsOnItsOwnBankItem();
    void noteWindowOpenWhenTheTimeRunsOut_noteStaysOnItsItem();
    void bankItemGone_keepsTheNoteInTheExam();
    void closedBank_isOpenedForTheNoteAndClosedAgain();
};

void TestNotes::savedNoteComesBackInTheNextExam()
{
    TestEnv env;
    TTestForm* f = createWithBank(env, TestEnv::sampleBank());
    startExamA(f, 2);
    onNoteWindow([f] {
        QCOMPARE(noteHeading(), QStringLiteral("Practice Exam A,  Item ID: 2"));
        QTest::keyClicks(noteBox(), QStringLiteral("Check DNS first"));
        QVERIFY(buttonsEnabled());
        QCOMPARE(f->dtCurrentSet->state(), Table::State::Edit);
        const QByteArray shots = qgetenv("VELARIX_SHOTS");
        if (!shots.isEmpty())
            note()->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/note.png"));
        Driver::press(note(), "Button1"); // Save Note
        QVERIFY(!buttonsEnabled());
        QCOMPARE(f->dtCurrentSet->state(), Table::State::Browse);
    });
    Driver::press(f, "NoteButton");
    QCOMPARE(f->dtCurrentSet->fieldByName(U_MEMO).asString(), QStringLiteral("Check DNS first"));
    f->CloseCurrentExam();
    QCOMPARE(bankNotes(env).value(2), QStringLiteral("Check DNS first"));
    QCOMPARE(bankNotes(env).value(1), QString());

    // The next exam with the item shows the note; an emptied note is stored empty.
    startExamA(f, 2);
    onNoteWindow([] {
        QCOMPARE(noteBox()->toPlainText(), QStringLiteral("Check DNS first"));
        QTest::keyClick(noteBox(), Qt::Key_A, Qt::ControlModifier); // select all
        QTest::keyClick(noteBox(), Qt::Key_Delete);
        Driver::press(note(), "Button1"); // Save Note
    });
    Driver::press(f, "NoteButton");
    f->CloseCurrentExam();
    QCOMPARE(bankNotes(env).value(2), QString());
}

void TestNotes::unsavedNoteIsDropped()
{
    QList<TestItem> bank = TestEnv::sampleBank();
    bank[0].memo = QStringLiteral("stored");
    TestEnv env;
    TTestForm* f = createWithBank(env, bank);
    startExamA(f, 1);
    onNoteWindow([] {
        QTest::keyClicks(noteBox(), QStringLiteral(" and more"));
        Driver::press(note(), "Button2"); // Cancel shows the stored note again
        QCOMPARE(noteBox()->toPlainText(), QStringLiteral("stored"));
        QVERIFY(!buttonsEnabled());
        QVERIFY(note()->isVisible());
        QTest::keyClicks(noteBox(), QStringLiteral("!"));
        note()->close(); // the close box drops it too
    });
    Driver::press(f, "NoteButton");
    QCOMPARE(f->dtCurrentSet->state(), Table::State::Browse);
    QCOMPARE(f->dtCurrentSet->fieldByName(U_MEMO).asString(), QStringLiteral("stored"));
    onNoteWindow([] {
        QCOMPARE(noteBox()->toPlainText(), QStringLiteral("stored"));
        QVERIFY(!buttonsEnabled());
        QTest::keyClicks(noteBox(), QStringLiteral("?")); // then Exit
    });
    Driver::press(f, "NoteButton");
    f->CloseCurrentExam();
    QCOMPARE(bankNotes(env).value(1), QStringLiteral("stored"));
}

void TestNotes::noteLandsOnItsOwnBankItem()
{
    // Item 1 is gone from the bank: item 2 is now record 1, and record 2 is item 3.
    TestEnv env;
    TTestForm* f = createWithBank(env, TestEnv::sampleBank());
    {
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);
        Table t(TableFiles::SessionName, env.path(TableFiles::Bank));
        t.open();
        QVERIFY(t.findKey(1));
        t.deleteRecord();
    }
    startExamA(f, 2);
    onNoteWindow([] {
        QTest::keyClicks(noteBox(), QStringLiteral("mine"));
        Driver::press(note(), "Button1"); // Save Note
    });
    Driver::press(f, "NoteButton");
    f->CloseCurrentExam();
    QCOMPARE(bankNotes(env).value(2), QStringLiteral("mine"));
    QCOMPARE(bankNotes(env).value(3), QString());
}

// A 1-minute exam: the note window is open on item 3 when the time runs out;
// the candidate grades and views the answers from the score window over it.
void TestNotes::noteWindowOpenWhenTheTimeRunsOut_noteStaysOnItsItem()
{
    QList<TestItem> bank = TestEnv::sampleBank();
    for (int i = 0; i < 2; ++i)
        bank << TestEnv::item(1, 3 + i, QStringLiteral("Extra %1").arg(i), QStringLiteral("a"));
    TestEnv env;
    TTestForm* f = createWithBank(env, bank);
    double now = 46000.25;
    Clock::setSource([&now] { return now; });
    const auto restoreClock = qScopeGuard([] { Clock::setSource({}); });
    Driver::startExam(f, "Action1", QStringLiteral("Tester"), 1);
    QCOMPARE(f->ItemCount, 4);
    f->dtCurrentSet->setRecNo(1);
    const qint64 first = f->dtCurrentSet->fieldByName(Q_OR_NUMBER).asInteger();
    f->dtCurrentSet->setRecNo(3);
    const qint64 third = f->dtCurrentSet->fieldByName(Q_OR_NUMBER).asInteger();

    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::No); // "Your time has expired." ... No: grade
    Dialogs::queueAnswer(Dialogs::Ok); // "This will end your practice exam." OK
    bool done = false;
    auto inNoteWindow = [&] {
        now += 61 / 86400.0;
        QTRY_COMPARE(f->examMode, ExamMode::Reviewing); // the clock's own tick
        QCOMPARE(f->dtCurrentSet->recNo(), 1);          // moved by "View Answers"
        QCOMPARE(noteHeading(), QStringLiteral("Practice Exam A,  Item ID: %1").arg(third));
        QTest::keyClicks(noteBox(), QStringLiteral("mine"));
        QVERIFY(buttonsEnabled());
        Driver::press(note(), "Button1"); // Save Note
        QVERIFY(!buttonsEnabled());
        QCOMPARE(f->dtCurrentSet->recNo(), 1); // the save leaves the table where it was
        done = true;
    };
    Dialogs::setModalHandler([&](QDialog* d) {
        if (qobject_cast<TScoreForm*>(d)) {
            Driver::press(d, "BitBtn1"); // View Answers
            return int(QDialog::Accepted);
        }
        if (!qobject_cast<TNoteForm*>(d))
            return int(QDialog::Rejected);
        d->show();
        inNoteWindow();
        if (d->isVisible())
            Driver::press(note(), "Button3");
        return d->result();
    });
    Driver::press(f, "NoteButton");
    QVERIFY(done);
    QCOMPARE(Dialogs::pendingAnswers(), 0);
    QCOMPARE(bankNotes(env).value(third), QStringLiteral("mine"));
    QCOMPARE(bankNotes(env).value(first), QString());
    QCOMPARE(f->dtCurrentSet->fieldByName(U_MEMO).asString(), QString()); // record 1

    // Closed, the window leaves the display on the current record.
    QVERIFY(Driver::find<QWidget>(f, "ScrollBox1")->isVisibleTo(f));
    const auto examLabel = [f](const char* name) { return Driver::find<QLabel>(f, name)->text(); };
    QCOMPARE(examLabel("Label1"), QStringLiteral("Item 1 of 4"));
    QCOMPARE(examLabel("Label2"), QStringLiteral("Item ID: %1").arg(first));
    QVERIFY(!Driver::find<QPushButton>(f, "PrevButton")->isEnabled());
    Driver::press(f, "NextButton");
    QCOMPARE(examLabel("Label1"), QStringLiteral("Item 2 of 4"));
    Driver::press(f, "PrevButton");
    QCOMPARE(examLabel("Label1"), QStringLiteral("Item 1 of 4"));
    f->dtCurrentSet->setRecNo(3);
    QCOMPARE(f->dtCurrentSet->fieldByName(U_MEMO).asString(), QStringLiteral("mine"));

    // "Exit Exam" from a score window over the note window closes the note window too.
    f->CloseCurrentExam();
    Driver::startExam(f, "Action1", QStringLiteral("Tester"), 1);
    Dialogs::queueAnswer(Dialogs::No);
    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::queueAnswer(Dialogs::Yes); // "Are you sure you wish to end this exam?"
    bool closedUnder = false;
    Dialogs::setModalHandler([&](QDialog* d) {
        if (qobject_cast<TScoreForm*>(d)) {
            Driver::press(d, "BitBtn3"); // Exit Exam, confirmed
            return int(QDialog::Rejected);
        }
        if (!qobject_cast<TNoteForm*>(d))
            return int(QDialog::Rejected);
        d->show();
        now += 61 / 86400.0;
        [&] { QTRY_VERIFY_WITH_TIMEOUT(f->examMode == ExamMode::Idle, 5000); }();
        closedUnder = !d->isVisible();
        return d->result();
    });
    Dialogs::clearLog();
    Driver::press(f, "NoteButton");
    QVERIFY(closedUnder);
    QVERIFY(!Dialogs::shownMessages().join(QLatin1Char('\n')).contains(QStringLiteral("Error")));
}

void TestNotes::bankItemGone_keepsTheNoteInTheExam()
{
    TestEnv env;
    TTestForm* f = createWithBank(env, TestEnv::sampleBank());
    startExamA(f, 2);
    // A new release of the bank without the item (the exam's own bank is
    // read-only and opened again for the note).
    f->dtQSet->close();
    {
        Table bank(TableFiles::SessionName, env.path(TableFiles::Bank));
        bank.open();
        QVERIFY(bank.findKey(2));
        bank.deleteRecord();
    }
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    onNoteWindow([f] {
        QTest::keyClicks(noteBox(), QStringLiteral("kept"));
        Driver::press(note(), "Button1"); // Save Note
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QVERIFY(Dialogs::shownMessages().first().startsWith(QStringLiteral("Error: ")));
        QVERIFY(Dialogs::shownMessages().first().contains(QStringLiteral("was not found")));
        QVERIFY(buttonsEnabled());
        QCOMPARE(f->dtCurrentSet->state(), Table::State::Browse);
    });
    Driver::press(f, "NoteButton");
    QCOMPARE(f->dtCurrentSet->fieldByName(U_MEMO).asString(), QStringLiteral("kept"));
    QVERIFY(!f->dtQSet->isOpen());
    QVERIFY(!bankNotes(env).values().contains(QStringLiteral("kept")));
}

void TestNotes::closedBank_isOpenedForTheNoteAndClosedAgain()
{
    TestEnv env;
    TTestForm* f = createWithBank(env, TestEnv::sampleBank());
    startExamA(f, 2);
    f->dtQSet->close();
    Dialogs::clearLog();
    onNoteWindow([] {
        QTest::keyClicks(noteBox(), QStringLiteral("reached the bank"));
        Driver::press(note(), "Button1"); // Save Note
        QVERIFY(!buttonsEnabled());
    });
    Driver::press(f, "NoteButton");
    QVERIFY(Dialogs::shownMessages().isEmpty());
    QVERIFY(!f->dtQSet->isOpen());
    QCOMPARE(bankNotes(env).value(2), QStringLiteral("reached the bank"));
}

QTEST_MAIN(TestNotes)
#include "test_notes.moc"
