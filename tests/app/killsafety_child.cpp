// The process the kill tests kill: it runs the program's own code for one
// kind of write, over and over, in the program folder it is given, and
// prints a line once each write has returned (the write is then
// acknowledged: the program has told the candidate it is done).
//   killsafety_child assembly|note|sampler FOLDER [FIRST]
// Before the first write it prints "ready". Writes are numbered from FIRST
// (default 1); the sampler goes on from the number of items already saved.
#include "KillSafetyText.h"
#include "TestEnv.h"
#include "core/exam/ExamSession.h"
#include "core/sampler/TDM.h"
#include "core/store/ItemRecord.h"
#include "core/store/SectionNames.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "ui/app/ProgramWindows.h"
#include "ui/exam/TTestForm.h"
#include "ui/review/TNoteForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/DBMemo.h"
#include "ui/widgets/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <cstdio>
#include <cstdlib>
#include <exception>

using namespace ItemRecord;

namespace {

void acknowledge(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// A whole new exam of every bank item in a new order, each time.
void assembleForever(TTestForm* form, int first)
{
    form->dtQSet->open();
    acknowledge(QStringLiteral("ready"));
    for (quint32 n = quint32(first);; ++n) {
        form->SeedSource = [n] { return n; };
        form->CopyBankShuffled();
        acknowledge(QStringLiteral("assembled %1").arg(n));
    }
}

// A note through the note window's Save, on one exam item after another.
void saveNotesForever(TTestForm* form, int first)
{
    form->dtQSet->open();
    form->CopyBankShuffled();
    Table& current = *form->dtCurrentSet;
    TNoteForm note(form);
    note.setTables(&current, form->examSession->noteWriter());
    const int count = current.recordCount();
    acknowledge(QStringLiteral("ready"));
    for (int n = first;; ++n) {
        current.setRecNo(1 + n % count);
        const qint64 item = current.fieldByName(Q_OR_NUMBER).asInteger();
        note.captureCurrentItem(form->ExamTitle); // as the exam window's Note button does
        Driver::find<QPlainTextEdit>(&note, "DBMemo1")->setPlainText(KillSafetyText::note(n));
        Driver::press(&note, "Button1");
        acknowledge(QStringLiteral("note %1 %2").arg(item).arg(n));
    }
}

// A new item through the sampler's Add and Save.
void addItemsForever(ProgramWindows& windows)
{
    // As the start window opens the sampler.
    TSamplerForm& sampler = windows.sampler();
    Table& set = *windows.dataModule().dtUserSet;
    set.open();
    sampler.Prepare(SectionNames::all());
    auto* sections = Driver::find<QListWidget>(&sampler, "ListBox1");
    acknowledge(QStringLiteral("ready"));
    for (int n = set.recordCount() + 1;; ++n) {
        Driver::press(&sampler, "AddAct");
        set.fieldByName(Q_TEXT).setAsString(KillSafetyText::question(n));
        set.fieldByName(Q_EXPL).setAsString(KillSafetyText::explanation(n));
        for (int k = 1; k <= 4; ++k) {
            set.fieldByName(choiceText(k)).setAsString(KillSafetyText::choice(n, k));
            set.fieldByName(choiceFlag(k)).setAsBoolean(k == KillSafetyText::correctChoice(n));
        }
        sections->setCurrentRow(KillSafetyText::section(n) - 1, QItemSelectionModel::ClearAndSelect);
        Driver::press(&sampler, "BitBtn1");
        acknowledge(QStringLiteral("saved %1").arg(n));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 2;
    const int first = argc == 4 ? std::atoi(argv[3]) : 1;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    TestEnv env; // settings and dialogs of a test; its own folders are not used
    // A write that fails shows the error box: no one answers it here.
    Dialogs::setUnansweredHandler([](const QString& what) {
        std::fprintf(stderr, "shown: %s\n", qPrintable(what));
        std::exit(1);
    });
    // The parent test's program folder and the candidate's data folder in it.
    QDir::setCurrent(QString::fromLocal8Bit(argv[2]));
    qputenv("XDG_DATA_HOME",
            QFile::encodeName(QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("data"))));
    TTestForm* form = env.createForms();
    try {
        if (mode == QLatin1String("assembly"))
            assembleForever(form, first);
        else if (mode == QLatin1String("note"))
            saveNotesForever(form, first);
        else if (mode == QLatin1String("sampler"))
            addItemsForever(env.windows());
    } catch (const TableError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 2;
}
