#include "BankLint.h"
#include "BankSource.h"
#include "BankWriter.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {
QJsonObject item(int id, int exam = 1, int section = 1)
{
    return QJsonObject{{QStringLiteral("id"), id},
                       {QStringLiteral("exam"), exam},
                       {QStringLiteral("section"), section},
                       {QStringLiteral("multiple"), false},
                       {QStringLiteral("question"), QStringLiteral("Question %1?").arg(id)},
                       {QStringLiteral("choices"), QJsonArray{QStringLiteral("one"), QStringLiteral("two")}},
                       {QStringLiteral("correct"), QJsonArray{QStringLiteral("a")}},
                       {QStringLiteral("explanation"), QStringLiteral("One is right. Two is wrong.")}};
}

// A single-response item whose choices have the given lengths, keyed on one.
QJsonObject sized(int id, const QList<int>& lengths, const QString& key)
{
    QJsonObject o = item(id);
    QJsonArray choices;
    for (int i = 0; i < lengths.size(); ++i)
        choices << QString(QChar('a' + i)).repeated(lengths.at(i));
    o[QStringLiteral("choices")] = choices;
    o[QStringLiteral("correct")] = QJsonArray{key};
    return o;
}

// An item with the given choice texts and keys.
QJsonObject choices(int id, const QStringList& texts, const QStringList& keys, bool multiple = false)
{
    QJsonObject o = item(id);
    o[QStringLiteral("choices")] = QJsonArray::fromStringList(texts);
    o[QStringLiteral("correct")] = QJsonArray::fromStringList(keys);
    o[QStringLiteral("multiple")] = multiple;
    return o;
}

// A multiple-response item whose choices have the given lengths.
QJsonObject sizedMultiple(int id, const QList<int>& lengths, const QStringList& keys)
{
    QJsonObject o = sized(id, lengths, keys.first());
    o[QStringLiteral("correct")] = QJsonArray::fromStringList(keys);
    o[QStringLiteral("multiple")] = true;
    return o;
}

QByteArray json(const QJsonArray& items)
{
    return QJsonDocument(items).toJson();
}
} // namespace

class TestBankBuild : public QObject
{
    Q_OBJECT
private slots:
    void soundSource_passes()
    {
        BankSource source;
        QVERIFY(source.parse(json({item(2), item(1), item(3, 6, 6)}), QStringLiteral("a.json")));
        QVERIFY2(source.checkInvariants(QString()), qPrintable(source.errors().join('\n')));
        QCOMPARE(source.items().size(), 3);
        QCOMPARE(source.items().at(0).id, 1); // put in key order
        QCOMPARE(source.items().at(2).section, 6);
    }

    void brokenInvariant_isRefusedNamingItemAndRule_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("message");
        QJsonObject wrongKind = item(1);
        wrongKind[QStringLiteral("exam")] = QStringLiteral("one");
        QJsonObject section = item(2, 1, 7);
        QJsonObject newline = item(1);
        newline[QStringLiteral("choices")] = QJsonArray{QStringLiteral("a\nb"), QStringLiteral("c")};
        QJsonObject seven = item(1);
        seven[QStringLiteral("choices")] = QJsonArray{"1", "2", "3", "4", "5", "6", "7"};
        QJsonObject letter = item(1);
        letter[QStringLiteral("correct")] = QJsonArray{QStringLiteral("g")};
        QJsonObject unknown = item(1);
        unknown[QStringLiteral("answer")] = 3;
        QJsonObject picture = item(1);
        picture[QStringLiteral("pict1")] = QStringLiteral("exhibits/none.bmp");
        QJsonObject onlySecond = item(1);
        onlySecond[QStringLiteral("pict2")] = QStringLiteral("exhibits/x.bmp");
        QTest::newRow("gap") << json({item(1), item(3)}) << QStringLiteral("item 3: Q_ID must run 1, 2, 3");
        QTest::newRow("duplicate") << json({item(1), item(1)}) << QStringLiteral("Q_ID 1 is used twice");
        QTest::newRow("not from one") << json({item(2)}) << QStringLiteral("item 2: Q_ID must run");
        QTest::newRow("section") << json({item(1), section})
                                 << QStringLiteral("item 2: Q_SECT must be 1 to 6 (found 7)");
        QTest::newRow("kind") << json({wrongKind}) << QStringLiteral("item 1: \"exam\" must be an integer");
        QTest::newRow("newline") << json({newline}) << QStringLiteral("item 1: a choice is a single line");
        QTest::newRow("seven") << json({seven}) << QStringLiteral("item 1: an item has at most six choices");
        QTest::newRow("letter") << json({letter}) << QStringLiteral("item 1: \"g\" is not a choice letter");
        QTest::newRow("unknown") << json({unknown}) << QStringLiteral("item 1: unknown field \"answer\"");
        QTest::newRow("picture") << json({picture})
                                 << QStringLiteral("item 1: the exhibit exhibits/none.bmp does not exist");
        QTest::newRow("exhibit 2 alone")
            << json({onlySecond}) << QStringLiteral("item 1: an item with exhibit 2 needs exhibit 1");
        QTest::newRow("not json") << QByteArray("[{\"id\": 1,") << QStringLiteral("t.json: not valid JSON");
        QTest::newRow("not a list") << QByteArray("{}")
                                    << QStringLiteral("t.json: the file must hold an array");
    }
    void brokenInvariant_isRefusedNamingItemAndRule()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, message);
        QTemporaryDir program;
        BankSource bank;
        const bool ok = bank.parse(source, QStringLiteral("t.json")) && bank.checkInvariants(program.path());
        QVERIFY(!ok);
        const QString all = bank.errors().join(QLatin1Char('\n'));
        QVERIFY2(all.contains(message), qPrintable(all));
    }

    void lint_findsBrokenItems()
    {
        QTemporaryDir exhibits;
        QJsonObject twoRight = item(1);
        twoRight[QStringLiteral("correct")] = QJsonArray{"a", "b"};
        QJsonObject oneOfMany = item(2);
        oneOfMany[QStringLiteral("multiple")] = true;
        QJsonObject beyond = item(3);
        beyond[QStringLiteral("correct")] = QJsonArray{"c"};
        QJsonObject same = item(4);
        same[QStringLiteral("question")] = QStringLiteral("question 5?");
        QJsonObject empty = item(5);
        empty[QStringLiteral("explanation")] = QStringLiteral("");
        QJsonObject noSource = item(6);
        noSource[QStringLiteral("pict1")] = QStringLiteral("exhibits/q006-1.bmp");
        BankSource bank;
        QVERIFY(
            bank.parse(json({twoRight, oneOfMany, beyond, same, empty, noSource}), QStringLiteral("t.json")));
        const QString all = BankLint::check(bank.items(), exhibits.path()).join(QLatin1Char('\n'));
        QVERIFY(all.contains(
            QStringLiteral("item 1: a single-response item has exactly one correct choice (found 2)")));
        QVERIFY(all.contains(
            QStringLiteral("item 2: a multiple-response item has two or three correct choices (found 1)")));
        QVERIFY(all.contains(QStringLiteral("item 3: correct choice c has no text")));
        QVERIFY(all.contains(QStringLiteral("item 5: the same question text as t.json, item 4")) ||
                all.contains(QStringLiteral("item 4: the same question text")));
        QVERIFY(all.contains(QStringLiteral("item 5: the explanation is empty")));
        QVERIFY(all.contains(QStringLiteral("item 6: no exhibit source q006-1.txt")));
        QVERIFY(all.contains(QStringLiteral("exam 1 has 6 items; it should have 50")));
    }

    void lengthCues_countKeysLongerThanEveryDistractor()
    {
        BankSource bank;
        QVERIFY(bank.parse(json({sized(1, {10, 11, 9, 9}, QStringLiteral("b")), // keyed longest
                                 sized(2, {11, 11, 9, 9}, QStringLiteral("b")), // a tie: no cue
                                 sized(3, {30, 10, 10, 10}, QStringLiteral("b")),
                                 choices(4,
                                         {QStringLiteral("   aaaa   "), QStringLiteral("bbb"),
                                          QStringLiteral("ccc"), QStringLiteral("ddddd")},
                                         {"a"}), // trimmed, a is shorter than d
                                 sizedMultiple(5, {12, 12, 5, 11}, {"a", "b"}), // the 2 longest
                                 sizedMultiple(6, {12, 11, 11, 5}, {"a", "b"}), // a tie at the boundary
                                 sizedMultiple(7, {12, 5, 20, 11, 3}, {"a", "c", "d"}),
                                 sizedMultiple(8, {20, 11, 12, 5}, {"a", "b"})}), // c is longer than b
                           QStringLiteral("t.json")));
        const BankLint::LengthCues m = BankLint::lengthCues(bank.items());
        QCOMPARE(m.single, 4);
        QCOMPARE(m.singleKeyedLongest, QList<int>({1}));
        QCOMPARE(m.multiple, 4);
        QCOMPARE(m.multipleKeyedLongest, QList<int>({5, 7}));
    }

    void longestStrategyScore_isTheChanceOfPickingTheKeys_data()
    {
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<double>("score");
        QTest::newRow("single, longest") << QList<int>{5, 9, 7, 3} << QStringList{"b"} << 1.0;
        QTest::newRow("single, not longest") << QList<int>{5, 9, 7, 3} << QStringList{"c"} << 0.0;
        QTest::newRow("single, tie of two") << QList<int>{9, 9, 7, 3} << QStringList{"b"} << 0.5;
        QTest::newRow("single, tie of three") << QList<int>{9, 9, 9, 3} << QStringList{"c"} << 1.0 / 3;
        QTest::newRow("two keys, the longest") << QList<int>{5, 9, 7, 3, 2} << QStringList{"b", "c"} << 1.0;
        QTest::newRow("two keys, one longer distractor")
            << QList<int>{5, 9, 7, 3, 12} << QStringList{"b", "c"} << 0.0;
        QTest::newRow("two keys, three tie for the second place")
            << QList<int>{7, 9, 7, 7, 2} << QStringList{"b", "c"} << 1.0 / 3;
        QTest::newRow("two keys, three tie for both places")
            << QList<int>{9, 9, 9, 7, 2} << QStringList{"a", "c"} << 1.0 / 3;
        QTest::newRow("two keys, four tie for both places") // 6 pairs to pick from
            << QList<int>{9, 9, 9, 9, 2} << QStringList{"a", "d"} << 1.0 / 6;
        QTest::newRow("two keys, a key under the tie")
            << QList<int>{9, 7, 7, 5, 2} << QStringList{"a", "d"} << 0.0;
        QTest::newRow("three keys, two tied for the last place")
            << QList<int>{9, 8, 7, 7, 2} << QStringList{"a", "b", "d"} << 0.5;
    }
    void longestStrategyScore_isTheChanceOfPickingTheKeys()
    {
        QFETCH(QList<int>, lengths);
        QFETCH(QStringList, keys);
        QFETCH(double, score);
        BankSource bank;
        const QJsonObject o =
            keys.size() == 1 ? sized(1, lengths, keys.first()) : sizedMultiple(1, lengths, keys);
        QVERIFY(bank.parse(json({o}), QStringLiteral("t.json")));
        QVERIFY(qAbs(BankLint::longestStrategyScore(bank.items().first()) - score) < 1e-9);
    }

    void lengthCues_strategyCountsOnlyThePracticeExams()
    {
        QJsonObject retired = sized(2, {5, 9, 7, 3}, QStringLiteral("b"));
        retired[QStringLiteral("exam")] = 0;
        BankSource bank;
        QVERIFY(bank.parse(json({sized(1, {9, 9, 7, 3}, QStringLiteral("a")), retired,
                                 sized(3, {5, 9, 7, 3}, QStringLiteral("a"))}),
                           QStringLiteral("t.json")));
        const BankLint::LengthCues m = BankLint::lengthCues(bank.items());
        QCOMPARE(m.active, 2);
        QCOMPARE(m.strategyScore, 0.5);
        QCOMPARE(m.strategyScored, QList<int>({1}));
        QCOMPARE(m.singleKeyedLongest, QList<int>({2})); // the share counts every item
    }

    // A bank of 10 single-response and 20 multiple-response items, some of
    // them keyed on the longest choices, some with the key tied for longest.
    void lint_failsOverEachLengthLimit_data()
    {
        QTest::addColumn<int>("singleKeyed");
        QTest::addColumn<int>("singleTied");
        QTest::addColumn<int>("multipleKeyed");
        QTest::addColumn<QStringList>("failures");
        const QString single = QStringLiteral("single-response items");
        const QString multiple = QStringLiteral("multiple-response items");
        const QString strategy = QStringLiteral("picking the longest choice");
        QTest::newRow("all at their limits") << 3 << 0 << 3 << QStringList();
        QTest::newRow("single over") << 4 << 0 << 0 << QStringList{single};
        QTest::newRow("multiple over") << 0 << 0 << 4 << QStringList{multiple};
        QTest::newRow("ties give the strategy its score")
            << 3 << 7 << 3 << QStringList{strategy}; // 3 + 7 x 0.5 + 3 = 9.5 of 30
        QTest::newRow("all over") << 10 << 0 << 20 << QStringList{single, multiple, strategy};
    }
    void lint_failsOverEachLengthLimit()
    {
        QFETCH(int, singleKeyed);
        QFETCH(int, singleTied);
        QFETCH(int, multipleKeyed);
        QFETCH(QStringList, failures);
        QJsonArray items;
        int id = 0;
        for (int i = 0; i < 10; ++i) {
            ++id;
            if (i < singleKeyed)
                items << sized(id, {8, 8, 20, 8}, QStringLiteral("c"));
            else if (i < singleKeyed + singleTied)
                items << sized(id, {20, 8, 20, 8}, QStringLiteral("c"));
            else
                items << sized(id, {8, 8, 20, 8}, QStringLiteral("a"));
        }
        for (int i = 0; i < 20; ++i) {
            ++id;
            items << sizedMultiple(id, {8, 20, 20, 8, 8},
                                   i < multipleKeyed ? QStringList{"b", "c"} : QStringList{"a", "c"});
        }
        BankSource bank;
        QVERIFY(bank.parse(json(items), QStringLiteral("t.json")));
        QTemporaryDir exhibits;
        const QStringList problems = BankLint::check(bank.items(), exhibits.path());
        for (const QString& kind :
             {QStringLiteral("single-response items"), QStringLiteral("multiple-response items"),
              QStringLiteral("picking the longest choice")}) {
            const bool found = std::any_of(problems.cbegin(), problems.cend(), [&](const QString& p) {
                return p.contains(kind) && p.contains(QStringLiteral("at most"));
            });
            QVERIFY2(found == failures.contains(kind),
                     qPrintable(kind + QStringLiteral(": ") + problems.join(QLatin1Char('\n'))));
        }
    }

    void lint_wantsFourChoicesAndTwoDistractors()
    {
        QJsonObject three = sized(1, {5, 5, 5}, QStringLiteral("a"));
        QJsonObject four = sized(2, {5, 5, 5, 5}, QStringLiteral("a"));
        QJsonObject allButOne = sizedMultiple(3, {5, 5, 5, 5}, {"a", "b", "c"});
        QJsonObject twoOfFour = sizedMultiple(4, {5, 5, 5, 5}, {"a", "b"});
        BankSource bank;
        QVERIFY(bank.parse(json({three, four, allButOne, twoOfFour}), QStringLiteral("t.json")));
        QTemporaryDir exhibits;
        const QString all = BankLint::check(bank.items(), exhibits.path()).join(QLatin1Char('\n'));
        QVERIFY2(all.contains(
                     QStringLiteral("item 1: a single-response item offers at least 4 choices (found 3)")),
                 qPrintable(all));
        QVERIFY(!all.contains(QStringLiteral("item 2: a single")));
        QVERIFY(
            all.contains(QStringLiteral("item 3: a multiple-response item offers at least 4 choices and 2 "
                                        "more than its keys (found 4 choices, 3 keys)")));
        QVERIFY(!all.contains(QStringLiteral("item 4: a multiple")));
    }

    void choiceForm_tellsSentencesFromCommands_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<int>("form");
        const int prose = int(BankLint::ChoiceForm::Prose);
        const int command = int(BankLint::ChoiceForm::Command);
        const int term = int(BankLint::ChoiceForm::Term);
        QTest::newRow("sentence") << QStringLiteral("Start the service through sudo.") << prose;
        QTest::newRow("sentence without a stop")
            << QStringLiteral("Very large files and file systems with high parallel throughput") << term;
        QTest::newRow("sentence with small words")
            << QStringLiteral("Many threads writing at the same time, which benefit from it") << prose;
        QTest::newRow("sentence about a command")
            << QStringLiteral("sudo -k invalidates the cached credentials") << prose;
        QTest::newRow("command") << QStringLiteral(
                                        "setcap 'cap_net_bind_service=+ep' /opt/portal/bin/portald")
                                 << command;
        QTest::newRow("command of plain words") << QStringLiteral("ip link set dev ens224 up") << command;
        QTest::newRow("setting") << QStringLiteral("bind interfaces only = yes") << command;
        QTest::newRow("path") << QStringLiteral("/etc/resolv.conf") << command;
        QTest::newRow("backticks") << QStringLiteral("`Make` the target") << command;
        QTest::newRow("command's dot argument") << QStringLiteral("apt search .") << command;
        QTest::newRow("path with a comment")
            << QStringLiteral("/etc/nsswitch.conf, whose hosts line must list files before dns") << term;
        QTest::newRow("value") << QStringLiteral("12 TB") << term;
        QTest::newRow("instruction") << QStringLiteral("Run dracut -f") << term;
    }
    void choiceForm_tellsSentencesFromCommands()
    {
        QFETCH(QString, choice);
        QFETCH(int, form);
        QCOMPARE(int(BankLint::choiceForm(choice)), form);
    }

    void endsWithFullStop_skipsDotsThatAreValues()
    {
        QVERIFY(BankLint::endsWithFullStop(QStringLiteral("Add the user to wheel. ")));
        QVERIFY(BankLint::endsWithFullStop(QStringLiteral("The broadcast address is 198.51.100.255.")));
        QVERIFY(BankLint::endsWithFullStop(QStringLiteral("It returned exit code 203.")));
        QVERIFY(!BankLint::endsWithFullStop(QStringLiteral("apt search .")));
        QVERIFY(!BankLint::endsWithFullStop(QStringLiteral("hosts allow = 127. 10.40.")));
        QVERIFY(!BankLint::endsWithFullStop(QStringLiteral("resolvectl status")));
    }

    void lint_findsChoicesOfMixedForm()
    {
        // Only the keys lack the full stop; only the key is a command; a sound item.
        const QJsonObject stops = choices(1,
                                          {QStringLiteral("Very large files and file systems"),
                                           QStringLiteral("The file system may have to be shrunk."),
                                           QStringLiteral("The volume must be readable by firmware."),
                                           QStringLiteral("Many threads writing at the same time")},
                                          {"a", "d"}, true);
        const QJsonObject command =
            choices(2,
                    {QStringLiteral("Make the binary owned by root and set its setuid bit."),
                     QStringLiteral("Add the service user to the group wheel."),
                     QStringLiteral("Start the service through sudo."),
                     QStringLiteral("setcap 'cap_net_bind_service=+ep' /opt/portal/bin/portald")},
                    {"d"});
        const QJsonObject sound =
            choices(3,
                    {QStringLiteral("resolvectl status"), QStringLiteral("cat /etc/hosts"),
                     QStringLiteral("hostnamectl dns"), QStringLiteral("12 TB")},
                    {"a"});
        BankSource bank;
        QVERIFY(bank.parse(json({stops, command, sound}), QStringLiteral("t.json")));
        QTemporaryDir exhibits;
        const QString all = BankLint::check(bank.items(), exhibits.path()).join(QLatin1Char('\n'));
        QVERIFY2(all.contains(QStringLiteral("item 1: only choices b, c end with a full stop")),
                 qPrintable(all));
        QVERIFY(all.contains(QStringLiteral("item 2: only choices a, b, c end with a full stop")));
        QVERIFY(
            all.contains(QStringLiteral("item 2: sentences (a, b, c) and commands (d) among the choices")));
        QVERIFY(!all.contains(QStringLiteral("item 1: sentences")));
        QVERIFY(!all.contains(QStringLiteral("item 3:")));
    }

    void report_givesEachMeasureItsFigureAndLimit()
    {
        QJsonObject second = sized(2, {5, 9, 7, 3}, QStringLiteral("a"));
        second[QStringLiteral("exam")] = 2;
        BankSource bank;
        QVERIFY(bank.parse(json({sized(1, {5, 9, 7, 3}, QStringLiteral("b"))}), QStringLiteral("one.json")));
        QVERIFY(bank.parse(json({second}), QStringLiteral("two.json")));
        const QString all = BankLint::report(bank.items()).join(QLatin1Char('\n'));
        QVERIFY2(all.contains(QStringLiteral("the key is the strictly longest choice in 1 of 2 items (50%); "
                                             "limit 30%")),
                 qPrintable(all));
        QVERIFY(all.contains(QStringLiteral("scores 1.0 of the 2 items of exams 1 to 6 (50%); limit 28%")));
        QVERIFY(all.contains(QStringLiteral("exam 2: single 0/1 (0%)")));
        QVERIFY(all.contains(QStringLiteral("one.json: single 1/1 (100%)")));
        QVERIFY(all.contains(QStringLiteral("single, key longest: 1\n")));
    }

    void sentenceCount_ignoresDotsInNamesAndNumbers()
    {
        QCOMPARE(BankLint::sentenceCount(QStringLiteral("Edit /etc/fstab. Then run mount -a.")), 2);
        QCOMPARE(BankLint::sentenceCount(QStringLiteral("The prefixes 127. and 10.40. match. Others fail!")),
                 2);
        QCOMPARE(BankLint::sentenceCount(QStringLiteral("Why? Because.")), 2);
    }

    void writer_keepsNotesAcrossRebuilds()
    {
        QTemporaryDir dir;
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);
        BankSource source;
        QVERIFY(source.parse(json({item(1), item(2)}), QStringLiteral("t.json")));
        QVERIFY(source.checkInvariants(QString()));
        const QString path = dir.filePath(TableFiles::Bank);
        QString error;
        QVERIFY(BankWriter::writeBank(source.items(), path, &error));
        {
            Table bank(TableFiles::SessionName, path);
            bank.open();
            bank.setRecNo(2);
            bank.edit();
            bank.fieldByName(ItemRecord::U_MEMO).setAsString(QStringLiteral("my note"));
            bank.post();
        }
        QVERIFY(BankWriter::writeBank(source.items(), path, &error));
        Table bank(TableFiles::SessionName, path);
        bank.open();
        QCOMPARE(bank.recordCount(), 2);
        bank.setRecNo(2);
        QCOMPARE(bank.fieldByName(ItemRecord::U_MEMO).asString(), QStringLiteral("my note"));
        QCOMPARE(bank.fieldByName(ItemRecord::Q_TEXT).asString(), QStringLiteral("Question 2?"));
        QVERIFY(BankWriter::ensureEmptyTable(dir.filePath(TableFiles::UserSet), true, &error));
        Table usr(TableFiles::SessionName, dir.filePath(TableFiles::UserSet));
        usr.open();
        QVERIFY(usr.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBankBuild)
#include "test_bankbuild.moc"
