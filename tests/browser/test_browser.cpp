// The question browser without its window: folding for search, the search
// over every field, the filters, the order, the counts from the score
// history and the CSV text.
#include "TestFolder.h"
#include "core/browser/BrowserCsv.h"
#include "core/browser/QuestionCatalog.h"
#include "core/browser/QuestionIndex.h"
#include "core/browser/TextFold.h"
#include "core/learning/ItemMemory.h"
#include "core/store/NoteBook.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"

#include <QtTest>

namespace {
BrowserItem item(std::int32_t id, const QString& question, ItemSource source = ItemSource::Bank)
{
    BrowserItem i;
    i.source = source;
    i.id = id;
    i.section = 1 + id % 6;
    i.exam = source == ItemSource::Bank ? 1 + id % 6 : 0;
    i.question = question;
    i.choices = {QStringLiteral("alpha"), QStringLiteral("beta")};
    i.correctChoices = 1;
    return i;
}

std::vector<std::int32_t> ids(const QuestionIndex& index, const std::vector<int>& rows)
{
    std::vector<std::int32_t> out;
    for (int r : rows)
        out.push_back(index.item(r).id);
    return out;
}

std::vector<std::int32_t> search(const QuestionIndex& index, const QString& words)
{
    BrowserFilter f;
    f.search = words;
    return ids(index, index.find(f));
}

HistoryAttempt attempt(const QDateTime& when, std::vector<HistoryItem> results)
{
    static qint64 next = 1;
    HistoryAttempt a;
    a.id = next++;
    a.when = when;
    a.examTitle = QStringLiteral("Practice Exam A");
    a.results = std::move(results);
    a.items = std::int32_t(a.results.size());
    return a;
}
} // namespace

class TestBrowser : public QObject
{
    Q_OBJECT
private slots:
    void fold_ignoresCaseAndAccents()
    {
        QCOMPARE(TextFold::fold(u"Été À ÇA"), QStringLiteral("ete a ca"));
        QCOMPARE(TextFold::fold(u"ÅNGSTRÖM Ñandú"), QStringLiteral("angstrom nandu"));
        QCOMPARE(TextFold::fold(u"ﬁle"), QStringLiteral("file")); // a ligature decomposes
        QCOMPARE(TextFold::words(QStringLiteral("  Crème   BRÛLÉE ")), (QStringList{"creme", "brulee"}));
        // The marks land on the original characters, accents and all.
        const QString text = QStringLiteral("Le café est Créé");
        const auto ranges = TextFold::matches(text, TextFold::words(QStringLiteral("cafe CREE")));
        QCOMPARE(int(ranges.size()), 2);
        QCOMPARE(text.mid(ranges[0].first, ranges[0].second - ranges[0].first), QStringLiteral("café"));
        QCOMPARE(text.mid(ranges[1].first, ranges[1].second - ranges[1].first), QStringLiteral("Créé"));
        QVERIFY(TextFold::matches(text, {QStringLiteral("tea")}).empty());
    }

    void search_findsWordsInEveryField_caseAndAccentsIgnored()
    {
        std::vector<BrowserItem> items;
        items.push_back(item(1, QStringLiteral("Where is the LVM Snapshot kept?")));
        items.push_back(item(2, QStringLiteral("Plain question")));
        items.back().choices[2] = QStringLiteral("Use the Résumé option");
        items.push_back(item(3, QStringLiteral("Another")));
        items.back().explanation = QStringLiteral("Naïve caching hurts");
        items.push_back(item(4, QStringLiteral("Fourth")));
        items.back().note = QStringLiteral("ask about ÜBER-mounts");
        items.push_back(item(5, QStringLiteral("Own snapshot item"), ItemSource::UserSet));
        const QuestionIndex index(std::move(items));

        QCOMPARE(search(index, QStringLiteral("lvm snapshot")), (std::vector<std::int32_t>{1}));
        QCOMPARE(search(index, QStringLiteral("SNAPSHOT")), (std::vector<std::int32_t>{1, 5}));
        QCOMPARE(search(index, QStringLiteral("resume")), (std::vector<std::int32_t>{2})); // a choice
        QCOMPARE(search(index, QStringLiteral("NAIVE")), (std::vector<std::int32_t>{3}));  // the explanation
        QCOMPARE(search(index, QStringLiteral("über-mounts")), (std::vector<std::int32_t>{4})); // the note
        QCOMPARE(search(index, QStringLiteral("uber")), (std::vector<std::int32_t>{4}));
        // Every word must occur; words are parts of words.
        QCOMPARE(search(index, QStringLiteral("snap own")), (std::vector<std::int32_t>{5}));
        QCOMPARE(search(index, QStringLiteral("snapshot missing")), (std::vector<std::int32_t>{}));
        // A word never spans two fields.
        QCOMPARE(search(index, QStringLiteral("kept?alpha")), (std::vector<std::int32_t>{}));
        QCOMPARE(search(index, QString()).size(), std::size_t(5));
        QCOMPARE(search(index, QStringLiteral("   ")).size(), std::size_t(5));
    }

    void search_asTyped_findsWhatAFreshSearchFinds()
    {
        std::vector<BrowserItem> items;
        const QStringList words{QStringLiteral("volume"), QStringLiteral("snapshot"), QStringLiteral("mount"),
                                QStringLiteral("résumé"), QStringLiteral("vol")};
        for (int i = 1; i <= 200; ++i)
            items.push_back(item(i, words[i % 5] + QLatin1Char(' ') + words[(i / 5) % 5]));
        const QuestionIndex typed(items);
        // Typing, deleting back and typing on: each keystroke as from scratch.
        const QString sequence[] = {"v",     "vo",     "vol",      "volu", "vol",   "vol ",
                                    "vol s", "vol sn", "vol snap", "vol",  "re",    "res",
                                    "resum", "resume", "resume m", "",     "mount", "mount vol"};
        for (const QString& s : sequence) {
            const std::vector<std::int32_t> expected = search(QuestionIndex(items), s);
            QCOMPARE(search(typed, s), expected);
        }
    }

    void filters_eachAndCombined()
    {
        std::vector<BrowserItem> items;
        for (int i = 1; i <= 12; ++i)
            items.push_back(item(i, QStringLiteral("Q%1").arg(i)));
        items.push_back(item(13, QStringLiteral("own"), ItemSource::UserSet));
        // 2: seen, right; 3: wrong last; 4: wrong once, right last, due; 5: note
        items[1].seen = 1;
        items[1].lastResult = ItemResult::Correct;
        items[2].seen = 2;
        items[2].wrong = 1;
        items[2].lastResult = ItemResult::Wrong;
        items[3].seen = 2;
        items[3].wrong = 1;
        items[3].lastResult = ItemResult::Correct;
        items[3].due = true;
        items[4].note = QStringLiteral("mine");
        items[5].seen = 1;
        items[5].wrong = 1;
        items[5].lastResult = ItemResult::Unanswered;
        const QuestionIndex index(std::move(items));
        const auto shown = [&](const BrowserFilter& f) { return ids(index, index.find(f)); };

        BrowserFilter f;
        f.section = 3; // ids 2, 8 (and own 13 is section 2)
        QCOMPARE(shown(f), (std::vector<std::int32_t>{2, 8}));
        f = {};
        f.exam = 4; // ids 3, 9
        QCOMPARE(shown(f), (std::vector<std::int32_t>{3, 9}));
        f.exam = BrowserFilter::OwnItems;
        QCOMPARE(shown(f), (std::vector<std::int32_t>{13}));
        f = {};
        f.outcomes = BrowserFilter::NeverSeen;
        QCOMPARE(shown(f), (std::vector<std::int32_t>{1, 5, 7, 8, 9, 10, 11, 12, 13}));
        f.outcomes = BrowserFilter::LastWrong; // an unanswered item counts as wrong
        QCOMPARE(shown(f), (std::vector<std::int32_t>{3, 6}));
        f.outcomes = BrowserFilter::EverWrong;
        QCOMPARE(shown(f), (std::vector<std::int32_t>{3, 4, 6}));
        f.outcomes = BrowserFilter::Due;
        QCOMPARE(shown(f), (std::vector<std::int32_t>{4}));
        f.outcomes = BrowserFilter::HasNote;
        QCOMPARE(shown(f), (std::vector<std::int32_t>{5}));
        // Combined: every condition holds.
        f.outcomes = BrowserFilter::EverWrong | BrowserFilter::Due;
        QCOMPARE(shown(f), (std::vector<std::int32_t>{4}));
        f.outcomes = BrowserFilter::EverWrong;
        f.section = 4; // ids 3, 9
        QCOMPARE(shown(f), (std::vector<std::int32_t>{3}));
        f.search = QStringLiteral("q9");
        QCOMPARE(shown(f), (std::vector<std::int32_t>{}));
        f.outcomes = 0;
        QCOMPARE(shown(f), (std::vector<std::int32_t>{9}));
    }

    void sort_byEveryColumn_tiesByIdBothWays()
    {
        std::vector<BrowserItem> items;
        items.push_back(item(3, QStringLiteral("banana")));
        items.push_back(item(1, QStringLiteral("Cherry")));
        items.push_back(item(2, QStringLiteral("apple"), ItemSource::UserSet));
        items.push_back(item(2, QStringLiteral("apple")));
        items[0].seen = 5;
        items[0].recall = 0.5;
        items[1].seen = 1;
        items[1].recall = 0.9;
        items[1].note = QStringLiteral("n");
        const QuestionIndex index(std::move(items));
        const auto sorted = [&](int column, bool descending) {
            std::vector<int> rows = index.find({});
            index.sort(rows, column, descending);
            QStringList out;
            for (int r : rows)
                out << QStringLiteral("%1%2")
                           .arg(index.item(r).source == ItemSource::Bank ? 'B' : 'U')
                           .arg(index.item(r).id);
            return out.join(QLatin1Char(' '));
        };
        QCOMPARE(sorted(BrowserColumn::Id, false), QStringLiteral("B1 B2 U2 B3"));
        QCOMPARE(sorted(BrowserColumn::Id, true), QStringLiteral("B3 U2 B2 B1"));
        QCOMPARE(sorted(BrowserColumn::Source, false), QStringLiteral("B1 B2 B3 U2"));
        QCOMPARE(sorted(BrowserColumn::Question, false), QStringLiteral("B2 U2 B3 B1"));
        QCOMPARE(sorted(BrowserColumn::Seen, true), QStringLiteral("B3 B1 U2 B2"));
        QCOMPARE(sorted(BrowserColumn::Due, false), QStringLiteral("B2 U2 B3 B1"));
        QCOMPARE(sorted(BrowserColumn::Note, true), QStringLiteral("B1 U2 B3 B2"));
        // Every column sorts, and reversing reverses.
        for (int c = 0; c < BrowserColumn::Count; ++c) {
            QStringList up = sorted(c, false).split(QLatin1Char(' '));
            std::reverse(up.begin(), up.end());
            QCOMPARE(sorted(c, true), up.join(QLatin1Char(' ')));
            QVERIFY(!BrowserColumn::title(c).isEmpty());
        }
    }

    void catalog_readsActiveBankItemsNotesAndOwnItems()
    {
        TestFolder folder;
        QList<TestItem> bank = TestFolder::sampleBank(); // item 12 is retired
        bank[2].memo = QStringLiteral("remember the ACLs");
        bank[0].pict1 = QStringLiteral("ex1.png");
        folder.writeBank(bank);
        folder.writeUserSet({TestFolder::item(0, 2, QStringLiteral("My own"), QStringLiteral("b"))});
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);

        Table t(TableFiles::SessionName, folder.path(TableFiles::Bank));
        t.open();
        const std::vector<BrowserItem> items = QuestionCatalog::readBank(
            t, NoteBook(TableFiles::SessionName, folder.userPath(TableFiles::Notes)).readAll());
        QCOMPARE(int(items.size()), 11);
        for (const BrowserItem& i : items)
            QVERIFY2(i.exam >= 1 && i.exam <= 6 && i.question != QStringLiteral("Q12 retired"),
                     qPrintable(i.question));
        QCOMPARE(items[2].note, QStringLiteral("remember the ACLs"));
        QCOMPARE(items[0].picture1, QStringLiteral("ex1.png"));
        QCOMPARE(items[1].correctChoices, std::uint8_t(0b101)); // "ac"
        QVERIFY(items[1].multiple);
        QCOMPARE(items[8].choices[5], QStringLiteral("Choice f of Q9 access"));

        Table own(TableFiles::SessionName, folder.userPath(TableFiles::UserSet));
        own.open();
        const std::vector<BrowserItem> mine = QuestionCatalog::readUserSet(own);
        QCOMPARE(int(mine.size()), 1);
        QCOMPARE(mine[0].source, ItemSource::UserSet);
        QCOMPARE(mine[0].question, QStringLiteral("My own"));
        QCOMPARE(mine[0].correctChoices, std::uint8_t(0b10));
    }

    void counts_agreeWithTheScoreHistory_andWithTheItemMemory()
    {
        const QDateTime day1(QDate(2026, 3, 1), QTime(10, 0));
        std::vector<HistoryAttempt> history;
        history.push_back(attempt(
            day1,
            {{ItemSource::Bank, 1, true}, {ItemSource::Bank, 2, false}, {ItemSource::UserSet, 1, false}}));
        history.push_back(
            attempt(day1.addDays(3), {{ItemSource::Bank, 2, true}, {ItemSource::Bank, 3, false}}));
        history.push_back(
            attempt(day1.addDays(1), {{ItemSource::Bank, 1, false}, {ItemSource::Bank, 2, false}}));

        std::vector<BrowserItem> items{item(1, QStringLiteral("a")), item(2, QStringLiteral("b")),
                                       item(3, QStringLiteral("c")), item(4, QStringLiteral("d")),
                                       item(1, QStringLiteral("own"), ItemSource::UserSet)};
        const qint64 now = day1.addDays(10).toMSecsSinceEpoch();
        QuestionCatalog::attach(items, QuestionCatalog::replay(history), false, now);

        // Seen and wrong, counted straight from the history.
        for (const BrowserItem& i : items) {
            int seen = 0, wrong = 0;
            for (const HistoryAttempt& a : history)
                for (const HistoryItem& r : a.results)
                    if (r.source == i.source && r.number == i.id) {
                        ++seen;
                        wrong += !r.correct;
                    }
            QCOMPARE(i.seen, seen);
            QCOMPARE(i.wrong, wrong);
            QCOMPARE(int(QuestionCatalog::attemptsAt(history, i.source, i.id).size()), seen);
        }
        // The last result is the newest attempt's, not the last one stored.
        QCOMPARE(items[0].lastResult, ItemResult::Wrong);
        QCOMPARE(items[0].lastMs, day1.addDays(1).toMSecsSinceEpoch());
        QCOMPARE(items[1].lastResult, ItemResult::Correct);
        QCOMPARE(items[1].lastMs, day1.addDays(3).toMSecsSinceEpoch());
        QCOMPARE(items[3].lastResult, ItemResult::None);
        QCOMPARE(items[3].recall, 0.0);
        QVERIFY(!items[3].due);
        QVERIFY(items[2].recall > 0 && items[2].recall < 0.9);
        QVERIFY(items[2].due); // wrong ten days ago
        const auto newest = QuestionCatalog::attemptsAt(history, ItemSource::Bank, 2);
        QCOMPARE(newest.front().when, day1.addDays(3));
        QVERIFY(newest.front().correct);

        // The item memory fed from the same history says the same.
        TestFolder folder;
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);
        ItemMemory memory(folder.userDir());
        QCOMPARE(memory.feedFromHistory(history), 3);
        std::vector<BrowserItem> fromMemory = items;
        QuestionCatalog::attach(fromMemory, memory.readAll(), true, now);
        for (std::size_t k = 0; k < items.size(); ++k) {
            QCOMPARE(fromMemory[k].seen, items[k].seen);
            QCOMPARE(fromMemory[k].wrong, items[k].wrong);
            QCOMPARE(fromMemory[k].lastResult, items[k].lastResult);
            QCOMPARE(fromMemory[k].lastMs, items[k].lastMs);
            QVERIFY(qAbs(fromMemory[k].recall - items[k].recall) < 1e-9);
        }
    }

    void csv_theColumnsAsShown_fieldsQuoted()
    {
        std::vector<BrowserItem> items{item(7, QStringLiteral("Say \"hi\", then\nleave")),
                                       item(8, QStringLiteral("Plain"))};
        items[0].seen = 2;
        items[0].wrong = 1;
        items[0].note = QStringLiteral("n");
        const QuestionIndex index(std::move(items));
        const QString csv = BrowserCsv::text(
            index, {1, 0},
            {BrowserColumn::Question, BrowserColumn::Id, BrowserColumn::Wrong, BrowserColumn::Note});
        QCOMPARE(csv, QStringLiteral("Question,ID,Wrong,Note\r\n"
                                     "Plain,8,0,\r\n"
                                     "\"Say \"\"hi\"\", then\",7,1,Yes\r\n"));

        TestFolder folder;
        QString error;
        QVERIFY(
            BrowserCsv::write(folder.path(QStringLiteral("list.csv")), QStringLiteral("é,1\r\n"), &error));
        QFile f(folder.path(QStringLiteral("list.csv")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(f.readAll()), QStringLiteral("é,1\r\n"));
        QVERIFY(
            !BrowserCsv::write(folder.path(QStringLiteral("missing/list.csv")), QStringLiteral("x"), &error));
        QVERIFY(error.contains(QStringLiteral("list.csv")));
    }
};

QTEST_GUILESS_MAIN(TestBrowser)
#include "test_browser.moc"
