// The test sampler: authoring the user set through the program's own windows.
#include "TestEnv.h"
#include "core/sampler/TDM.h"
#include "core/sampler/UserSetView.h"
#include "core/store/DataFolder.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Table.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/DBCheckBox.h"
#include "ui/widgets/DBEdit.h"
#include "ui/widgets/DBMemo.h"
#include "ui/widgets/DBNavigator.h"
#include "ui/widgets/DBTreeView.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/LinkLabel.h"
#include "ui/widgets/PanelStatusBar.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/ShadedLabel.h"
#include "ui/widgets/TAboutForm.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace ItemRecord;

namespace {
// One stored record of the user set, every field as text.
using Stored = QHash<QString, QString>;
} // namespace

class TestSampler : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TMainForm* mainForm = nullptr;
    TSamplerForm* s = nullptr;

    // The sampler's controls by their design names.
    template <typename T> T* control(const char* name) const { return Driver::find<T>(s, name); }
    template <typename T> T* control(const char* name, int number) const
    {
        return Driver::find<T>(s, name, number);
    }
    void press(const char* name) { Driver::press(s, name); }
    // The section list's selected row, -1 with none.
    int selectedSection() const
    {
        QListWidget* list = control<QListWidget>("ListBox1");
        const QList<QListWidgetItem*> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->row(selected.first());
    }

    Table& us() { return *env->windows().dataModule().dtUserSet; }
    QString heading() const { return control<ShadedLabel>("fcLabel4")->text(); }
    QString panel(int i) const { return control<PanelStatusBar>("StatusBar1")->panelText(i); }
    QStringList panels() const { return {panel(0), panel(1), panel(2), panel(3)}; }
    QStringList nodes() const { return control<DBTreeView>("fcDBTreeView1")->labels(); }
    QString currentNode() const
    {
        QTreeWidgetItem* node = control<DBTreeView>("fcDBTreeView1")->currentItem();
        return node && node->isSelected() ? node->text(0) : QString();
    }

    // The sampler as the start window opens it; the modal run is replaced by
    // a plain show so that the test can drive the window.
    void openSampler()
    {
        Dialogs::setModalHandler([](QDialog* d) {
            d->show();
            return int(QDialog::Accepted);
        });
        mainForm->show();
        Driver::press(mainForm, "SamplerBtn");
        QVERIFY(s->isVisible());
        QVERIFY(!mainForm->isVisible());
        QVERIFY(us().isOpen());
    }
    void closeSampler()
    {
        Dialogs::queueAnswer(Dialogs::Ok);
        press("Exit1");
        QVERIFY(!s->isVisible());
        QVERIFY(mainForm->isVisible());
        QVERIFY(!us().isOpen());
    }
    // The user set as stored on disk, by Q_ID; the sampler must be closed.
    QMap<qint64, Stored> stored()
    {
        Table t(TableFiles::SessionName, env->userPath(TableFiles::UserSet));
        t.open();
        QMap<qint64, Stored> all;
        for (t.first(); !t.eof(); t.next()) {
            Stored rec;
            for (const FieldDef& f : t.schema().fields)
                rec.insert(f.name, t.fieldByName(f.name).isNull() ? QStringLiteral("<null>")
                                                                  : t.fieldByName(f.name).asString());
            all.insert(t.fieldByName(Q_ID).asInteger(), rec);
        }
        return all;
    }
    void clickNode(const QString& label)
    {
        DBTreeView* tree = control<DBTreeView>("fcDBTreeView1");
        const QList<QTreeWidgetItem*> found = tree->findItems(label, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found.first()).center());
    }
    // The candidate picks a type and a section with the mouse.
    void chooseType(int index) { control<QComboBox>("ComboBox1")->setCurrentIndex(index); }
    void chooseSection(int row)
    {
        QListWidget* list = control<QListWidget>("ListBox1");
        control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet2"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void verifyActions(bool add, bool edit, bool del, bool treeAndNavigator, bool saveCancel)
    {
        QCOMPARE(control<QAction>("AddAct")->isEnabled(), add);
        QCOMPARE(control<QAction>("EditAct")->isEnabled(), edit);
        QCOMPARE(control<QAction>("DelAct")->isEnabled(), del);
        QCOMPARE(control<DBTreeView>("fcDBTreeView1")->isEnabled(), treeAndNavigator);
        QCOMPARE(control<DBNavigator>("DBNavigator1")->isEnabled(), treeAndNavigator);
        QCOMPARE(control<QPushButton>("BitBtn1")->isEnabled(), saveCancel);
        QCOMPARE(control<QPushButton>("BitBtn2")->isEnabled(), saveCancel);
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
        QDir::setCurrent(env->dir()); // the start window moved to the program's folder
        s = &env->windows().sampler();
        s->resize(646, 481);
    }
    void cleanup()
    {
        QStringList errors;
        for (const QString& m : Dialogs::shownMessages())
            if (m.startsWith(QStringLiteral("Error")))
                errors << m;
        QCOMPARE(errors, QStringList());
        LinkLabel::setOpener({});
        env->destroyForms();
        delete mainForm;
        mainForm = nullptr;
        env.reset();
    }

    void newItemWithoutSection_isRefusedUntilOneIsChosen()
    {
        openSampler();
        Dialogs::queueAnswer(Dialogs::Ok);
        press("Emptyquestionset1");
        // The first item of an empty set starts in the first section...
        press("AddAct");
        QCOMPARE(selectedSection(), 0);
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("No section yet"));
        // ...and is not stored once the candidate took that off.
        QListWidget* list = control<QListWidget>("ListBox1");
        control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet2"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(selectedSection(), -1);
        control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet1"));
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        press("BitBtn1");
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Warning: Please select the item's section.")});
        // Still adding, the section list in front.
        QCOMPARE(us().state(), Table::State::Insert);
        QCOMPARE(control<QTabWidget>("PageControl1")->currentWidget(), control<QWidget>("TabSheet2"));
        QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QStringLiteral("No section yet"));
        chooseSection(4);
        press("BitBtn1");
        QCOMPARE(us().state(), Table::State::Browse);
        closeSampler();
        const auto all = stored();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all.first()[Q_SECT], QStringLiteral("5"));
    }

    void opening_showsTheFirstItem()
    {
        control<QListWidget>("ListBox1")->addItem(QStringLiteral("stale"));
        control<QTabWidget>("PageControl1")->setCurrentIndex(3);
        openSampler();
        QCOMPARE(s->windowTitle(), QStringLiteral("Examora Test Sampler"));
        QCOMPARE(control<QTabWidget>("PageControl1")->currentWidget(), control<QWidget>("TabSheet1"));
        QCOMPARE(control<QListWidget>("ListBox1")->count(), 6);
        QCOMPARE(control<QListWidget>("ListBox1")->item(2)->text(),
                 QStringLiteral("Setting Up/Managing Resource Access"));
        QCOMPARE(heading(), QStringLiteral("Item ID: 1"));
        QCOMPARE(panels(), (QStringList{" Item ID: 1", " Items: 3", "  Browsing", ""}));
        QCOMPARE(selectedSection(), 2);
        QCOMPARE(control<QComboBox>("ComboBox1")->currentText(), QStringLiteral("Single responce"));
        QCOMPARE(nodes(), (QStringList{"1", "2", "3"}));
        QCOMPARE(currentNode(), QStringLiteral("1"));
        QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QStringLiteral("First own"));
        QCOMPARE(control<DBMemo>("DBMemo2")->toPlainText(), QStringLiteral("Because b is right."));
        QCOMPARE(control<DBEdit>("ChoiceEdit", 2)->text(), QStringLiteral("Choice b of First own"));
        QCOMPARE(control<DBEdit>("ChoiceEdit", 5)->text(), QString());
        QVERIFY(!control<DBCheckBox>("AnswerBox", 1)->isChecked() &&
                control<DBCheckBox>("AnswerBox", 2)->isChecked());
        verifyActions(true, true, true, true, false);
        QVERIFY(!control<QToolButton>("nbFirst")->isEnabled());
        QVERIFY(control<QToolButton>("nbLast")->isEnabled());
        QCOMPARE(control<QToolButton>("nbNext")->toolTip(), QStringLiteral("Next item"));
        const QList<QAction*> itemActions{control<QAction>("AddAct"), control<QAction>("EditAct"),
                                          control<QAction>("DelAct")};
        QCOMPARE(control<QMenu>("PopupMenu1")->actions(), itemActions);
        QCOMPARE((QList<QAction*>{control<QToolButton>("ToolButton1")->defaultAction(),
                                  control<QToolButton>("ToolButton2")->defaultAction(),
                                  control<QToolButton>("ToolButton3")->defaultAction()}),
                 itemActions);

        // Moving shows the next item with its own type and section; nothing is changed.
        control<QToolButton>("nbNext")->click();
        QCOMPARE(heading(), QStringLiteral("Item ID: 2"));
        QCOMPARE(control<QComboBox>("ComboBox1")->currentIndex(), 1);
        QCOMPARE(selectedSection(), 4);
        QCOMPARE(currentNode(), QStringLiteral("2"));
        QVERIFY(control<DBCheckBox>("AnswerBox", 1)->isChecked() &&
                control<DBCheckBox>("AnswerBox", 3)->isChecked());
        clickNode(QStringLiteral("3"));
        QCOMPARE(heading(), QStringLiteral("Item ID: 3"));
        QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QStringLiteral("Third own"));
        QVERIFY(!control<QToolButton>("nbNext")->isEnabled());
        QCOMPARE(us().state(), Table::State::Browse);
        closeSampler();
    }

    void openingAnEmptySet()
    {
        env->writeUserSet({});
        openSampler();
        QCOMPARE(heading(), QStringLiteral("The question set is empty"));
        QCOMPARE(panels(), (QStringList{" Empty", " Items: 0", "  Browsing", ""}));
        verifyActions(true, false, false, true, false);
        QCOMPARE(nodes(), QStringList());
        QCOMPARE(selectedSection(), -1);
        // Nothing to type into, and choosing a type or section changes nothing.
        QVERIFY(control<DBMemo>("DBMemo1")->isReadOnly() && control<DBEdit>("ChoiceEdit", 1)->isReadOnly());
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("lost"));
        control<DBCheckBox>("AnswerBox", 1)->click();
        QVERIFY(!control<DBCheckBox>("AnswerBox", 1)->isChecked());

        // The first item: "Add new item" while it is typed, its ID once saved.
        s->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s));
        control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet4"));
        press("AddAct");
        QCOMPARE(QApplication::focusWidget(), control<DBMemo>("DBMemo1"));
        QCOMPARE(heading(), QStringLiteral("Add new item"));
        QVERIFY(!control<DBMemo>("DBMemo1")->isReadOnly());
        press("BitBtn2");
        QCOMPARE(heading(), QStringLiteral("The question set is empty"));
        verifyActions(true, false, false, true, false);
        chooseType(1);
        chooseSection(2);
        QCOMPARE(us().state(), Table::State::Browse);
        QCOMPARE(heading(), QStringLiteral("The question set is empty"));
        press("AddAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("Very first"));
        press("BitBtn1");
        QCOMPARE(heading(), QStringLiteral("Item ID: 1"));
        QCOMPARE(panel(1), QStringLiteral(" Items: 1"));
        verifyActions(true, true, true, true, false);
        QCOMPARE(nodes(), QStringList{"1"});
        closeSampler();
        const auto all = stored();
        QCOMPARE(all.size(), 1);
        // The type and section chosen before adding went with the new item.
        QCOMPARE(all[1][Q_TYPE], QStringLiteral("True"));
        QCOMPARE(all[1][Q_SECT], QStringLiteral("3"));
        QCOMPARE(all[1][Q_TEXT], QStringLiteral("Very first"));
    }

    void statusTexts_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("panels");
        QTest::addColumn<bool>("saveCancel");
        QTest::newRow("editing") << "edit"
                                 << "Edit Item"
                                 << QStringList{" Item ID: 1", " Items: 3", " Edit Item", " Modified"}
                                 << true;
        QTest::newRow("adding") << "add"
                                << "Add new item"
                                << QStringList{" Item ID: 1", " Items: 3", " Add new item", " Modified"}
                                << true;
        QTest::newRow("edited and saved")
            << "edit save"
            << "Item ID: 1" << QStringList{" Item ID: 1", " Items: 3", "  Browsing", " Saved"} << false;
        QTest::newRow("added and saved")
            << "add save"
            << "Item ID: 4" << QStringList{" Item ID: 4", " Items: 4", "  Browsing", " Saved"} << false;
        QTest::newRow("edited and cancelled")
            << "edit cancel"
            << "Item ID: 1" << QStringList{" Item ID: 1", " Items: 3", "  Browsing", ""} << false;
        // The last change stays in panel 3 while browsing, also after a reopening.
        QTest::newRow("saved, moved, reopened")
            << "edit save next reopen"
            << "Item ID: 1" << QStringList{" Item ID: 1", " Items: 3", "  Browsing", " Saved"} << false;
        QTest::newRow("typed into") << "type"
                                    << "Edit Item"
                                    << QStringList{" Item ID: 1", " Items: 3", " Edit Item", " Modified"}
                                    << true;
    }
    void statusTexts()
    {
        QFETCH(QString, steps);
        QFETCH(QString, heading);
        QFETCH(QStringList, panels);
        QFETCH(bool, saveCancel);
        openSampler();
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("edit"))
                press("EditAct");
            else if (step == QLatin1String("add"))
                press("AddAct");
            else if (step == QLatin1String("save"))
                press("BitBtn1");
            else if (step == QLatin1String("cancel"))
                press("BitBtn2");
            else if (step == QLatin1String("next"))
                press("nbNext");
            else if (step == QLatin1String("type")) {
                control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet3"));
                QTest::keyClicks(control<DBEdit>("ChoiceEdit", 4), QStringLiteral("x"));
            } else if (step == QLatin1String("reopen")) {
                closeSampler();
                openSampler();
            }
        }
        QCOMPARE(this->heading(), heading);
        QCOMPARE(this->panels(), panels);
        QCOMPARE(control<QPushButton>("BitBtn1")->isEnabled(), saveCancel);
        QCOMPARE(control<QPushButton>("BitBtn2")->isEnabled(), saveCancel);
    }

    void addItem_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("sectionRow");
        QTest::addColumn<QString>("storedType");
        QTest::addColumn<QString>("storedSection");
        QTest::newRow("single, planning") << 0 << 0 << "False"
                                          << "1";
        QTest::newRow("multiple, troubleshooting") << 1 << 5 << "True"
                                                   << "6";
        // Refused until one is chosen; then the first is.
        QTest::newRow("no section chosen") << 1 << -1 << "True"
                                           << "1";
        QTest::newRow("no type chosen") << -1 << 3 << "<null>"
                                        << "4";
    }
    void addItem()
    {
        QFETCH(int, type);
        QFETCH(int, sectionRow);
        QFETCH(QString, storedType);
        QFETCH(QString, storedSection);
        openSampler();
        control<QTabWidget>("PageControl1")->setCurrentIndex(2);
        press("AddAct");
        QCOMPARE(control<QTabWidget>("PageControl1")->currentWidget(), control<QWidget>("TabSheet1"));
        verifyActions(false, false, false, false, true);
        QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QString());
        QCOMPARE(control<DBEdit>("ChoiceEdit", 1)->text(), QString());
        QVERIFY(!control<DBCheckBox>("AnswerBox", 2)->isChecked());
        // The choices still show the item shown before.
        QCOMPARE(selectedSection(), 2);
        QCOMPARE(currentNode(), QString());

        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("Which port?"));
        chooseType(type);
        if (sectionRow >= 0) {
            chooseSection(sectionRow);
        } else {
            // Ctrl+click takes the selection off the row shown.
            QListWidget* list = control<QListWidget>("ListBox1");
            control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet2"));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              list->visualItemRect(list->item(2)).center());
            QCOMPARE(selectedSection(), -1);
        }
        QTest::keyClicks(control<DBEdit>("ChoiceEdit", 1), QStringLiteral("22"));
        QTest::keyClicks(control<DBEdit>("ChoiceEdit", 2), QStringLiteral("80"));
        control<DBCheckBox>("AnswerBox", 1)->click();
        control<DBCheckBox>("AnswerBox", 2)->click();
        control<DBCheckBox>("AnswerBox", 2)->click();
        QTest::keyClicks(control<DBMemo>("DBMemo2"), QStringLiteral("SSH listens on 22."));
        QCOMPARE(us().state(), Table::State::Insert);
        if (sectionRow < 0) {
            Dialogs::queueAnswer(Dialogs::Ok);
            press("BitBtn1");
            QCOMPARE(us().state(), Table::State::Insert);
            chooseSection(0);
        }
        press("BitBtn1");

        QCOMPARE(heading(), QStringLiteral("Item ID: 4"));
        QCOMPARE(panel(0), QStringLiteral(" Item ID: 4"));
        QCOMPARE(panel(1), QStringLiteral(" Items: 4"));
        QCOMPARE(nodes(), (QStringList{"1", "2", "3", "4"}));
        QCOMPARE(currentNode(), QStringLiteral("4"));
        verifyActions(true, true, true, true, false);
        closeSampler();

        const auto all = stored();
        QCOMPARE(all.keys(), (QList<qint64>{1, 2, 3, 4}));
        const Stored& rec = all[4];
        QCOMPARE(rec[Q_TEXT], QStringLiteral("Which port?"));
        QCOMPARE(rec[Q_EXPL], QStringLiteral("SSH listens on 22."));
        QCOMPARE(rec[Q_TYPE], storedType);
        QCOMPARE(rec[Q_SECT], storedSection);
        QCOMPARE(rec[QStringLiteral("Q1")], QStringLiteral("22"));
        QCOMPARE(rec[QStringLiteral("Q2")], QStringLiteral("80"));
        QCOMPARE(rec[QStringLiteral("Q3")], QStringLiteral("<null>"));
        QCOMPARE(rec[QStringLiteral("A1")], QStringLiteral("True"));
        QCOMPARE(rec[QStringLiteral("A2")], QStringLiteral("False"));
        QCOMPARE(rec[U_MEMO], QStringLiteral("<null>"));
    }

    void unwritableDataFolder_isNamedBeforeTheSampler()
    {
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", "/proc");
        const QString expected = QStringLiteral("Error: ") + DataFolder::notWritableText(DataFolder::user());
        mainForm->show();
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Ok);
        Driver::press(mainForm, "SamplerBtn");
        qputenv("XDG_DATA_HOME", dataHome);
        QCOMPARE(Dialogs::shownMessages(), QStringList{expected});
        Dialogs::clearLog(); // the error box was the expected one
        QVERIFY(mainForm->isVisible());
        QVERIFY(!s->isVisible());
        QVERIFY(!us().isOpen());
    }

    void save_asksBeforeAnItemThatCanNeverBeRight_data()
    {
        QTest::addColumn<int>("type"); // 0 single, 1 multiple
        QTest::addColumn<QString>("correct");
        QTest::addColumn<QString>("question"); // empty: saved without asking
        QTest::newRow("single, two correct")
            << 0 << "ab"
            << "This single-response item has 2 correct choices, so it can never be answered correctly. "
               "Save anyway?";
        QTest::newRow("correct flag on an empty choice")
            << 1 << "ac"
            << "Choice C is marked correct but has no text, so this item can never be answered correctly. "
               "Save anyway?";
        QTest::newRow("multiple, two correct") << 1 << "ab" << QString();
        QTest::newRow("single, one correct") << 0 << "b" << QString();
    }
    void save_asksBeforeAnItemThatCanNeverBeRight()
    {
        QFETCH(int, type);
        QFETCH(QString, correct);
        QFETCH(QString, question);
        openSampler();
        press("AddAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("Which port?"));
        chooseType(type);
        chooseSection(0);
        QTest::keyClicks(control<DBEdit>("ChoiceEdit", 1), QStringLiteral("22"));
        QTest::keyClicks(control<DBEdit>("ChoiceEdit", 2), QStringLiteral("80"));
        for (const QChar c : correct)
            control<DBCheckBox>("AnswerBox", c.unicode() - 'a' + 1)->click();
        Dialogs::clearLog();
        if (!question.isEmpty()) {
            // Cancel goes back to editing with everything as typed.
            Dialogs::queueAnswer(Dialogs::Cancel);
            press("BitBtn1");
            QCOMPARE(Dialogs::shownMessages(), QStringList{QStringLiteral("Warning: ") + question});
            QCOMPARE(us().state(), Table::State::Insert);
            verifyActions(false, false, false, false, true);
            QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QStringLiteral("Which port?"));
            QCOMPARE(control<DBEdit>("ChoiceEdit", 2)->text(), QStringLiteral("80"));
            QCOMPARE(us().recordCount(), 4); // the three stored and the one being added
            Dialogs::clearLog();
            Dialogs::queueAnswer(Dialogs::Ok); // OK saves it as it is
        }
        press("BitBtn1");
        QCOMPARE(Dialogs::shownMessages(),
                 question.isEmpty() ? QStringList() : QStringList{QStringLiteral("Warning: ") + question});
        QCOMPARE(us().state(), Table::State::Browse);
        verifyActions(true, true, true, true, false);
        closeSampler();
        const auto all = stored();
        QCOMPARE(all.size(), 4);
        QCOMPARE(all.last()[Q_TEXT], QStringLiteral("Which port?"));
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(all.last()[choiceFlag(k)] == QStringLiteral("True"),
                     correct.contains(QChar('a' + k - 1)));
    }

    void cancelOrEsc_dropsTheChange_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<bool>("byEsc");
        QTest::newRow("add, Cancel") << true << false;
        QTest::newRow("add, Esc") << true << true;
        QTest::newRow("edit, Cancel") << false << false;
        QTest::newRow("edit, Esc") << false << true;
    }
    void cancelOrEsc_dropsTheChange()
    {
        QFETCH(bool, adding);
        QFETCH(bool, byEsc);
        const auto before = stored();
        openSampler();
        press("nbNext");
        if (adding)
            press("AddAct");
        else
            press("EditAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("dropped "));
        QTest::keyClicks(control<DBEdit>("ChoiceEdit", 6), QStringLiteral("dropped"));
        control<DBCheckBox>("AnswerBox", 4)->click();
        chooseType(0);
        chooseSection(0);
        if (byEsc)
            QTest::keyClick(control<DBMemo>("DBMemo1"), Qt::Key_Escape);
        else
            press("BitBtn2");
        QVERIFY(s->isVisible());
        QCOMPARE(heading(), QStringLiteral("Item ID: 2"));
        QCOMPARE(panel(3), QString());
        QCOMPARE(control<DBMemo>("DBMemo1")->toPlainText(), QStringLiteral("Second own"));
        QCOMPARE(control<DBEdit>("ChoiceEdit", 6)->text(), QString());
        QCOMPARE(control<QComboBox>("ComboBox1")->currentIndex(), 1);
        QCOMPARE(selectedSection(), 4);
        QCOMPARE(nodes(), (QStringList{"1", "2", "3"}));
        QCOMPARE(currentNode(), QStringLiteral("2"));
        verifyActions(true, true, true, true, false);
        // Esc while browsing does not close the window either.
        QTest::keyClick(s, Qt::Key_Escape);
        QVERIFY(s->isVisible());
        closeSampler();
        QCOMPARE(stored(), before);
    }

    // Edit and Save without touching the choices keeps what the item had.
    void editAndSave_keepsTypeAndSection_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<bool>("multiple");
        QTest::addColumn<int>("rowShown");
        QTest::newRow("section 3, single") << 3 << false << 2;
        QTest::newRow("no section, multiple") << 0 << true << -1;
    }
    void editAndSave_keepsTypeAndSection()
    {
        QFETCH(int, section);
        QFETCH(bool, multiple);
        QFETCH(int, rowShown);
        env->writeUserSet({TestEnv::item(0, section, QStringLiteral("Own"), QStringLiteral("b"), multiple)});
        openSampler();
        QCOMPARE(selectedSection(), rowShown);
        QCOMPARE(control<QComboBox>("ComboBox1")->currentIndex(), multiple ? 1 : 0);
        press("EditAct");
        verifyActions(false, false, false, false, true);
        QTest::keyClicks(control<DBMemo>("DBMemo2"), QStringLiteral("Also: "));
        press("BitBtn1");
        closeSampler();
        const Stored rec = stored()[1];
        QCOMPARE(rec[Q_SECT], QString::number(section));
        QCOMPARE(rec[Q_TYPE], multiple ? QStringLiteral("True") : QStringLiteral("False"));
        QCOMPARE(rec[Q_EXPL], QStringLiteral("Also: Because b is right."));
    }

    void directTyping_storedOnMove()
    {
        openSampler();
        control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet3"));
        QTest::keyClicks(control<DBEdit>("ChoiceEdit", 5), QStringLiteral("Fifth"));
        QCOMPARE(us().state(), Table::State::Edit);
        QCOMPARE(heading(), QStringLiteral("Edit Item"));
        verifyActions(true, true, true, true, true);
        control<DBCheckBox>("AnswerBox", 5)->click();
        QCOMPARE(us().state(), Table::State::Edit);
        // Moving stores the typed change, but not a section merely shown.
        UserSetView shown;
        shown.record = UserSetView::Record{true, 1, false};
        s->ShowUserSetState(shown);
        QCOMPARE(selectedSection(), 0);
        clickNode(QStringLiteral("3"));
        QCOMPARE(us().state(), Table::State::Browse);
        QCOMPARE(heading(), QStringLiteral("Item ID: 3"));

        // A type changed by the candidate and then left is not written either.
        chooseType(1);
        QCOMPARE(us().state(), Table::State::Edit);
        press("nbFirst");
        QCOMPARE(heading(), QStringLiteral("Item ID: 1"));
        QCOMPARE(control<DBEdit>("ChoiceEdit", 5)->text(), QStringLiteral("Fifth"));

        // Adding while typing stores the typed item first.
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("Edited "));
        press("AddAct");
        QCOMPARE(us().state(), Table::State::Insert);
        press("BitBtn2");
        closeSampler();
        const auto all = stored();
        QCOMPARE(all.size(), 3);
        QCOMPARE(all[1][QStringLiteral("Q5")], QStringLiteral("Fifth"));
        QCOMPARE(all[1][QStringLiteral("A5")], QStringLiteral("True"));
        QCOMPARE(all[1][Q_SECT], QStringLiteral("3"));
        QCOMPARE(all[1][Q_TEXT], QStringLiteral("Edited First own"));
        QCOMPARE(all[3][Q_TYPE], QStringLiteral("False"));
    }

    void deleting_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("cancelled") << 1 << false << "1" << QStringList{"1", "2", "3"};
        QTest::newRow("first: the next follows") << 1 << true << "2" << QStringList{"2", "3"};
        QTest::newRow("middle: the next follows") << 2 << true << "3" << QStringList{"1", "3"};
        QTest::newRow("last: the previous follows") << 3 << true << "2" << QStringList{"1", "2"};
    }
    void deleting()
    {
        QFETCH(int, start);
        QFETCH(bool, confirmed);
        QFETCH(QString, current);
        QFETCH(QStringList, left);
        openSampler();
        clickNode(QString::number(start));
        Dialogs::clearLog();
        Dialogs::queueAnswer(confirmed ? Dialogs::Ok : Dialogs::Cancel);
        press("DelAct");
        QCOMPARE(Dialogs::shownMessages(), QStringList{"Confirm: Are you sure to delete this item?"});
        QCOMPARE(nodes(), left);
        QCOMPARE(currentNode(), current);
        QCOMPARE(heading(), QStringLiteral("Item ID: ") + current);
        QCOMPARE(panel(1), QStringLiteral(" Items: %1").arg(left.size()));
        closeSampler();
        QCOMPARE(stored().size(), left.size());
    }

    void deletingEveryItem_showsTheEmptySet()
    {
        openSampler();
        for (int i = 0; i < 3; ++i) {
            Dialogs::queueAnswer(Dialogs::Ok);
            press("DelAct");
        }
        QCOMPARE(heading(), QStringLiteral("The question set is empty"));
        QCOMPARE(panel(0), QStringLiteral(" Empty"));
        QCOMPARE(panel(1), QStringLiteral(" Items: 0"));
        verifyActions(true, false, false, true, false);
        QCOMPARE(nodes(), QStringList());
        QVERIFY(control<DBMemo>("DBMemo1")->toPlainText().isEmpty());
        QVERIFY(!control<QToolButton>("nbNext")->isEnabled());
        closeSampler();
        QVERIFY(stored().isEmpty());
    }

    void emptyQuestionSet_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("cancelled") << "browse" << false;
        QTest::newRow("confirmed") << "browse" << true;
        QTest::newRow("confirmed while adding") << "add" << true;
        QTest::newRow("cancelled while editing") << "edit" << false;
        QTest::newRow("confirmed while editing") << "edit" << true;
        QTest::newRow("confirmed on an empty set") << "empty" << true;
    }
    void emptyQuestionSet()
    {
        QFETCH(QString, state);
        QFETCH(bool, confirmed);
        if (state == QLatin1String("empty"))
            env->writeUserSet({});
        openSampler();
        if (state == QLatin1String("add"))
            press("AddAct");
        if (state == QLatin1String("edit"))
            press("EditAct");
        if (state != QLatin1String("browse") && state != QLatin1String("empty"))
            QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("pending"));
        Dialogs::clearLog();
        Dialogs::queueAnswer(confirmed ? Dialogs::Ok : Dialogs::Cancel);
        press("Emptyquestionset1");
        QCOMPARE(
            Dialogs::shownMessages(),
            QStringList{"Warning: This action will erase all items in this question set!\nAre you sure?"});
        if (!confirmed) {
            QCOMPARE(nodes(), (QStringList{"1", "2", "3"}));
            QCOMPARE(us().state(),
                     state == QLatin1String("edit") ? Table::State::Edit : Table::State::Browse);
            press("BitBtn2");
            closeSampler();
            QCOMPARE(stored().size(), 3);
            QCOMPARE(stored()[1][Q_TEXT], QStringLiteral("First own"));
            return;
        }
        QVERIFY(us().isOpen());
        QVERIFY(us().exclusive());
        QCOMPARE(us().recordCount(), 0);
        QCOMPARE(heading(), QStringLiteral("The question set is empty"));
        QCOMPARE(panel(0), QStringLiteral(" Empty"));
        QCOMPARE(panel(1), QStringLiteral(" Items: 0"));
        QCOMPARE(panel(2), QStringLiteral("  Browsing"));
        QCOMPARE(nodes(), QStringList());
        // A pending change went with the set; the candidate can go on adding.
        verifyActions(true, false, false, true, false);
        press("AddAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("Fresh start"));
        press("BitBtn1");
        QCOMPARE(nodes().size(), 1);
        closeSampler();
        QVERIFY(!us().exclusive());
        const auto all = stored();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all.first()[Q_TEXT], QStringLiteral("Fresh start"));
    }

    void closing_asksAndDropsAPendingItem()
    {
        openSampler();
        press("AddAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("never saved"));
        Dialogs::clearLog();
        Dialogs::queueAnswer(Dialogs::Cancel);
        s->close();
        QCOMPARE(Dialogs::shownMessages(), QStringList{"Confirm: Are you sure to exit?"});
        QVERIFY(s->isVisible());
        QVERIFY(!mainForm->isVisible());
        QCOMPARE(us().state(), Table::State::Insert);

        Dialogs::queueAnswer(Dialogs::Ok);
        s->close();
        QVERIFY(!s->isVisible());
        QVERIFY(mainForm->isVisible());
        QVERIFY(!us().isOpen());
        QCOMPARE(stored().size(), 3);

        openSampler();
        verifyActions(true, true, true, true, false);
        QCOMPARE(heading(), QStringLiteral("Item ID: 1"));
        closeSampler();
    }

    void resizing_widensTheChoiceBoxes()
    {
        openSampler();
        control<QTabWidget>("PageControl1")->setCurrentWidget(control<QWidget>("TabSheet3"));
        for (const QSize& size : {QSize(646, 481), QSize(1000, 700), QSize(700, 470)}) {
            s->resize(size);
            QCoreApplication::processEvents();
            const int right = control<QScrollArea>("ScrollBox1")->viewport()->width() - 10;
            for (int k = 1; k <= ChoiceCount; ++k)
                QCOMPARE(control<DBEdit>("ChoiceEdit", k)->geometry().right() + 1, right);
        }
        QCOMPARE(s->minimumSize(), QSize(646, 462));
        closeSampler();
    }

    void writtenItems_takenAsUserExam()
    {
        env->writeUserSet({});
        openSampler();
        const QStringList questions{QStringLiteral("Own A"), QStringLiteral("Own B")};
        for (int i = 0; i < 2; ++i) {
            press("AddAct");
            QTest::keyClicks(control<DBMemo>("DBMemo1"), questions[i]);
            QTest::keyClicks(control<DBEdit>("ChoiceEdit", 1), QStringLiteral("yes"));
            QTest::keyClicks(control<DBEdit>("ChoiceEdit", 2), QStringLiteral("no"));
            control<DBCheckBox>("AnswerBox", i + 1)->click();
            chooseType(i);
            chooseSection(i + 3);
            press("BitBtn1");
        }
        // One deleted in between: the IDs are what the table assigned.
        Dialogs::queueAnswer(Dialogs::Ok);
        press("nbFirst");
        press("DelAct");
        press("AddAct");
        QTest::keyClicks(control<DBMemo>("DBMemo1"), QStringLiteral("Own C"));
        press("BitBtn1");
        QCOMPARE(nodes(), (QStringList{"2", "3"}));
        closeSampler();

        TTestForm* exam = &env->windows().exam();
        exam->show();
        Driver::startExam(exam, "UserAct");
        QCOMPARE(exam->examMode, ExamMode::Testing);
        QCOMPARE(exam->ItemCount, 2);
        Table& ces = *exam->dtCurrentSet;
        QHash<qint64, QString> byOriginal;
        for (ces.first(); !ces.eof(); ces.next())
            byOriginal.insert(ces.fieldByName(Q_OR_NUMBER).asInteger(),
                              ces.fieldByName(Q_TEXT).asString() + QLatin1Char('/') +
                                  ces.fieldByName(Q_SECT).asString() + QLatin1Char('/') +
                                  ces.fieldByName(Q_TYPE).asString() + QLatin1Char('/') +
                                  QString::number(ces.fieldByName(QStringLiteral("A2")).asBoolean()));
        QCOMPARE(byOriginal.value(2), QStringLiteral("Own B/5/True/1"));
        QCOMPARE(byOriginal.value(3), QStringLiteral("Own C/5/True/0"));
        exam->CloseCurrentExam();
    }

    void aboutBox_opensTheWebPage()
    {
        openSampler();
        QString title;
        QList<QUrl> opened;
        LinkLabel::setOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        // The box is the sampler's own while it is open; its link is tried there.
        Dialogs::setModalHandler([&](QDialog* about) {
            title = about->windowTitle();
            about->show();
            LinkLabel* link = Driver::find<LinkLabel>(about, "WebLabel");
            [&] {
                QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
                QVERIFY(!link->font().underline());
                QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
                QCoreApplication::sendEvent(link, &enter);
                QVERIFY(link->font().underline());
                QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
                QEvent leave(QEvent::Leave);
                QCoreApplication::sendEvent(link, &leave);
                QVERIFY(!link->font().underline());
                QTest::mouseClick(link, Qt::LeftButton);
                Driver::press(about, "OKButton");
                QVERIFY(!about->isVisible());
            }();
            return about->result();
        });
        press("About1");
        QCOMPARE(title, QStringLiteral("About Examora"));
        QCOMPARE(opened, QList<QUrl>{QUrl(TAboutForm::WebAddress)});
        closeSampler();
    }
};

QTEST_MAIN(TestSampler)
#include "test_sampler.moc"
