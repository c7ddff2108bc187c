// Where the files are: what ships is only read, each candidate's data is in
// their own data folder, and a program folder of the earlier layout is
// carried over once.
#include "TestEnv.h"
#include "core/sampler/TDM.h"
#include "core/store/CandidateTables.h"
#include "core/store/DataFolder.h"
#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/transfer/QuestionFile.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/review/TNoteForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/DBMemo.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedButton.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

namespace {
using namespace ItemRecord;

// The files directly in a folder with a digest of their bytes: a file
// written, added or taken away shows, whatever its permission bits say
// (the tests run as root, who may write a read-only file).
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            files.insert(name, QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
        else
            files.insert(name, QByteArray("unreadable"));
    }
    return files;
}

void setReadOnly(const QString& folder, bool readOnly)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files))
        QFile::setPermissions(dir.filePath(name),
                              readOnly ? QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther
                                       : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QFile::setPermissions(folder,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                              (readOnly ? QFile::Permissions() : QFile::Permissions(QFile::WriteOwner)));
}

// The candidate's notes by item ID, from their table.
QHash<qint64, QString> notesOf(const QString& path)
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    return NoteBook(TableFiles::SessionName, path).readAll();
}

int recordsIn(const QString& path)
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    Table t(TableFiles::SessionName, path);
    t.open();
    return t.recordCount();
}

// Edits a table of the program folder as an earlier version or a new
// release of the bank would have left it.
void editTable(const QString& path, const std::function<void(Table&)>& change)
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    Table t(TableFiles::SessionName, path);
    t.open();
    change(t);
}

void setBankMemo(Table& bank, qint64 id, const QString& memo)
{
    QVERIFY(bank.findKey(id));
    bank.edit();
    bank.fieldByName(U_MEMO).setAsString(memo);
    bank.post();
}
} // namespace

class TestDataFolders : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TMainForm* mainForm = nullptr;
    TTestForm* form = nullptr;

    void startExamA()
    {
        Driver::startExam(form, "Action1");
        QCOMPARE(form->examMode, ExamMode::Testing);
    }
    // The note of the exam item copied from bank item `id`, as the exam shows it.
    QString examNote(qint64 id)
    {
        Table& ces = *form->dtCurrentSet;
        for (int r = 1; r <= form->ItemCount; ++r) {
            ces.setRecNo(r);
            if (ces.fieldByName(Q_OR_NUMBER).asInteger() == id)
                return ces.fieldByName(U_MEMO).asString();
        }
        return QStringLiteral("<item %1 not in the exam>").arg(id);
    }
    // Writes a note on the current exam item through the note window's Save.
    void saveNote(const QString& text)
    {
        Dialogs::setModalHandler([text](QDialog* d) {
            d->show();
            QTest::keyClick(Driver::find<QPlainTextEdit>(d, "DBMemo1"), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(Driver::find<QPlainTextEdit>(d, "DBMemo1"), text);
            Driver::press(d, "Button1");
            Driver::press(d, "Button3");
            return d->result();
        });
        Driver::press(form, "NoteButton");
        Dialogs::setModalHandler({});
    }
    // The program's windows made afresh, the start window with them.
    void makeWindows()
    {
        delete mainForm;
        form = env->createForms();
        mainForm = new TMainForm(env->windows());
        QDir::setCurrent(env->dir()); // the start window moved to the program's folder
    }
    void openSampler()
    {
        Dialogs::setModalHandler([](QDialog* d) {
            d->show();
            return int(QDialog::Accepted);
        });
        mainForm->show();
        Driver::press(mainForm, "SamplerBtn");
        QVERIFY(env->windows().sampler().isVisible());
    }
    // A new own question through the sampler's Add and Save.
    void addOwnQuestion(const QString& text)
    {
        TSamplerForm* sampler = &env->windows().sampler();
        Driver::press(sampler, "AddAct");
        QTest::keyClicks(Driver::find<QPlainTextEdit>(sampler, "DBMemo1"), text);
        Driver::press(sampler, "BitBtn1");
    }
    void closeSampler()
    {
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(&env->windows().sampler(), "Exit1");
        Dialogs::setModalHandler({});
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->writeBank(TestEnv::sampleBank());
        form = env->createForms();
        mainForm = new TMainForm(env->windows());
        // The start window makes the folder of what ships the working folder.
        QDir::setCurrent(env->dir());
        Dialogs::clearLog();
    }
    void cleanup()
    {
        QVERIFY2(Dialogs::shownMessages().filter(QStringLiteral("Error")).isEmpty(),
                 qPrintable(Dialogs::shownMessages().join(u'\n')));
        env->destroyForms();
        delete mainForm;
        mainForm = nullptr;
        form = nullptr;
        env.reset();
    }

    void shippedFolder_isBesideTheProgramOrInstalledData()
    {
        QTemporaryDir tmp;
        QDir(tmp.path()).mkpath(QStringLiteral("usr/bin"));
        QDir(tmp.path()).mkpath(QStringLiteral("usr/share/velarix"));
        const QString bin = tmp.filePath(QStringLiteral("usr/bin"));
        // Nothing anywhere: the program's own folder, where the missing bank is named.
        QCOMPARE(DataFolder::shippedFor(bin), bin);
        QFile(tmp.filePath(QStringLiteral("usr/share/velarix/velarix2.DAT"))).open(QIODevice::WriteOnly);
        QCOMPARE(DataFolder::shippedFor(bin), tmp.filePath(QStringLiteral("usr/share/velarix")));
        // A bank beside the program (a build folder) comes first.
        QFile(tmp.filePath(QStringLiteral("usr/bin/velarix2.DAT"))).open(QIODevice::WriteOnly);
        QCOMPARE(DataFolder::shippedFor(bin), bin);
    }

    void readOnlyProgramFolder_examNoteSamplerAndImport_leaveItByteForByte()
    {
        const QString gift = env->path(QStringLiteral("config/mine.gift"));
        {
            QFile f(gift);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("$CATEGORY: Planning\n\nImported one? {=yes ~no}\n\nImported two? {~no =yes}\n");
        }
        // As installed: the bank alone (writing it left its lock file).
        QFile::remove(env->path(TableFiles::Bank) + QStringLiteral(".lck"));
        setReadOnly(env->dir(), true);
        const auto writable = qScopeGuard([this] { setReadOnly(env->dir(), false); });
        const QMap<QString, QByteArray> before = snapshot(env->dir());
        QCOMPARE(before.keys(), QStringList{TableFiles::Bank});

        startExamA();
        const qint64 item = form->dtCurrentSet->fieldByName(Q_OR_NUMBER).asInteger();
        saveNote(QStringLiteral("read-only folder"));
        form->CloseCurrentExam();

        openSampler();
        addOwnQuestion(QStringLiteral("My own question"));
        Dialogs::queueFileChoice(gift, QuestionFile::giftFilter());
        Dialogs::queueAnswer(Dialogs::Ok); // what came in
        Driver::press(&env->windows().sampler(), "Import1");
        closeSampler();

        QCOMPARE(snapshot(env->dir()), before);
        // What the candidate wrote is in their own folder.
        QCOMPARE(notesOf(CandidateTables::notesPath()).value(item), QStringLiteral("read-only folder"));
        QCOMPARE(recordsIn(CandidateTables::userSetPath()), 3);
        QCOMPARE(recordsIn(CandidateTables::currentSetPath()), 2);
    }

    void twoCandidates_eachSeeOnlyTheirOwnNotesAndQuestions()
    {
        const QByteArray firstHome = qgetenv("XDG_DATA_HOME");
        startExamA();
        const qint64 item = form->dtCurrentSet->fieldByName(Q_OR_NUMBER).asInteger();
        saveNote(QStringLiteral("first candidate's note"));
        form->CloseCurrentExam();
        openSampler();
        addOwnQuestion(QStringLiteral("First candidate's question"));
        closeSampler();

        // The second candidate, on the same program folder.
        env->destroyForms();
        QTemporaryDir secondHome;
        qputenv("XDG_DATA_HOME", QFile::encodeName(secondHome.path()));
        const auto back = qScopeGuard([&] { qputenv("XDG_DATA_HOME", firstHome); });
        makeWindows();
        startExamA();
        QCOMPARE(examNote(item), QString());
        form->dtCurrentSet->setRecNo(1);
        saveNote(QStringLiteral("second candidate's note"));
        form->CloseCurrentExam();
        openSampler();
        QVERIFY(env->windows().dataModule().dtUserSet->isEmpty());
        closeSampler();
        QVERIFY(CandidateTables::notesPath().startsWith(secondHome.path()));

        // The first candidate finds theirs as they left it.
        env->destroyForms();
        qputenv("XDG_DATA_HOME", firstHome);
        makeWindows();
        startExamA();
        QCOMPARE(examNote(item), QStringLiteral("first candidate's note"));
        form->CloseCurrentExam();
        QCOMPARE(recordsIn(CandidateTables::userSetPath()), 1);
    }

    void earlierLayout_isCarriedOverOnce_andLeftAsItWas()
    {
        // The program folder as an earlier version left it: the notes in the
        // bank, the own questions beside it, nothing in the data folder.
        editTable(env->path(TableFiles::Bank), [](Table& bank) {
            setBankMemo(bank, 1, QStringLiteral("old note on 1"));
            setBankMemo(bank, 11, QStringLiteral("old note on 11"));
        });
        env->writeUserSet({TestEnv::item(0, 2, QStringLiteral("Old own one"), QStringLiteral("a")),
                           TestEnv::item(0, 4, QStringLiteral("Old own two"), QStringLiteral("b"))});
        QVERIFY(QFile::rename(env->userPath(TableFiles::UserSet), env->path(TableFiles::UserSet)));
        QVERIFY(QFile::remove(env->userPath(TableFiles::Notes)));
        const QMap<QString, QByteArray> before = snapshot(env->dir());

        startExamA();
        QCOMPARE(examNote(1), QStringLiteral("old note on 1"));
        QCOMPARE(examNote(2), QString());
        form->CloseCurrentExam();
        QCOMPARE(notesOf(CandidateTables::notesPath()),
                 (QHash<qint64, QString>{{1, "old note on 1"}, {11, "old note on 11"}}));
        openSampler();
        QCOMPARE(env->windows().dataModule().dtUserSet->recordCount(), 2);
        QCOMPARE(env->windows().dataModule().dtUserSet->fieldByName(Q_TEXT).asString(),
                 QStringLiteral("Old own one"));
        // The next own question continues the old numbering.
        addOwnQuestion(QStringLiteral("New own"));
        QCOMPARE(env->windows().dataModule().dtUserSet->fieldByName(Q_ID).asInteger(), 3);
        closeSampler();
        QCOMPARE(snapshot(env->dir()), before);

        // Once: what the old folder holds later is not carried again.
        editTable(env->path(TableFiles::Bank),
                  [](Table& bank) { setBankMemo(bank, 1, QStringLiteral("later")); });
        startExamA();
        QCOMPARE(examNote(1), QStringLiteral("old note on 1"));
        form->CloseCurrentExam();
    }

    void damagedNotes_areKeptAsideOnce_andTheExamGoesOn()
    {
        {
            // Cut short, as a full disk or a crash of the file system leaves it.
            QFile notes(env->userPath(TableFiles::Notes));
            QVERIFY(notes.resize(notes.size() - 100));
        }
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        startExamA();
        const QStringList shown = Dialogs::shownMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(QStringLiteral("Warning")) &&
                     shown.first().contains(env->userPath(TableFiles::Notes) + QStringLiteral(".damaged")),
                 qPrintable(shown.first()));
        QVERIFY(!QDir(env->userDir()).entryList({QStringLiteral("notes.DAT.damaged*")}).isEmpty());
        saveNote(QStringLiteral("after the damage"));
        form->CloseCurrentExam();
        // Told once: the next exam starts without a word.
        Dialogs::clearLog();
        startExamA();
        QVERIFY(Dialogs::shownMessages().isEmpty());
        form->CloseCurrentExam();
        QCOMPARE(notesOf(CandidateTables::notesPath()).size(), 1);
    }

    void newBankVersion_keepsEveryNote_evenOfAnItemItNoLongerHas()
    {
        QList<TestItem> bank = TestEnv::sampleBank();
        bank[0].memo = QStringLiteral("note on 1");
        bank[1].memo = QStringLiteral("note on 2");
        bank[10].memo = QStringLiteral("note on 11");
        env->writeBank(bank);
        // The next release rewords item 1, drops item 2 and adds item 13.
        editTable(env->path(TableFiles::Bank), [](Table& t) {
            QVERIFY(t.findKey(1));
            t.edit();
            t.fieldByName(Q_TEXT).setAsString(QStringLiteral("Q1 planning, reworded"));
            t.post();
            QVERIFY(t.findKey(2));
            t.deleteRecord();
            t.append();
            t.fieldByName(Q_ID).setAsInteger(13);
            t.fieldByName(Q_EXAM_N).setAsInteger(1);
            t.fieldByName(Q_SECT).setAsInteger(3);
            t.fieldByName(Q_TEXT).setAsString(QStringLiteral("Q13 new"));
            t.fieldByName(choiceText(1)).setAsString(QStringLiteral("a"));
            t.fieldByName(choiceText(2)).setAsString(QStringLiteral("b"));
            t.fieldByName(choiceFlag(1)).setAsBoolean(true);
            t.post();
        });
        startExamA();
        QCOMPARE(form->ItemCount, 2);
        QCOMPARE(examNote(1), QStringLiteral("note on 1"));
        QCOMPARE(examNote(13), QString());
        form->CloseCurrentExam();
        QCOMPARE(notesOf(CandidateTables::notesPath()),
                 (QHash<qint64, QString>{{1, "note on 1"}, {2, "note on 2"}, {11, "note on 11"}}));
    }
};

QTEST_MAIN(TestDataFolders)
#include "test_datafolders.moc"
