// Question files through the test sampler's File menu: import, export, the
// section dialog, the question about a pending item, and a "User Exam" from
// imported items.
#include "TestEnv.h"
#include "core/sampler/TDM.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Table.h"
#include "core/transfer/QuestionFile.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/sampler/TImportProgressForm.h"
#include "ui/sampler/TImportSectionForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/DBMemo.h"
#include "ui/widgets/DBTreeView.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/PanelStatusBar.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

using namespace ItemRecord;
Q_DECLARE_METATYPE(QuestionFile::Format)

namespace {
// Every stored field but Q_ID and U_MEMO, as text.
QString fieldsOf(Table& t)
{
    QStringList parts;
    for (const QString& name : {Q_SECT, Q_TYPE, Q_TEXT, Q_EXPL})
        parts << t.fieldByName(name).asString();
    for (int k = 1; k <= ChoiceCount; ++k)
        parts << t.fieldByName(choiceText(k)).asString() + QLatin1Char('=') +
                     QString::number(t.fieldByName(choiceFlag(k)).asBoolean());
    return parts.join(QLatin1Char('|'));
}

const QByteArray giftFile = "$CATEGORY: Planning\n"
                            "\n"
                            "Imported one? {=yes ~no ####Because.}\n"
                            "\n"
                            "Linux is a kernel. {T}\n"
                            "\n"
                            "Imported two? {~%50%a ~%50%b ~%-100%c}\n";
} // namespace

class TestSamplerTransfer : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TMainForm* mainForm = nullptr;
    TSamplerForm* s = nullptr;

    // The sampler's controls by their design names.
    template <typename T> T* control(const char* name) const { return Driver::find<T>(s, name); }
    void press(const char* name) { Driver::press(s, name); }
    // The sampler's dialogs, made with it.
    static TImportSectionForm* sectionDialog() { return Driver::window<TImportSectionForm>(); }
    static TImportProgressForm* progressDialog() { return Driver::window<TImportProgressForm>(); }
    // The section list's selected row, -1 with none.
    int selectedSection() const
    {
        QListWidget* list = control<QListWidget>("ListBox1");
        const QList<QListWidgetItem*> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->row(selected.first());
    }

    Table& us() { return *env->windows().dataModule().dtUserSet; }
    QString panel(int i) const { return control<PanelStatusBar>("StatusBar1")->panelText(i); }
    QStringList nodes() const { return control<DBTreeView>("fcDBTreeView1")->labels(); }

    void openSampler()
    {
        Dialogs::setModalHandler([](QDialog* d) {
            d->show();
            return int(QDialog::Accepted);
        });
        mainForm->show();
        Driver::press(mainForm, "SamplerBtn");
        QVERIFY(s->isVisible());
        QVERIFY(us().isOpen());
        Dialogs::clearLog();
    }
    void closeSampler()
    {
        Dialogs::queueAnswer(Dialogs::Ok);
        press("Exit1");
        QVERIFY(!s->isVisible());
    }
    // The section dialog answers with this section (0: Cancel).
    void answerSectionDialog(int section)
    {
        Dialogs::setModalHandler([section](QDialog* d) {
            auto* dialog = qobject_cast<TImportSectionForm*>(d);
            if (!dialog)
                return int(QDialog::Rejected);
            if (section == 0) {
                Driver::press(dialog, "CancelButton");
            } else {
                dialog->show();
                QListWidget* list = Driver::find<QListWidget>(dialog, "SectionList");
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->item(section - 1)).center());
                Driver::press(dialog, "OKButton");
            }
            return dialog->result();
        });
    }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = env->path(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(bytes);
        return path;
    }
    // The stored set, one line per item in Q_ID order (sampler closed or open).
    QStringList storedItems()
    {
        QStringList all;
        Table& t = us();
        const qint64 mark = t.bookmark();
        t.disableControls();
        for (t.first(); !t.eof(); t.next())
            all << fieldsOf(t);
        if (mark >= 0)
            t.gotoBookmark(mark);
        t.enableControls();
        return all;
    }
    // A CSV file of `count` questions, large enough to take a while.
    QString writeManyQuestions(int count)
    {
        QByteArray bytes = "section,question,a,b,correct,explanation\n";
        bytes.reserve(count * 120);
        for (int i = 0; i < count; ++i)
            bytes += "2,Many " + QByteArray::number(i) + " " + QByteArray(60, 'm') + ",yes,no,A,because\n";
        return writeFile(QStringLiteral("many.csv"), bytes);
    }
    // Runs the import of `path`; `whileShown` is called every 20 ms while the
    // progress window is up. Gives how often the window answered.
    int importWatching(const QString& path, const std::function<void(TImportProgressForm*)>& whileShown)
    {
        Dialogs::queueFileChoice(path, QuestionFile::csvFilter());
        int ticks = 0;
        QTimer watch;
        watch.setInterval(20);
        connect(&watch, &QTimer::timeout, this, [&] {
            ++ticks;
            if (progressDialog()->isVisible() && whileShown)
                whileShown(progressDialog());
        });
        watch.start();
        press("Import1");
        watch.stop();
        return ticks;
    }
    QStringList shown(const QString& prefix) const
    {
        QStringList found;
        for (const QString& m : Dialogs::shownMessages())
            if (m.startsWith(prefix))
                found << m;
        return found;
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->writeBank(TestEnv::sampleBank());
        env->writeEmptyCurrentSet();
        env->writeUserSet({TestEnv::item(0, 3, QStringLiteral("First own"), QStringLiteral("b")),
                           TestEnv::item(0, 5, QStringLiteral("Second own"), QStringLiteral("ac"), true),
                           TestEnv::item(0, 1, QStringLiteral("Third own"), QStringLiteral("d"))});
        env->createForms();
        mainForm = new TMainForm(env->windows());
        QDir::setCurrent(env->dir());
        s = &env->windows().sampler();
    }
    void cleanup()
    {
        QCOMPARE(shown(QStringLiteral("Error")), QStringList());
        env->destroyForms();
        delete mainForm;
        mainForm = nullptr;
        env.reset();
    }

    void fileMenu_importAndExportAboveExit()
    {
        QMenu* file = control<QMenuBar>("MainMenu1")->actions().first()->menu();
        QStringList texts;
        for (QAction* a : file->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{"&Import Questions...", "Ex&port Questions...", "-", "E&xit"}));
        QCOMPARE(file->actions().at(2), control<QAction>("N2"));
        QVERIFY(!Driver::find<QListWidget>(sectionDialog(), "SectionList")->accessibleName().isEmpty());
        QCOMPARE(QuestionFile::importFilters(),
                 QStringLiteral(
                     "GIFT files (*.gift *.txt);;Aiken files (*.txt);;CSV files (*.csv);;All files (*)"));
    }

    void import_appendsTheItemsAndShowsThem()
    {
        openSampler();
        const QStringList before = storedItems();
        Dialogs::queueFileChoice(writeFile(QStringLiteral("mine.gift"), giftFile),
                                 QuestionFile::giftFilter());
        Dialogs::queueAnswer(Dialogs::Ok); // what came in, and the skipped questions
        press("Import1");
        QCOMPARE(nodes(), (QStringList{"1", "2", "3", "4", "5"}));
        QCOMPARE(control<ShadedLabel>("fcLabel4")->text(), QStringLiteral("Item ID: 4"));
        QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QStringLiteral("Imported one?"));
        QCOMPARE(panel(1), QStringLiteral(" Items: 5"));
        QCOMPARE(panel(3), QStringLiteral(" Imported: 2"));
        QCOMPARE(selectedSection(), 0);
        QCOMPARE(
            shown(QStringLiteral("Information")),
            QStringList{
                "Information: 2 questions were imported from this GIFT file. These are of other kinds "
                "and were left out "
                "(the sampler holds multiple-choice questions only):\n\nLine 5: A true/false question."});
        const QStringList imported{"1|False|Imported one?|Because.|yes=1|no=0|=0|=0|=0|=0",
                                   "1|True|Imported two?||a=1|b=1|c=0|=0|=0|=0"};
        QCOMPARE(storedItems(), before + imported);
        QVERIFY(control<QAction>("EditAct")->isEnabled() &&
                control<DBTreeView>("fcDBTreeView1")->isEnabled());
        closeSampler();
    }

    // The bank copied in as the own question set is no own set: the sampler
    // says what the file is and leaves it alone.
    void ownSet_theBankInItsPlace_isRefusedSayingSo()
    {
        const QString own = env->userPath(TableFiles::UserSet);
        QVERIFY(QFile::remove(own));
        QVERIFY(QFile::copy(env->path(TableFiles::Bank), own));
        QFile bank(own);
        QVERIFY(bank.open(QIODevice::ReadOnly));
        const QByteArray before = bank.readAll();
        bank.close();
        Dialogs::setModalHandler([](QDialog* d) {
            d->show();
            return int(QDialog::Accepted);
        });
        mainForm->show();
        Dialogs::queueAnswer(Dialogs::Ok); // the error box
        Driver::press(mainForm, "SamplerBtn");
        QVERIFY(!us().isOpen());
        const QStringList errors = shown(QStringLiteral("Error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("is the question bank, not your own question set")),
                 qPrintable(errors.first()));
        QVERIFY(bank.open(QIODevice::ReadOnly));
        QCOMPARE(bank.readAll(), before);
        Dialogs::clearLog();
        if (s->isVisible())
            closeSampler();
    }

    // A large file: the window shows how far the reading is and answers
    // meanwhile; Cancel stops it with nothing added.
    void import_largeFile_showsProgressAndCancelAddsNothing_data()
    {
        QTest::addColumn<QString>("phase");
        QTest::newRow("while reading") << "Reading";
        QTest::newRow("while adding") << "Adding";
    }
    void import_largeFile_showsProgressAndCancelAddsNothing()
    {
        QFETCH(QString, phase);
        openSampler();
        const QStringList before = storedItems();
        const QString path = writeManyQuestions(100000);
        bool cancelled = false;
        int shownTicks = 0;
        importWatching(path, [&](TImportProgressForm* form) {
            QVERIFY(form->isModal());
            // The window answers while it works; then Cancel is pressed.
            if (!cancelled && Driver::find<QLabel>(form, "PromptLabel")->text().startsWith(phase) &&
                ++shownTicks == 3) {
                cancelled = true;
                Driver::press(form, "CancelButton");
            }
        });
        QVERIFY(cancelled);
        QVERIFY(!progressDialog()->isVisible());
        QCOMPARE(storedItems(), before);
        QVERIFY(!us().inTransaction());
        QCOMPARE(shown(QStringLiteral("Warning")), QStringList());
        closeSampler();
    }

    void import_largeFile_letRun_addsEveryQuestion()
    {
        openSampler();
        const int before = us().recordCount();
        int shownTicks = 0;
        int highest = 0;
        Dialogs::queueAnswer(Dialogs::Ok); // what came in
        importWatching(writeManyQuestions(100000), [&](TImportProgressForm* form) {
            ++shownTicks;
            highest = qMax(highest, Driver::find<QProgressBar>(form, "ProgressBar1")->value());
        });
        QVERIFY(shownTicks > 0);
        QVERIFY(highest > 0);
        QVERIFY(!progressDialog()->isVisible());
        QCOMPARE(us().recordCount(), before + 100000);
        QCOMPARE(panel(3), QStringLiteral(" Imported: 100000"));
        closeSampler();
    }

    // A named pipe chosen as the file would wait for a writer for ever.
    void import_namedPipe_isRefusedAtOnce()
    {
        openSampler();
        const QStringList before = storedItems();
        const QString pipe = env->path(QStringLiteral("pipe.gift"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        Dialogs::queueFileChoice(pipe, QuestionFile::giftFilter());
        Dialogs::queueAnswer(Dialogs::Ok);
        QElapsedTimer clock;
        clock.start();
        press("Import1");
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(
            shown(QStringLiteral("Warning")),
            QStringList{"Warning: Nothing was imported from \"pipe.gift\": one problem to mend.\n\n"
                        "The file cannot be read: it is not a regular file (a named pipe or a device)."});
        QCOMPARE(storedItems(), before);
        closeSampler();
    }

    void import_withProblems_writesNothing()
    {
        openSampler();
        const QStringList before = storedItems();
        QByteArray bad = "Fine?\nA. yes\nB. no\nANSWER: A\n\n";
        for (int i = 0; i < 22; ++i)
            bad += "Broken?\nA. only\nANSWER: B\n\n";
        Dialogs::queueFileChoice(writeFile(QStringLiteral("bad.txt"), bad), QuestionFile::aikenFilter());
        Dialogs::queueAnswer(Dialogs::Ok);
        press("Import1");
        const QStringList warnings = shown(QStringLiteral("Warning"));
        QCOMPARE(warnings.size(), 1);
        const QStringList lines = warnings.first().split(QLatin1Char('\n'));
        QCOMPARE(lines.first(),
                 QStringLiteral("Warning: Nothing was imported from \"bad.txt\": 44 problems to mend."));
        QCOMPARE(lines.at(2), QStringLiteral("Line 6: The correct letter B has no choice."));
        QCOMPARE(lines.size(), 2 + 20 + 1);
        QCOMPARE(lines.last(), QStringLiteral("... and 24 more."));
        QCOMPARE(storedItems(), before);
        QCOMPARE(nodes(), (QStringList{"1", "2", "3"}));
        QCOMPARE(panel(3), QString());

        // Cancelling the file chooser does nothing either.
        Dialogs::queueFileName(QString());
        press("Import1");
        QCOMPARE(storedItems(), before);
        closeSampler();
    }

    void import_withoutSections_asksForOne()
    {
        openSampler();
        const QStringList before = storedItems();
        const QString aiken =
            writeFile(QStringLiteral("plain.txt"), "Q one?\nA. x\nB. y\nANSWER: B\n"
                                                   "Q two?\nA) x\nB) y\nC) z\nANSWER: A, C\n");
        // Cancel in the section dialog: nothing is imported.
        answerSectionDialog(0);
        Dialogs::queueFileChoice(aiken, QuestionFile::allFilter());
        press("Import1");
        QCOMPARE(storedItems(), before);
        QCOMPARE(Driver::find<QLabel>(sectionDialog(), "PromptLabel")->text(),
                 QStringLiteral("2 questions of the file name no section. Choose their section:"));

        // "All files": the content shows it is Aiken.
        answerSectionDialog(4);
        Dialogs::queueFileChoice(aiken, QuestionFile::allFilter());
        Dialogs::queueAnswer(Dialogs::Ok);
        press("Import1");
        QCOMPARE(shown(QStringLiteral("Information")),
                 QStringList{"Information: 2 questions were imported from this Aiken file."});
        const QStringList imported{"4|False|Q one?||x=0|y=1|=0|=0|=0|=0",
                                   "4|True|Q two?||x=1|y=0|z=1|=0|=0|=0"};
        QCOMPARE(storedItems(), before + imported);
        QCOMPARE(sectionDialog()->chosenSection(), 4); // kept for the next import
        closeSampler();
    }

    // Both the GIFT and the Aiken filter take .txt: the content decides.
    void import_txtUnderEitherFilter_isReadAsItsContentShows()
    {
        openSampler();
        const QStringList before = storedItems();
        const QString aiken = writeFile(QStringLiteral("aiken.txt"), "Q one?\nA. x\nB. y\nANSWER: B\n");
        const QString gift = writeFile(QStringLiteral("gift.txt"), "::G1:: Gift one? {=yes ~no}\n");
        answerSectionDialog(3);
        Dialogs::queueFileChoice(aiken, QuestionFile::giftFilter());
        Dialogs::queueAnswer(Dialogs::Ok);
        press("Import1");
        answerSectionDialog(3);
        Dialogs::queueFileChoice(gift, QuestionFile::aikenFilter());
        Dialogs::queueAnswer(Dialogs::Ok);
        press("Import1");
        QCOMPARE(shown(QStringLiteral("Information")),
                 (QStringList{"Information: 1 question was imported from this Aiken file.",
                              "Information: 1 question was imported from this GIFT file."}));
        QCOMPARE(shown(QStringLiteral("Warning")), QStringList());
        QCOMPARE(storedItems().size(), before.size() + 2);
        QCOMPARE(panel(3), QStringLiteral(" Imported: 1"));
        closeSampler();
    }

    void import_whileAnItemIsAdded_asksFirst()
    {
        openSampler();
        const QStringList before = storedItems();
        const QString file = writeFile(QStringLiteral("mine.gift"), giftFile);
        press("AddAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("Half typed"));

        // Cancel: the item stays as it is.
        Dialogs::queueAnswer(Dialogs::Cancel);
        press("Import1");
        QCOMPARE(shown(QStringLiteral("Confirm")),
                 QStringList{"Confirm: The item being added or edited will be discarded.\nAre you sure?"});
        QCOMPARE(us().state(), Table::State::Insert);
        QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QStringLiteral("Half typed"));

        // OK, but the file cannot be imported: the item is still there.
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::queueAnswer(Dialogs::Ok); // the problems
        Dialogs::queueFileChoice(writeFile(QStringLiteral("bad.csv"), "question,a,correct\nq,x,a\n"),
                                 QuestionFile::csvFilter());
        press("Import1");
        QCOMPARE(shown(QStringLiteral("Warning")).size(), 1);
        QCOMPARE(us().state(), Table::State::Insert);

        // OK with a good file: the item goes, the import comes, the window is browsing.
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::queueFileChoice(file, QuestionFile::giftFilter());
        Dialogs::queueAnswer(Dialogs::Ok); // the skipped question
        press("Import1");
        QCOMPARE(us().state(), Table::State::Browse);
        QCOMPARE(storedItems().size(), before.size() + 2);
        QVERIFY(!storedItems().join(QString()).contains(QStringLiteral("Half typed")));
        QVERIFY(control<QAction>("AddAct")->isEnabled() &&
                control<DBTreeView>("fcDBTreeView1")->isEnabled() &&
                !control<QPushButton>("BitBtn1")->isEnabled());
        closeSampler();
    }

    void export_thenImport_givesTheSameItems_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("GIFT") << QuestionFile::giftFilter() << "gift";
        QTest::newRow("Aiken") << QuestionFile::aikenFilter() << "txt";
        QTest::newRow("CSV") << QuestionFile::csvFilter() << "csv";
    }
    void export_thenImport_givesTheSameItems()
    {
        QFETCH(QString, filter);
        QFETCH(QString, suffix);
        const bool aiken = filter == QuestionFile::aikenFilter();
        if (aiken) // Aiken carries no section: one for all
            env->writeUserSet(
                {TestEnv::item(0, 2, QStringLiteral("First own"), QStringLiteral("b")),
                 TestEnv::item(0, 2, QStringLiteral("Second own"), QStringLiteral("ac"), true, 6),
                 TestEnv::item(0, 2, QStringLiteral("Third own"), QStringLiteral("d"), false, 5)});
        openSampler();
        const QStringList before = storedItems();
        // No suffix typed: the format's is added.
        Dialogs::queueFileChoice(env->path(QStringLiteral("set")), filter);
        press("Export1");
        const QString path = env->path(QStringLiteral("set.") + suffix);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(panel(3), QStringLiteral(" Exported: 3"));
        QCOMPARE(shown(QStringLiteral("Information")), QStringList());

        Dialogs::queueAnswer(Dialogs::Ok);
        press("Emptyquestionset1");
        QCOMPARE(storedItems(), QStringList());
        answerSectionDialog(2);
        Dialogs::queueFileChoice(path, filter);
        Dialogs::queueAnswer(Dialogs::Ok); // what came in
        press("Import1");
        QCOMPARE(storedItems(), before);
        QCOMPARE(panel(3), QStringLiteral(" Imported: 3"));
        closeSampler();
    }

    void export_whileEditing_asksAndKeepsTheStoredItems()
    {
        openSampler();
        press("EditAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral(" changed"));
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::queueFileChoice(env->path(QStringLiteral("out.csv")), QuestionFile::csvFilter());
        press("Export1");
        QCOMPARE(us().state(), Table::State::Browse);
        QFile f(env->path(QStringLiteral("out.csv")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("First own,"));
        QVERIFY(!bytes.contains("changed"));
        QCOMPARE(control<ShadedLabel>("fcLabel4")->text(), QStringLiteral("Item ID: 1"));

        // A file that cannot be written: the error box, the set untouched.
        Dialogs::queueAnswer(Dialogs::Ok);
        Dialogs::queueFileChoice(env->path(QStringLiteral("missing/out.csv")), QuestionFile::csvFilter());
        press("Export1");
        QCOMPARE(shown(QStringLiteral("Error")).size(), 1);
        Dialogs::clearLog();
        closeSampler();
    }

    void userExam_fromImportedItems()
    {
        env->writeUserSet({});
        openSampler();
        Dialogs::queueFileChoice(writeFile(QStringLiteral("exam.csv"),
                                           "section,type,question,a,b,c,d,e,f,correct,explanation\r\n"
                                           "Troubleshooting,single,Imported single,p,q,r,,,,C,Why C\r\n"
                                           "2,multiple,Imported multiple,p,q,r,s,,,A;D,\r\n"),
                                 QuestionFile::csvFilter());
        Dialogs::queueAnswer(Dialogs::Ok); // what came in
        press("Import1");
        QCOMPARE(nodes(), (QStringList{"1", "2"}));
        closeSampler();

        TTestForm* exam = &env->windows().exam();
        exam->show();
        Driver::startExam(exam, "UserAct");
        QCOMPARE(exam->examMode, ExamMode::Testing);
        QCOMPARE(exam->ItemCount, 2);
        Table& ces = *exam->dtCurrentSet;
        QHash<qint64, QString> byOriginal;
        for (ces.first(); !ces.eof(); ces.next())
            byOriginal.insert(ces.fieldByName(Q_OR_NUMBER).asInteger(), fieldsOf(ces));
        QCOMPARE(byOriginal.value(1), QStringLiteral("6|False|Imported single|Why C|p=0|q=0|r=1|=0|=0|=0"));
        QCOMPARE(byOriginal.value(2), QStringLiteral("2|True|Imported multiple||p=1|q=0|r=0|s=1|=0|=0"));
        // Answered right, it counts as right in its section.
        ces.first();
        const qint64 original = ces.fieldByName(Q_OR_NUMBER).asInteger();
        if (original == 1) {
            Driver::find<QRadioButton>(exam, "RadioButton", 3)->click();
        } else {
            Driver::find<QCheckBox>(exam, "CheckBox", 1)->click();
            Driver::find<QCheckBox>(exam, "CheckBox", 4)->click();
        }
        QCOMPARE(exam->Sheet.entry(1).Correct, std::uint8_t(1));
        QCOMPARE(exam->Sheet.entry(1).Section, original == 1 ? 6 : 2);
        exam->CloseCurrentExam();
    }
};

QTEST_MAIN(TestSamplerTransfer)
#include "test_samplertransfer.moc"
