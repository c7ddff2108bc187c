// The question browser through the exam window: when it can be opened, the
// search and filters on the list, the detail, practising what is shown,
// the CSV export and the columns kept between uses.
#include "TestEnv.h"
#include "core/history/ScoreHistory.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Table.h"
#include "ui/browser/TBrowserForm.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/history/ExamHistory.h"
#include "ui/widgets/Dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

using namespace ItemRecord;

class TestBrowserWindow : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;

    QAction* browserAction() const { return Driver::find<QAction>(form, "Browser1"); }
    // Opens the browser from the menu and hands it to `use` while it is open.
    bool openBrowser(const std::function<int(TBrowserForm*)>& use)
    {
        bool opened = false;
        Dialogs::setModalHandler([&](QDialog* d) {
            auto* browser = qobject_cast<TBrowserForm*>(d);
            if (!browser)
                return int(QDialog::Rejected);
            opened = true;
            browser->show();
            const int result = use(browser);
            browser->hide();
            return result;
        });
        Driver::press(form, "Browser1");
        return opened;
    }
    static QStringList shownIds(TBrowserForm* b)
    {
        QStringList ids;
        for (const RetakeSet::Item& i : b->shownItems())
            ids << QStringLiteral("%1%2").arg(i.source == ItemSource::Bank ? 'B' : 'U').arg(i.id);
        return ids;
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        QList<TestItem> bank = TestEnv::sampleBank();
        bank[2].memo = QStringLiteral("Check the Zürich ACL note");
        bank[4].explanation = QStringLiteral("Monitoring with Prométhée");
        bank[5].choices[2] = QStringLiteral("Read it with journalctl");
        env->writeBank(bank);
        env->writeEmptyCurrentSet();
        env->writeUserSet(
            {TestEnv::item(0, 2, QStringLiteral("My own install question"), QStringLiteral("a")),
             TestEnv::item(0, 5, QStringLiteral("My own monitoring question"), QStringLiteral("b"))});
        form = env->createForms();
        form->History->folder = env->path(QStringLiteral("history"));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        Dialogs::clearLog();
    }
    void cleanup()
    {
        form = nullptr;
        env.reset();
    }

    void menuItem_onlyWhenNoExamIsBeingTaken()
    {
        QCOMPARE(browserAction()->text(), QStringLiteral("Question &Browser..."));
        QCOMPARE(browserAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
        QVERIFY(browserAction()->isEnabled());

        Driver::startExam(form, "AllQAct", QStringLiteral("Ada"), 90, 3);
        QCOMPARE(form->examMode, ExamMode::Testing);
        QVERIFY(!browserAction()->isEnabled());
        // Neither the menu command nor its key opens it now.
        int opened = 0;
        Dialogs::setModalHandler([&opened](QDialog*) {
            ++opened;
            return int(QDialog::Rejected);
        });
        browserAction()->trigger();
        QTest::keyClick(form, Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(opened, 0);

        // In review after grading it opens, but starts no exam over this one.
        Driver::pickChoice(form, 2);
        Driver::gradeAndView(form);
        QVERIFY(browserAction()->isEnabled());
        bool practiseEnabled = true;
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            practiseEnabled = Driver::find<QPushButton>(b, "PractiseButton")->isEnabled();
            return int(QDialog::Rejected);
        }));
        QVERIFY(!practiseEnabled);
        QCOMPARE(form->examMode, ExamMode::Reviewing);

        form->CloseCurrentExam();
        QVERIFY(browserAction()->isEnabled());
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            practiseEnabled = Driver::find<QPushButton>(b, "PractiseButton")->isEnabled();
            return int(QDialog::Rejected);
        }));
        QVERIFY(practiseEnabled);
    }

    void list_searchFiltersAndDetail()
    {
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            // Eleven active bank items (the retired one never) and two own ones.
            [&] {
                QCOMPARE(b->shownItems().size(), std::size_t(13));
                QVERIFY(!shownIds(b).contains(QStringLiteral("B12")));
                QCOMPARE(Driver::find<QLabel>(b, "CountLabel")->text(), QStringLiteral("13 of 13 items"));

                auto* search = Driver::find<QLineEdit>(b, "SearchEdit");
                QTest::keyClicks(search, QStringLiteral("ZURICH"));
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("B3")}); // by its note
                QVERIFY(b->detailText().contains(QStringLiteral("Check the Zürich ACL note")));
                search->setText(QStringLiteral("promethee"));
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("B5")}); // by its explanation
                search->setText(QStringLiteral("JournalCTL"));
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("B6")}); // by a choice
                search->setText(QStringLiteral("MONITORING"));
                QCOMPARE(shownIds(b), (QStringList{"B5", "U2"}));

                auto* exam = Driver::find<QComboBox>(b, "ExamBox");
                exam->setCurrentIndex(exam->findData(BrowserFilter::OwnItems));
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("U2")});
                search->clear();
                QCOMPARE(shownIds(b), (QStringList{"U1", "U2"}));
                exam->setCurrentIndex(exam->findData(2));
                QCOMPARE(shownIds(b), (QStringList{"B3", "B4"}));
                auto* section = Driver::find<QComboBox>(b, "SectionBox");
                section->setCurrentIndex(section->findData(4));
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("B4")});
                exam->setCurrentIndex(0);
                section->setCurrentIndex(0);
                Driver::find<QCheckBox>(b, "OutcomeBox5")->setChecked(true); // has a note
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("B3")});
                Driver::find<QCheckBox>(b, "OutcomeBox2")->setChecked(true); // and last answer wrong
                QCOMPARE(shownIds(b), QStringList());
                QCOMPARE(Driver::find<QLabel>(b, "CountLabel")->text(), QStringLiteral("0 of 13 items"));
            }();
            return int(QDialog::Rejected);
        }));
    }

    void historyAndCounts_agreeWithTheScoreHistory()
    {
        // Two graded exams: Q1 planning right then wrong.
        for (int round = 0; round < 2; ++round) {
            Driver::startExam(form, "Action1", QStringLiteral("Ada"), 90, 5);
            Table& t = *form->dtCurrentSet;
            for (t.first(); !t.eof(); t.next())
                if (t.fieldByName(Q_TEXT).asString() == QStringLiteral("Q1 planning"))
                    break;
            Driver::pickChoice(form, round == 0 ? 2 : 1);
            Driver::gradeAndView(form);
            form->CloseCurrentExam();
        }
        std::vector<HistoryAttempt> attempts;
        QString error;
        QVERIFY(ScoreHistory(form->History->folder).load(&attempts, &error));
        QCOMPARE(int(attempts.size()), 2);

        QVERIFY(openBrowser([&](TBrowserForm* b) {
            [&] {
                auto* grid = Driver::find<QTableView>(b, "ItemGrid");
                const QAbstractItemModel* m = grid->model();
                for (int r = 0; r < m->rowCount(); ++r) {
                    const std::int32_t id = m->index(r, BrowserColumn::Id).data().toInt();
                    const bool own =
                        m->index(r, BrowserColumn::Source).data().toString() == QStringLiteral("Own");
                    int seen = 0, wrong = 0;
                    for (const HistoryAttempt& a : attempts)
                        for (const HistoryItem& i : a.results)
                            if (i.number == id && (i.source == ItemSource::UserSet) == own) {
                                ++seen;
                                wrong += !i.correct;
                            }
                    QCOMPARE(m->index(r, BrowserColumn::Seen).data().toInt(), seen);
                    QCOMPARE(m->index(r, BrowserColumn::Wrong).data().toInt(), wrong);
                }
                Driver::find<QCheckBox>(b, "OutcomeBox2")->setChecked(true); // last answer wrong
                QVERIFY(b->shownItems().size() >= 1);
                Driver::find<QLineEdit>(b, "SearchEdit")->setText(QStringLiteral("q1 planning"));
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("B1")});
                const QString detail = b->detailText();
                QVERIFY2(detail.contains(QStringLiteral("b. Choice b of Q1 planning \u2714 (right)")),
                         qPrintable(detail));
                QVERIFY(detail.contains(QStringLiteral(": right (Practice Exam A)")));
                QVERIFY(detail.contains(QStringLiteral(": wrong (Practice Exam A)")));
                QVERIFY(detail.contains(QStringLiteral("Seen 2 times, wrong 1 times")));
                Driver::find<QCheckBox>(b, "OutcomeBox1")->setChecked(true); // and never seen: none
                QCOMPARE(shownIds(b), QStringList());
            }();
            return int(QDialog::Rejected);
        }));
    }

    void practiseThese_startsAnExamOfExactlyTheShownItems()
    {
        form->SeedSource = [] { return 11u; };
        QString caption;
        bool numberEnabled = true;
        int number = 0;
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            Driver::find<QLineEdit>(b, "SearchEdit")->setText(QStringLiteral("install"));
            [&] { QCOMPARE(shownIds(b), (QStringList{"B2", "B8", "U1"})); }();
            // The name dialog comes once the browser is closed.
            Dialogs::setModalHandler([&](QDialog* d) {
                caption = d->windowTitle();
                numberEnabled = Driver::find<QSpinBox>(d, "SpinEdit2")->isEnabled();
                number = Driver::find<QSpinBox>(d, "SpinEdit2")->value();
                Driver::press(d, "BitBtn1");
                return d->result();
            });
            Driver::press(b, "PractiseButton");
            return b->result();
        }));
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(caption, QStringLiteral("Practise the Chosen Items"));
        QVERIFY(!numberEnabled);
        QCOMPARE(number, 3);
        QCOMPARE(form->ItemCount, 3);
        QCOMPARE(form->Sheet.size(), 3);
        QStringList questions;
        Table& t = *form->dtCurrentSet;
        for (t.first(); !t.eof(); t.next())
            questions << t.fieldByName(Q_TEXT).asString();
        questions.sort();
        QCOMPARE(questions, (QStringList{"My own install question", "Q2 install", "Q8 install"}));
        QVERIFY(!browserAction()->isEnabled());
    }

    void practiseThese_withNothingShown_saysSo()
    {
        Dialogs::queueAnswer(Dialogs::Ok);
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            Driver::find<QLineEdit>(b, "SearchEdit")->setText(QStringLiteral("nothing like this"));
            Driver::press(b, "PractiseButton");
            return b->result();
        }));
        QCOMPARE(Dialogs::shownMessages(),
                 QStringList{QStringLiteral("Information: No items are shown to practise.")});
        QCOMPARE(form->examMode, ExamMode::Idle);
    }

    void exportCsv_theListAsShown_cancelWritesNothing()
    {
        const QString file = env->path(QStringLiteral("items.csv"));
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            auto* header = Driver::find<QTableView>(b, "ItemGrid")->horizontalHeader();
            header->moveSection(header->visualIndex(BrowserColumn::Question), 0);
            Driver::find<QComboBox>(b, "SectionBox")->setCurrentIndex(1); // section 1
            Dialogs::queueFileName(QString());
            Driver::press(b, "ExportButton");
            Dialogs::queueFileName(file);
            Driver::press(b, "ExportButton");
            return int(QDialog::Rejected);
        }));
        QFile csv(file);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(QStringLiteral("Question,ID,Source,Section,Exam,")),
                 qPrintable(lines[0]));
        QVERIFY(lines[1].startsWith(QStringLiteral("Q1 planning,1,Bank,1,1,0,0,")));
        QVERIFY(lines[2].startsWith(QStringLiteral("Q7 planning,7,Bank,1,4,")));
    }

    void columns_orderAndWidthsKeptBetweenUses()
    {
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            auto* header = Driver::find<QTableView>(b, "ItemGrid")->horizontalHeader();
            header->moveSection(header->visualIndex(BrowserColumn::Wrong), 1);
            header->resizeSection(BrowserColumn::Question, 333);
            return int(QDialog::Rejected);
        }));
        // A new exam window, as at the next start, reads them back.
        env->destroyForms();
        form = env->createForms();
        form->History->folder = env->path(QStringLiteral("history"));
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            auto* header = Driver::find<QTableView>(b, "ItemGrid")->horizontalHeader();
            [&] {
                QCOMPARE(header->logicalIndex(1), int(BrowserColumn::Wrong));
                QCOMPARE(header->logicalIndex(0), int(BrowserColumn::Id));
                QCOMPARE(header->sectionSize(BrowserColumn::Question), 333);
            }();
            return int(QDialog::Rejected);
        }));
    }

    void largeBank_theRestJoinsTheList_practiseTakesAll()
    {
        QList<TestItem> bank;
        for (int i = 1; i <= 700; ++i)
            bank << TestEnv::item(i % 7 == 0 ? 0 : 1 + i % 6, 1 + i % 6,
                                  QStringLiteral("Large item %1").arg(i), QStringLiteral("a"));
        env->writeBank(bank);
        form->SeedSource = [] { return 5u; };
        int chosen = 0;
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            [&] {
                // The first screenful is there at once; the rest joins it.
                QVERIFY(b->shownItems().size() >= 500);
                QTRY_VERIFY(!b->isLoading());
                QCOMPARE(int(b->shownItems().size()), 600 + 2); // every seventh retired; two own items
                Driver::find<QLineEdit>(b, "SearchEdit")->setText(QStringLiteral("item 690"));
                QCOMPARE(shownIds(b), QStringList{QStringLiteral("B690")}); // read with the rest
                Driver::find<QLineEdit>(b, "SearchEdit")->setText(QStringLiteral("large"));
            }();
            Driver::acceptNameDialog();
            Driver::press(b, "PractiseButton");
            chosen = int(b->chosenItems().size());
            return b->result();
        }));
        QCOMPARE(chosen, 600);
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->Sheet.size(), 600);
    }

    void window_fitsASmallScreen_everyControlReachable()
    {
        QVERIFY(openBrowser([&](TBrowserForm* b) {
            [&] {
                QVERIFY(b->minimumSizeHint().width() <= 1024 && b->minimumSizeHint().height() <= 600);
                QVERIFY(b->width() <= 1024 && b->height() <= 600);
                // Tab reaches every control, one after another.
                QStringList order;
                QWidget* w = Driver::find<QLineEdit>(b, "SearchEdit");
                for (int i = 0; i < 20 && !order.contains(w->objectName()); ++i) {
                    order << w->objectName();
                    w = w->nextInFocusChain();
                    while (!(w->focusPolicy() & Qt::TabFocus))
                        w = w->nextInFocusChain();
                }
                for (const char* name :
                     {"SectionBox", "ExamBox", "OutcomeBox1", "OutcomeBox5", "ItemGrid", "DetailView",
                      "ExhibitButton1", "PractiseButton", "ExportButton", "CloseButton"})
                    QVERIFY2(order.contains(QString::fromLatin1(name)), name);
            }();
            return int(QDialog::Rejected);
        }));
    }
};

QTEST_MAIN(TestBrowserWindow)
#include "test_browserwindow.moc"
