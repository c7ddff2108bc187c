#include "BankLint.h"
#include "BankSource.h"
#include "BankWriter.h"
#include "store/ItemRecord.h"
#include "store/TableFiles.h"
#include "tables/Session.h"
#include "tables/Table.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

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

    void longestChoice_countsOnlyAChoiceThirtyPercentLongerThanEveryOther()
    {
        QJsonObject multiple = sized(6, {10, 30, 10}, QStringLiteral("b"));
        multiple[QStringLiteral("multiple")] = true;
        multiple[QStringLiteral("correct")] = QJsonArray{"a", "b"};
        BankSource bank;
        QVERIFY(bank.parse(json({sized(1, {10, 13, 9}, QStringLiteral("b")),      // outstanding, keyed
                                 sized(2, {10, 12, 9}, QStringLiteral("b")),      // 20% longer: not counted
                                 sized(3, {13, 10, 13}, QStringLiteral("a")),     // a tie: not counted
                                 sized(4, {40, 10, 10, 10}, QStringLiteral("c")), // outstanding, not keyed
                                 sized(5, {5, 20}, QStringLiteral("a")),          // outstanding, not keyed
                                 multiple}),
                           QStringLiteral("t.json")));
        const BankLint::LongestChoice m = BankLint::longestChoice(bank.items());
        QCOMPARE(m.outstanding, 3);
        QCOMPARE(m.keyed, 1);
        QCOMPARE(BankLint::describe(m),
                 QStringLiteral("the longest choice is the key in 1 of 3 single-response "
                                "items with a choice at least 30% longer than the "
                                "others (33%)"));
    }

    void lint_failsWhenTheLongestChoiceIsTooOftenTheKey_data()
    {
        QTest::addColumn<int>("keyed");
        QTest::addColumn<bool>("fails");
        QTest::newRow("1 of 5") << 1 << false;
        QTest::newRow("2 of 5, at the limit") << 2 << true;
        QTest::newRow("4 of 5") << 4 << true;
    }
    void lint_failsWhenTheLongestChoiceIsTooOftenTheKey()
    {
        QFETCH(int, keyed);
        QFETCH(bool, fails);
        QTemporaryDir exhibits;
        QJsonArray items;
        for (int id = 1; id <= 5; ++id)
            items << sized(id, {8, 8, 20, 8}, id <= keyed ? QStringLiteral("c") : QStringLiteral("a"));
        BankSource bank;
        QVERIFY(bank.parse(json(items), QStringLiteral("t.json")));
        const QString all = BankLint::check(bank.items(), exhibits.path()).join(QLatin1Char('\n'));
        const QString message =
            QStringLiteral("the longest choice is the key in %1 of 5 single-response items "
                           "with a choice at least 30% longer than the others (%2%); it "
                           "should be under 40%")
                .arg(keyed)
                .arg(keyed * 20);
        QCOMPARE(all.contains(message), fails);
        QVERIFY2(all.contains(QStringLiteral("exam 1 has 5 items")), qPrintable(all)); // the rest still runs
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
