// Question files in and out of the user set: the three formats, the import
// rules, writing, and appending to the table. No window is needed.
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/transfer/AikenFormat.h"
#include "core/transfer/CsvFormat.h"
#include "core/transfer/GiftFormat.h"
#include "core/transfer/ImportJob.h"
#include "core/transfer/ImportRules.h"
#include "core/transfer/QuestionFile.h"
#include "core/transfer/UserSetTransfer.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

Q_DECLARE_METATYPE(TransferItem)
Q_DECLARE_METATYPE(QuestionFile::Format)

namespace {
// correct: the letters of the right choices, e.g. "b" or "ac".
TransferItem item(int section, bool multiple, const QString& question, const QStringList& choices,
                  const QString& correct, const QString& explanation = QString())
{
    TransferItem t;
    t.section = section;
    t.multiple = multiple;
    t.question = question;
    for (int i = 0; i < choices.size(); ++i)
        t.addChoice(choices.at(i), correct.contains(QChar(u'a' + i)));
    t.explanation = explanation;
    return t;
}

QStringList messages(const QList<ImportProblem>& problems)
{
    QStringList list;
    for (const ImportProblem& p : problems)
        list << (p.line ? QStringLiteral("%1: %2").arg(p.line).arg(p.message) : p.message);
    return list;
}

QString describe(const TransferItem& t)
{
    QStringList choices;
    for (int i = 0; i < t.choices.size(); ++i)
        choices << (t.correct.value(i) ? QStringLiteral("*") : QString()) + t.choices.at(i);
    return QStringLiteral("%1|%2|%3|%4|%5")
        .arg(t.section)
        .arg(t.multiple ? QStringLiteral("multiple") : QStringLiteral("single"), t.question,
             choices.join(QLatin1Char(';')), t.explanation);
}

QStringList describe(const QList<TransferItem>& items)
{
    QStringList list;
    for (const TransferItem& t : items)
        list << describe(t);
    return list;
}
} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT
private:
    Session session{TableFiles::SessionName};

    QString newUserSet(const QTemporaryDir& dir, int existing)
    {
        const QString path = dir.filePath(TableFiles::UserSet);
        Table::createFile(path, TableFiles::SessionName, ItemRecord::userSetSchema());
        Table t(TableFiles::SessionName, path);
        t.open();
        QList<TransferItem> items;
        for (int i = 0; i < existing; ++i)
            items << item(2, false, QStringLiteral("Typed %1").arg(i),
                          {QStringLiteral("x"), QStringLiteral("y")}, QStringLiteral("a"));
        UserSetTransfer::appendAll(t, items, 1);
        return path;
    }
    int countOf(const QString& path)
    {
        Table t(TableFiles::SessionName, path);
        t.open();
        return t.recordCount();
    }

private slots:
    void initTestCase() { session.registerPassword(TableFiles::Password); }

    void rules_data()
    {
        QTest::addColumn<TransferItem>("item");
        QTest::addColumn<QStringList>("problems");
        const QStringList two{QStringLiteral("yes"), QStringLiteral("no")};
        const QString q = QStringLiteral("Q?");
        QTest::newRow("clean") << item(1, false, q, two, QStringLiteral("a")) << QStringList();
        QTest::newRow("no text") << item(1, false, QStringLiteral("  \n"), two, QStringLiteral("a"))
                                 << QStringList{"The question has no text."};
        QTest::newRow("one choice") << item(1, false, q, {QStringLiteral("yes")}, QStringLiteral("a"))
                                    << QStringList{
                                           "The question has only one choice; at least two are needed."};
        QTest::newRow("a gap does not count")
            << item(1, false, q, {QStringLiteral("yes"), QString(), QString()}, QStringLiteral("a"))
            << QStringList{"The question has only one choice; at least two are needed."};
        QTest::newRow("seven choices")
            << item(1, false, q, QStringList(7, QStringLiteral("c")), QStringLiteral("a"))
            << QStringList{"The question has 7 choices; at most six are possible."};
        QTest::newRow("six choices") << item(1, false, q, QStringList(6, QStringLiteral("c")),
                                             QStringLiteral("f"))
                                     << QStringList();
        QTest::newRow("no correct") << item(1, true, q, two, QString())
                                    << QStringList{"The question has no correct choice."};
        QTest::newRow("letter without choice")
            << item(1, false, q, {QStringLiteral("yes"), QStringLiteral("no"), QString()},
                    QStringLiteral("c"))
            << QStringList{"The correct letter C has no choice."};
        QTest::newRow("single, two correct")
            << item(1, false, q, two, QStringLiteral("ab"))
            << QStringList{"The question is single response but has 2 correct choices."};
        QTest::newRow("multiple, two correct")
            << item(1, true, q, two, QStringLiteral("ab")) << QStringList();
        QTest::newRow("section 7") << item(7, false, q, two, QStringLiteral("a"))
                                   << QStringList{"The section 7 is outside 1 to 6."};
        QTest::newRow("no section yet") << item(0, false, q, two, QStringLiteral("a")) << QStringList();
        QTest::newRow("64 KB exactly")
            << item(1, false, QString(65536, u'x'), two, QStringLiteral("a")) << QStringList();
        QTest::newRow("question over 64 KB") << item(1, false, QString(65537, u'x'), two, QStringLiteral("a"))
                                             << QStringList{"The question text is longer than 64 KB."};
        QTest::newRow("64 KB counted in UTF-8")
            << item(1, false, QString(21846, QChar(0x20AC)), two, QStringLiteral("a"))
            << QStringList{"The question text is longer than 64 KB."};
        QTest::newRow("choice over 64 KB")
            << item(1, false, q, {QStringLiteral("yes"), QString(70000, u'n')}, QStringLiteral("a"))
            << QStringList{"Choice B is longer than 64 KB."};
        QTest::newRow("explanation over 64 KB")
            << item(1, false, q, two, QStringLiteral("a"), QString(70000, u'e'))
            << QStringList{"The explanation is longer than 64 KB."};
    }
    void rules()
    {
        QFETCH(TransferItem, item);
        QFETCH(QStringList, problems);
        QList<ImportProblem> found;
        ImportRules::check(item, &found);
        QCOMPARE(messages(found), problems);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("BOM and CRLF")
            << QByteArray("\xEF\xBB\xBFone\r\ntwo\r\n") << QStringLiteral("one\ntwo\n") << QStringList();
        // Found by fuzzing: a mark after the start stayed in the question,
        // and an export put it first, where reading drops it.
        QTest::newRow("mark inside") << QByteArray("\n\xEF\xBB\xBFQui\r\n\xEF\xBB\xBF")
                                     << QStringLiteral("\nQui\n") << QStringList();
        QTest::newRow("old Mac line ends")
            << QByteArray("one\rtwo") << QStringLiteral("one\ntwo") << QStringList();
        QTest::newRow("four-byte character")
            << QByteArray("\xF0\x9F\x98\x80") << QString::fromUtf8("\xF0\x9F\x98\x80") << QStringList();
        const QStringList bad{"3: The file is not UTF-8 text (save it as UTF-8)."};
        QTest::newRow("Latin-1 byte") << QByteArray("a\nb\nc\xE9t\n") << QString() << bad;
        QTest::newRow("overlong slash") << QByteArray("a\nb\n\xC0\xAF") << QString() << bad;
        QTest::newRow("surrogate") << QByteArray("a\r\nb\r\n\xED\xA0\x80") << QString() << bad;
        QTest::newRow("cut short at the end") << QByteArray("a\nb\n\xE2\x82") << QString() << bad;
        QTest::newRow("beyond U+10FFFF") << QByteArray("a\nb\n\xF4\x90\x80\x80") << QString() << bad;
        QTest::newRow("over 16 MB") << QByteArray(16 * 1024 * 1024 + 1, 'a') << QString()
                                    << QStringList{"The file is larger than 16 MB."};
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QStringList, problems);
        QString decoded;
        QList<ImportProblem> found;
        QCOMPARE(ImportRules::decode(bytes, &decoded, &found), problems.isEmpty());
        QCOMPARE(messages(found), problems);
        if (problems.isEmpty())
            QCOMPARE(decoded, text);
    }

    // As Moodle's question bank export writes a GIFT file.
    void gift_readsMoodleExport()
    {
        const QByteArray file =
            "// question: 0  name: Switch category to $course$/top/Default for VLX\n"
            "$CATEGORY: $course$/top/Default for VLX\n"
            "\n"
            "\n"
            "// question: 0  name: Switch category to $course$/top/Planning\n"
            "$CATEGORY: $course$/top/Planning\n"
            "\n"
            "\n"
            "// question: 101  name: Quotas\n"
            "::Quotas::[html]<p>Which command reports <b>disk quotas</b>?</p>{\n"
            "\t=<p>repquota</p>\n"
            "\t~<p>df</p>\n"
            "\t~<p>du \\= size &amp; more</p>\n"
            "\t####<p>repquota lists them.</p><p>See the manual.</p>\n"
            "}\n"
            "\n"
            "\n"
            "// question: 0  name: Switch category to $course$/top/Setting Up//Managing Resource "
            "Access\n"
            "$CATEGORY: $course$/top/Setting Up//Managing Resource Access\n"
            "\n"
            "\n"
            "// question: 102  name: Init systems\n"
            "::Init systems::[moodle]Which are init systems?{\n"
            "\t~%50%systemd\n"
            "\t~%50%SysV init\n"
            "\t~%-100%GRUB\n"
            "}\n"
            "\n"
            "\n"
            "// question: 103  name: Partial\n"
            "::Partial::Pick the best\\: one{\n"
            "\t=best #Right.\n"
            "\t~%50%good #Half.\n"
            "\t~bad\n"
            "}\n"
            "\n"
            "\n"
            "// question: 104  name: TF\n"
            "::TF::Linux is a kernel.{TRUE}\n"
            "\n"
            "\n"
            "// question: 105  name: Thirds\n"
            "::Thirds::[html]Three of four{\n"
            "\t~%33.33333%a\n"
            "\t~%33.33333%b\n"
            "\t~%33.33333%c\n"
            "\t~%-100%d\n"
            "}\n";
        const ImportResult r = GiftFormat::read(file);
        QCOMPARE(messages(r.problems), QStringList());
        QCOMPARE(describe(r.items),
                 (QStringList{"1|single|Which command reports disk quotas?|*repquota;df;du = size & more|"
                              "repquota lists them.\nSee the manual.",
                              "3|multiple|Which are init systems?|*systemd;*SysV init;GRUB|",
                              "3|single|Pick the best: one|*best;good;bad|",
                              "3|multiple|Three of four|*a;*b;*c;d|"}));
        QCOMPARE(r.items.at(0).line, 10);
        QCOMPARE(messages(r.skipped), QStringList{"39: A true/false question."});
    }

    void gift_readsHandWrittenFiles()
    {
        // A byte-order mark, Windows line ends, blank lines with blanks in
        // them, trailing blanks, comments inside a question, escapes, the
        // missing-word form and no category (section 0: the import asks).
        const QByteArray file = "\xEF\xBB\xBF// my questions   \r\n"
                                "   \r\n"
                                "Which file holds\\n the users?   \r\n"
                                "// a comment inside\r\n"
                                "{   \r\n"
                                "  =/etc/passwd   \r\n"
                                "  ~/etc/\\{users\\}\r\n"
                                "  ~C\\:\\\\users\r\n"
                                "  ####Also /etc/shadow\\#.\r\n"
                                "}\r\n"
                                " \t \r\n"
                                "\r\n"
                                "The {~ls =cat ~cd} command prints a file.\r\n"
                                "\r\n"
                                "$CATEGORY: troubleshooting\r\n"
                                "::T1:: Which logs? {~%50%dmesg ~%50%journalctl ~%-50%ps}\r\n";
        const ImportResult r = GiftFormat::read(file);
        QCOMPARE(messages(r.problems), QStringList());
        QCOMPARE(describe(r.items),
                 (QStringList{"0|single|Which file holds\n the users?|*/etc/passwd;/etc/{users};C:\\users|"
                              "Also /etc/shadow#.",
                              "0|single|The _____ command prints a file.|ls;*cat;cd|",
                              "6|multiple|Which logs?|*dmesg;*journalctl;ps|"}));
        QCOMPARE(r.items.at(0).line, 3);
        QCOMPARE(r.items.at(2).line, 16);
    }

    void gift_listsOtherKindsAndProblems()
    {
        const QByteArray file = "::TF:: Grant is buried in Grant's tomb.{F}\n" // 1
                                "\n"
                                "Who's buried in Grant's tomb?{=no one =nobody}\n" // 3
                                "\n"
                                "Match.{=Canada -> Ottawa =Italy -> Rome}\n" // 5
                                "\n"
                                "When was Grant born?{#1822:5}\n" // 7
                                "\n"
                                "Write an essay.{}\n" // 9
                                "\n"
                                "Just some words.\n" // 11
                                "\n"
                                "Two right?{=a =b ~c}\n" // 13
                                "\n"
                                "None right?{~a ~b}\n" // 15
                                "\n"
                                "Seven?{=1 ~2 ~3 ~4 ~5 ~6 ~7}\n" // 17
                                "\n"
                                "Lonely?{=a ~}\n" // 19
                                "\n"
                                "Open?{=a ~b\n" // 21
                                "\n"
                                "Not a weight?{~%x%a ~b}\n" // 23
                                "\n"
                                "{=a ~b}\n"; // 25
        const ImportResult r = GiftFormat::read(file);
        QCOMPARE(messages(r.skipped),
                 (QStringList{"1: A true/false question.", "3: A short-answer question.",
                              "5: A matching question.", "7: A numerical question.", "9: An essay question.",
                              "11: A text without answers (description)."}));
        QCOMPARE(messages(r.problems),
                 (QStringList{"13: The question is single response but has 2 correct choices.",
                              "15: The question has no correct choice.",
                              "17: The question has 7 choices; at most six are possible.",
                              "19: The question has only one choice; at least two are needed.",
                              "21: The answers are not closed with \"}\".",
                              "23: The question has no correct choice.", "25: The question has no text."}));
    }

    void aiken_readsMoodleExamplesAndExtensions()
    {
        const QByteArray file = "\xEF\xBB\xBFWhat is the correct answer to this question?\r\n"
                                "A. Is it this one?\r\n"
                                "B. Maybe this answer?\r\n"
                                "C. Possibly this one?\r\n"
                                "D. Must be this one!   \r\n"
                                "ANSWER: D\r\n"
                                "\r\n"
                                "Which LMS has the most quiz import formats?\r\n"
                                "A) Moodle\r\n"
                                "B) ATutor\r\n"
                                "C) Claroline\r\n"
                                "D) Blackboard\r\n"
                                "E) WebCT\r\n"
                                "F) Ilias\r\n"
                                "ANSWER: A\r\n"
                                "   \r\n"
                                "\r\n"
                                "A. Which two are editors? (the first line is always the question)\r\n"
                                "A. vi\r\n"
                                "B. ls\r\n"
                                "C. emacs\r\n"
                                "ANSWER: A, C\r\n"
                                "EXPLANATION: vi and emacs edit text.\r\n"
                                "Next question without a blank line\r\n"
                                "a) yes\r\n"
                                "b) no\r\n"
                                "answer:b\r\n";
        const ImportResult r = AikenFormat::read(file);
        QCOMPARE(messages(r.problems), QStringList());
        QCOMPARE(describe(r.items),
                 (QStringList{
                     "0|single|What is the correct answer to this question?|Is it this one?;Maybe this "
                     "answer?;Possibly this one?;*Must be this one!|",
                     "0|single|Which LMS has the most quiz import formats?|*Moodle;ATutor;Claroline;"
                     "Blackboard;WebCT;Ilias|",
                     "0|multiple|A. Which two are editors? (the first line is always the question)|*vi;ls;"
                     "*emacs|vi and emacs edit text.",
                     "0|single|Next question without a blank line|yes;*no|"}));
        QCOMPARE(r.items.at(1).line, 8);
        QCOMPARE(r.items.at(3).line, 24);
    }

    void aiken_problems()
    {
        const QByteArray file = "No answer line\n" // 1
                                "A. one\n"
                                "B. two\n"
                                "\n"
                                "Letter without choice\n" // 5
                                "A. one\n"
                                "B. two\n"
                                "ANSWER: C\n"
                                "\n"
                                "Out of order\n" // 10
                                "A. one\n"
                                "C. two\n"
                                "ANSWER: A\n"
                                "ANSWER: B\n" // 14
                                "Seven\n"     // 15
                                "A. 1\nB. 2\nC. 3\nD. 4\nE. 5\nF. 6\nG. 7\n"
                                "ANSWER: A\n"
                                "Bad letters\n" // 24
                                "A. 1\nB. 2\n"
                                "ANSWER: 2\n"; // 27
        const ImportResult r = AikenFormat::read(file);
        QCOMPARE(messages(r.problems),
                 (QStringList{"1: The question has no ANSWER line.", "5: The correct letter C has no choice.",
                              "12: Choice C stands where choice B belongs.",
                              "14: An ANSWER line stands without a question.",
                              "15: The question has 7 choices; at most six are possible.",
                              "24: The question has no correct choice.",
                              "27: \"2\" in the ANSWER line is not a choice letter."}));
    }

    void csv_readsQuotedMultiLineTextsAndNames()
    {
        const QByteArray file =
            "\xEF\xBB\xBFSection, Type ,question,a,b,c,d,e,f,correct,explanation\r\n"
            "1,single,Plain?,yes,no,,,,,B,\r\n"
            "\r\n"
            "troubleshooting,multiple,\"Two lines,\r\nwith \"\"quotes\"\"\",a,b,c,,,,A;C,\"Because\r\n"
            "of this.\"\r\n"
            "  Setting Up/Managing Resource Access ,,Type from letters,x,y,z,,,,\"a, c\", \r\n"
            ",single,No section,p,,q,,,,c,\r\n";
        const ImportResult r = CsvFormat::read(file);
        QCOMPARE(messages(r.problems), QStringList());
        QCOMPARE(describe(r.items),
                 (QStringList{"1|single|Plain?|yes;*no|",
                              "6|multiple|Two lines,\nwith \"quotes\"|*a;b;*c|Because\nof this.",
                              "3|multiple|Type from letters|*x;y;*z|", "0|single|No section|p;;*q|"}));
        QCOMPARE(r.items.at(1).line, 4);
        QCOMPARE(r.items.at(2).line, 7);
        QCOMPARE(r.items.at(3).line, 8);

        // As a spreadsheet writes it in a country with decimal commas.
        const ImportResult semi =
            CsvFormat::read("section;type;question;a;b;correct\n2;single;Q, really?;x;y;a\n");
        QCOMPARE(messages(semi.problems), QStringList());
        QCOMPARE(describe(semi.items), QStringList{"2|single|Q, really?|*x;y|"});
    }

    void csv_problems_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("problems");
        const QByteArray header = "section,type,question,a,b,c,d,e,f,correct,explanation\n";
        QTest::newRow("empty") << QByteArray("\n\n")
                               << QStringList{"The file is empty; it needs a header row: "
                                              "section,type,question,a,b,c,d,e,f,correct,explanation."};
        QTest::newRow("header only") << header << QStringList{"The file holds no multiple-choice questions."};
        QTest::newRow("unknown column")
            << QByteArray("question,a,b,correct,explantion\nq,x,y,a,e\n")
            << QStringList{"1: The column \"explantion\" is not known; the columns are "
                           "section,type,question,a,b,c,d,e,f,correct,explanation."};
        QTest::newRow("no correct column") << QByteArray("question,a,b\nq,x,y\n")
                                           << QStringList{"1: The header row has no column \"correct\"."};
        QTest::newRow("rows") << header + "7,single,q,x,y,,,,,a,\n"
                                          "0,single,q,x,y,,,,,a,\n"
                                          "Networking,single,q,x,y,,,,,a,\n"
                                          "1,singel,q,x,y,,,,,a,\n"
                                          "1,single,q,x,y,,,,,G,\n"
                                          "1,single,q,x,y,,,,,1,\n"
                                          "1,single,q,x,y,,,,,a,,extra\n"
                                          "1,single,,x,y,,,,,a,\n"
                              << QStringList{
                                     "2: The section 7 is outside 1 to 6.",
                                     "3: The section 0 is outside 1 to 6.",
                                     "4: \"Networking\" is not a section; give 1 to 6 or a section name.",
                                     "5: The type \"singel\" is not known; use single or multiple.",
                                     "6: The correct letter G is not one of A to F.",
                                     "6: The question has no correct choice.",
                                     "7: \"1\" in the correct column is not a choice letter.",
                                     "7: The question has no correct choice.",
                                     "8: The row has 12 fields; the header has 11.",
                                     "9: The question has no text."};
        QTest::newRow("open quote") << header + "1,single,\"q,x,y,,,,,a,\n2,single,q,x,y,,,,,a,\n"
                                    << QStringList{"2: A quoted field is not closed."};
    }
    void csv_problems()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, problems);
        QCOMPARE(messages(CsvFormat::read(file).problems), problems);
    }

    // The examples the README gives import as it says.
    void readmeExamples()
    {
        const ImportResult gift = GiftFormat::read("$CATEGORY: Troubleshooting\n\n"
                                                   "// comments are skipped\n"
                                                   "::Q1:: Which log shows kernel messages? {\n"
                                                   "    =dmesg\n"
                                                   "    ~lastlog\n"
                                                   "    ####dmesg prints the kernel ring buffer.\n"
                                                   "}\n\n"
                                                   "Which two are init systems? {~%50%systemd ~%50%SysV init "
                                                   "~%-100%GRUB}\n");
        QCOMPARE(
            describe(gift.items),
            (QStringList{"6|single|Which log shows kernel messages?|*dmesg;lastlog|dmesg prints the kernel "
                         "ring buffer.",
                         "6|multiple|Which two are init systems?|*systemd;*SysV init;GRUB|"}));
        const ImportResult aiken =
            AikenFormat::read("Which command lists open ports?\nA. ss -tln\nB. ls -l\n"
                              "C. cd /proc\nANSWER: A\n"
                              "EXPLANATION: ss shows sockets; -l the listening ones.\n");
        QCOMPARE(describe(aiken.items),
                 (QStringList{"0|single|Which command lists open ports?|*ss -tln;ls -l;cd "
                              "/proc|ss shows sockets; -l the listening ones."}));
        const ImportResult csv =
            CsvFormat::read("section,type,question,a,b,c,d,e,f,correct,explanation\n"
                            "1,single,Which file lists the mounts at boot?,/etc/fstab,/etc/mtab,,,,,A,\n"
                            "Troubleshooting,multiple,\"Which two show\nmemory use?\",free,top,cd,,,,A;B,"
                            "\"Both read /proc/meminfo.\"\n");
        QCOMPARE(
            describe(csv.items),
            (QStringList{"1|single|Which file lists the mounts at boot?|*/etc/fstab;/etc/mtab|",
                         "6|multiple|Which two show\nmemory use?|*free;*top;cd|Both read /proc/meminfo."}));
    }

    void listing_givesTheFirstTwentyThenACount()
    {
        QList<ImportProblem> problems;
        for (int i = 1; i <= 25; ++i)
            problems << ImportProblem{i * 2, QStringLiteral("Bad %1.").arg(i)};
        const QStringList lines = ImportRules::listing(problems).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 21);
        QCOMPARE(lines.first(), QStringLiteral("Line 2: Bad 1."));
        QCOMPARE(lines.at(19), QStringLiteral("Line 40: Bad 20."));
        QCOMPARE(lines.last(), QStringLiteral("... and 5 more."));
        problems.resize(20);
        QCOMPARE(ImportRules::listing(problems).split(QLatin1Char('\n')).size(), 20);

        ImportResult r;
        r.problems = {ImportProblem{0, QStringLiteral("The file is larger than 16 MB.")}};
        QCOMPARE(ImportRules::failureMessage(QStringLiteral("big.gift"), r),
                 QStringLiteral("Nothing was imported from \"big.gift\": one problem to mend.\n\n"
                                "The file is larger than 16 MB."));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QuestionFile::Format>("format");
        QTest::addColumn<QList<TransferItem>>("items");
        // Texts with every character the formats treat specially.
        const QString tricky = QStringLiteral("Use ~ = # { } : \\ , ; \" and 'quotes' — ünïcødé ✓");
        QList<TransferItem> all{
            item(1, false, QStringLiteral("Single?"), {QStringLiteral("yes"), QStringLiteral("no")},
                 QStringLiteral("b"), QStringLiteral("Because.")),
            item(3, true, tricky,
                 {tricky, QStringLiteral("two"), QStringLiteral("three"), QStringLiteral("4"),
                  QStringLiteral("5"), QStringLiteral("6")},
                 QStringLiteral("acf"), tricky),
            item(6, true, QStringLiteral("All six?"), QStringList(6, QStringLiteral("c")),
                 QStringLiteral("abcdef")),
            item(4, false, QStringLiteral("[html] looks like a marker"),
                 {QStringLiteral("%50% looks like a weight"), QStringLiteral("a -> b looks like a pair"),
                  QStringLiteral("[plain] too")},
                 QStringLiteral("b"), QStringLiteral("[markdown] as well")),
            item(2, false, QStringLiteral("// looks like a comment"),
                 {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("a")),
        };
        QList<TransferItem> multiLine{
            item(4, false, QStringLiteral("First line\nsecond line\n\nafter a blank line"),
                 {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("a"),
                 QStringLiteral("Explained\non two lines")),
        };
        QList<TransferItem> withGap{item(5, false, QStringLiteral("Gap?"),
                                         {QStringLiteral("a"), QString(), QStringLiteral("c")},
                                         QStringLiteral("c"))};
        QTest::newRow("GIFT") << QuestionFile::Format::Gift << all + multiLine;
        QTest::newRow("CSV") << QuestionFile::Format::Csv << all + multiLine + withGap;
        // Aiken has no sections and one line per text: one section, no line breaks.
        QList<TransferItem> oneSection = all;
        for (TransferItem& t : oneSection)
            t.section = 3;
        QTest::newRow("Aiken") << QuestionFile::Format::Aiken << oneSection;
    }
    void roundTrip()
    {
        QFETCH(QuestionFile::Format, format);
        QFETCH(QList<TransferItem>, items);
        QStringList notes;
        const QByteArray bytes = QuestionFile::serialize(items, format, &notes);
        QCOMPARE(notes, QStringList());
        ImportResult back = QuestionFile::parse(bytes, format);
        QCOMPARE(messages(back.problems), QStringList());
        QCOMPARE(messages(back.skipped), QStringList());
        if (format == QuestionFile::Format::Aiken) {
            for (TransferItem& t : back.items)
                t.section = 3; // what the section dialog gives
        }
        QCOMPARE(describe(back.items), describe(items));
        QCOMPARE(QuestionFile::detect(bytes, QStringLiteral("file.txt")), format);
    }

    void export_saysWhatTheFileCannotCarry()
    {
        TransferItem lines = item(1, false, QStringLiteral("Two\nlines"),
                                  {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("a"));
        lines.id = 4;
        TransferItem gap = item(2, true, QStringLiteral("Gap"),
                                {QStringLiteral("a"), QString(), QStringLiteral("c")}, QStringLiteral("c"));
        gap.id = 7;
        TransferItem unsaved =
            item(0, false, QString(), {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("ab"));
        unsaved.id = 9;
        QStringList notes;
        const QByteArray aiken =
            QuestionFile::serialize({lines, gap, unsaved}, QuestionFile::Format::Aiken, &notes);
        QCOMPARE(notes,
                 (QStringList{
                     "Item 9: The question has no text. It will not import back as it is.",
                     "Item 9: The question is single response but has 2 correct choices. It will not import "
                     "back as it is.",
                     "Item 4: its line breaks are written as blanks.",
                     "Item 7: its choices close up over the empty ones.",
                     "Item 7: multiple response with one correct choice reads back as single response."}));
        QVERIFY(aiken.startsWith("Two lines\nA. a\nB. b\nANSWER: A\n\nGap\nA. a\nB. c\nANSWER: B\n\n"));
        notes.clear();
        QuestionFile::serialize({gap, unsaved}, QuestionFile::Format::Csv, &notes);
        QCOMPARE(notes.size(), 3); // CSV keeps the gap
        QVERIFY(notes.last().contains(QStringLiteral("no section")));
    }

    void detect_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QuestionFile::Format>("format");
        QTest::newRow("csv header") << QByteArray("\xEF\xBB\xBF\nquestion,a,b,correct\n") << "x.txt"
                                    << QuestionFile::Format::Csv;
        QTest::newRow("gift") << QByteArray("Q {=a ~b}\n") << "x.txt" << QuestionFile::Format::Gift;
        QTest::newRow("gift category")
            << QByteArray("$CATEGORY: Planning\n") << "x" << QuestionFile::Format::Gift;
        QTest::newRow("aiken") << QByteArray("Q\nA. a\nB. b\nANSWER: A\n") << "x.gift"
                               << QuestionFile::Format::Aiken;
        QTest::newRow("by suffix") << QByteArray("nothing to tell") << "x.gift" << QuestionFile::Format::Gift;
        QTest::newRow("unknown") << QByteArray("nothing to tell") << "x.txt" << QuestionFile::Format::Unknown;
    }
    void detect()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QuestionFile::Format, format);
        QCOMPARE(QuestionFile::detect(bytes, name), format);
    }

    void importFormat_txtTakesItsContentsFormat()
    {
        using F = QuestionFile::Format;
        QTemporaryDir dir;
        auto file = [&dir](const char* name, const QByteArray& bytes) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            return f.fileName();
        };
        const QString aiken = file("a.txt", "Q\nA. a\nB. b\nANSWER: A\n");
        const QString gift = file("g.txt", "Q {=a ~b}\n");
        const QString plain = file("p.txt", "nothing to tell");
        const QString aikenGift = file("a.gift", "Q\nA. a\nB. b\nANSWER: A\n");
        QCOMPARE(QuestionFile::importFormat(QuestionFile::giftFilter(), aiken), F::Aiken);
        QCOMPARE(QuestionFile::importFormat(QuestionFile::aikenFilter(), gift), F::Gift);
        QCOMPARE(QuestionFile::importFormat(QuestionFile::aikenFilter(), aiken), F::Aiken);
        // Nothing shown: the filter's format, with its own messages.
        QCOMPARE(QuestionFile::importFormat(QuestionFile::aikenFilter(), plain), F::Aiken);
        QCOMPARE(QuestionFile::importFormat(QuestionFile::giftFilter(), plain), F::Gift);
        // Only .txt is in doubt; CSV and "All files" keep their own rules.
        QCOMPARE(QuestionFile::importFormat(QuestionFile::giftFilter(), aikenGift), F::Gift);
        QCOMPARE(QuestionFile::importFormat(QuestionFile::csvFilter(), aiken), F::Csv);
        QCOMPARE(QuestionFile::importFormat(QuestionFile::allFilter(), aiken), F::Unknown);
        QCOMPARE(
            QuestionFile::importFormat(QuestionFile::giftFilter(), dir.filePath(QStringLiteral("none.txt"))),
            F::Gift);
        // The result says what was read.
        QCOMPARE(QuestionFile::read(aiken, F::Unknown).format, QStringLiteral("Aiken"));
        QCOMPARE(QuestionFile::read(gift, F::Gift).format, QStringLiteral("GIFT"));
    }

    void files_readWithTheLimitAndWriteWhole()
    {
        QTemporaryDir dir;
        const QString big = dir.filePath(QStringLiteral("big.gift"));
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(ImportRules::MaxFileBytes + 1));
        }
        QCOMPARE(messages(QuestionFile::read(big, QuestionFile::Format::Gift).problems),
                 QStringList{"The file is larger than 16 MB."});
        QCOMPARE(messages(QuestionFile::read(dir.filePath(QStringLiteral("none.txt")),
                                             QuestionFile::Format::Unknown)
                              .problems)
                     .value(0)
                     .left(24),
                 QStringLiteral("The file cannot be read:"));

        const QString out = dir.filePath(QStringLiteral("set.csv"));
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content that is longer than the new one ........................................\n");
        old.close();
        const QList<TransferItem> items{item(
            1, false, QStringLiteral("Q"), {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("a"))};
        QString error;
        QStringList notes;
        QVERIFY(QuestionFile::write(out, QuestionFile::Format::Csv, items, &notes, &error));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("section,type,question,a,b,c,d,e,f,correct,explanation\r\n"
                                           "1,single,Q,a,b,,,,,A,\r\n"));
        old.close();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"big.gift", "set.csv"}));
        QVERIFY(!QuestionFile::write(dir.filePath(QStringLiteral("no/such/dir/set.csv")),
                                     QuestionFile::Format::Csv, items, &notes, &error));
        QVERIFY(error.startsWith(QStringLiteral("The file \"set.csv\" cannot be written")));
    }

    void userSet_appendsWithIdsFromTheTable()
    {
        QTemporaryDir dir;
        const QString path = newUserSet(dir, 2);
        Table t(TableFiles::SessionName, path);
        t.open();
        int dataChanges = 0;
        connect(t.dataSource(), &DataSource::dataChanged, this, [&] { ++dataChanges; });
        const QList<TransferItem> items{
            item(0, false, QStringLiteral("No section"), {QStringLiteral("a"), QStringLiteral("b")},
                 QStringLiteral("b")),
            item(5, true, QStringLiteral("Fifth"), {QStringLiteral("a"), QString(), QStringLiteral("c")},
                 QStringLiteral("ac"), QStringLiteral("E")),
        };
        QCOMPARE(UserSetTransfer::unsortedCount(items), 1);
        QCOMPARE(UserSetTransfer::appendAll(t, items, 4), (QList<qint64>{3, 4}));
        QCOMPARE(t.fieldByName(ItemRecord::Q_ID).asInteger(), 3);
        QCOMPARE(dataChanges, 1); // the readers see the result once, not every record
        const QList<TransferItem> back = UserSetTransfer::readAll(t);
        QCOMPARE(t.fieldByName(ItemRecord::Q_ID).asInteger(), 3); // the walk did not move it
        QCOMPARE(back.size(), 4);
        QCOMPARE(back.at(2).id, 3);
        QCOMPARE(describe(back.mid(2)),
                 (QStringList{"4|single|No section|a;*b|", "5|multiple|Fifth|*a;;*c|E"}));
        QVERIFY(!t.inTransaction());
    }

    // The set holds all of an import or none of it, wherever the program dies.
    void userSet_killedImport_allOrNone()
    {
        QTemporaryDir dir;
        const QString path = newUserSet(dir, 3);
        constexpr int Count = 3000;
        QRandomGenerator random(20261209);
        QElapsedTimer whole;
        // A full run first, to know how long an import takes.
        auto startChild = [&](QProcess& child) {
            child.start(QStringLiteral(IMPORT_CHILD), {path, QString::number(Count)});
            QByteArray out;
            while (!out.contains("appending") && child.waitForReadyRead(10000))
                out += child.readAllStandardOutput();
            return out.contains("appending");
        };
        {
            QProcess child;
            QVERIFY(startChild(child));
            whole.start();
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitCode(), 0);
            QCOMPARE(countOf(path), 3 + Count);
        }
        const qint64 span = std::max<qint64>(whole.elapsed(), 50);
        int before = 3 + Count;
        int killedMidway = 0;
        for (int round = 0; round < 12; ++round) {
            QProcess child;
            QVERIFY(startChild(child));
            QTest::qSleep(int(random.bounded(span)));
            child.kill();
            child.waitForFinished();
            const int after = countOf(path);
            QVERIFY2(after == before || after == before + Count,
                     qPrintable(QStringLiteral("%1 records after %2").arg(after).arg(before)));
            killedMidway += after == before ? 1 : 0;
            before = after;
        }
        qInfo("%d of 12 imports were killed before their commit", killedMidway);
    }

    // A named pipe would block the reading until something writes into it;
    // a folder or a device is no question file either. Refused at once.
    void files_anythingButARegularFile_isRefusedBeforeReading_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("device") << "device";
    }
    void files_anythingButARegularFile_isRefusedBeforeReading()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("questions.gift"));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(path));
        else
            path = QStringLiteral("/dev/zero"); // never ends
        QElapsedTimer clock;
        clock.start();
        ImportJob job(path, QuestionFile::Format::Unknown);
        QVERIFY2(job.waitFor(5000), "the reading waits on the file");
        const ImportResult result = job.result();
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(result.items.size(), 0);
        QCOMPARE(result.problems.size(), 1);
        QVERIFY2(result.problems.first().message.startsWith(QLatin1String("The file cannot be read: it is")),
                 qPrintable(result.problems.first().message));
    }

    // Many small questions: up to 100,000 go in; one more and the file is
    // refused with the limit named, before the memory fills up.
    void files_questionLimit_data()
    {
        QTest::addColumn<QuestionFile::Format>("format");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("accepted");
        for (const auto format :
             {QuestionFile::Format::Gift, QuestionFile::Format::Aiken, QuestionFile::Format::Csv})
            QTest::addRow("%s, one too many", qPrintable(QuestionFile::suffix(format)))
                << format << ImportRules::MaxQuestions + 1 << false;
        QTest::newRow("csv, many more")
            << QuestionFile::Format::Csv << 3 * ImportRules::MaxQuestions << false;
        QTest::newRow("gift, as many as may be")
            << QuestionFile::Format::Gift << ImportRules::MaxQuestions << true;
    }
    void files_questionLimit()
    {
        QFETCH(QuestionFile::Format, format);
        QFETCH(int, count);
        QFETCH(bool, accepted);
        QByteArray bytes;
        bytes.reserve(count * 24);
        if (format == QuestionFile::Format::Csv)
            bytes += "section,question,a,b,correct\n";
        for (int i = 0; i < count; ++i) {
            if (format == QuestionFile::Format::Gift)
                bytes += "Q" + QByteArray::number(i) + "{=a ~b}\n\n";
            else if (format == QuestionFile::Format::Aiken)
                bytes += "Q" + QByteArray::number(i) + "\nA. a\nB. b\nANSWER: A\n\n";
            else
                bytes += "1,Q" + QByteArray::number(i) + ",a,b,A\n";
        }
        QVERIFY(bytes.size() < ImportRules::MaxFileBytes);
        const ImportResult result = QuestionFile::parse(bytes, format);
        if (accepted) {
            QVERIFY2(result.ok(), qPrintable(messages(result.problems).value(0)));
            QCOMPARE(result.items.size(), count);
            return;
        }
        QCOMPARE(messages(result.problems),
                 QStringList{"The file holds more than 100,000 questions; an import takes at most 100,000. "
                             "Split the file and import it in parts."});
        QVERIFY(result.items.size() <= ImportRules::MaxQuestions);
    }

    // A message quotes a piece of the file at a readable length, however
    // long the piece is, and a cell of megabytes is answered at once.
    void files_hugeCells_quotedShortAndReadQuickly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        const QByteArray huge(2 * 1024 * 1024, 'x');
        const QByteArray header = "section,type,question,a,b,correct\n";
        // What a message quotes: 37 characters and "...".
        auto quoted = [](const QString& first) { return first + QString(37 - first.size(), u'x') + "..."; };
        QTest::newRow("section") << header + "x" + huge + ",,Q,a,b,A\n"
                                 << "Line 2: \"" + quoted({}) +
                                        "\" is not a section; give 1 to 6 or a section name.";
        QTest::newRow("type") << header + "1,t" + huge + ",Q,a,b,A\n"
                              << "Line 2: The type \"" + quoted("t") +
                                     "\" is not known; use single or multiple.";
        QTest::newRow("correct") << header + "1,,Q,a,b,A 9" + huge + "\n"
                                 << "Line 2: \"" + quoted("9") +
                                        "\" in the correct column is not a choice letter.";
        QTest::newRow("column") << "section,q" + huge + ",question,a,b,correct\n1,,Q,a,b,A\n"
                                << "Line 1: The column \"" + quoted("q") +
                                       "\" is not known; the columns are "
                                       "section,type,question,a,b,c,d,e,f,correct,explanation.";
        QTest::newRow("aiken answer")
            << "Q\nA. a\nB. b\nANSWER: A 9" + huge + "\n"
            << "Line 4: \"" + quoted("9") + "\" in the ANSWER line is not a choice letter.";
        // Blanks around a line break are one blank in a choice; ten
        // megabytes of blanks are no reason to wait.
        QTest::newRow("blanks") << header + "1,,Q,\"a" + QByteArray(10 * 1024 * 1024, ' ') + "z\nz\",b,A\n"
                                << "Line 2: Choice A is longer than 64 KB.";
    }
    void files_hugeCells_quotedShortAndReadQuickly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        QElapsedTimer clock;
        clock.start();
        const ImportResult result =
            QuestionFile::parse(bytes, QuestionFile::detect(bytes, QStringLiteral("f.csv")));
        const QString message = ImportRules::failureMessage(QStringLiteral("f.csv"), result);
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(messages(result.problems)
                     .value(0)
                     .replace(QRegularExpression(QStringLiteral("^(\\d+): ")), QStringLiteral("Line \\1: ")),
                 problem);
        QVERIFY2(message.size() < 1000, qPrintable(message.left(300)));
    }

    // The reading reports its progress and stops when cancelled; a reading
    // that is let run gives the whole result.
    void job_reportsProgressAndCancels()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("many.csv"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("section,question,a,b,correct,explanation\n");
            for (int i = 0; i < 60000; ++i)
                f.write("2,Question " + QByteArray::number(i) + " " + QByteArray(80, 'q') +
                        ",yes,no,A,why\n");
        }
        {
            ImportJob job(path, QuestionFile::Format::Csv);
            QVERIFY(job.waitFor(60000));
            QCOMPARE(job.progress().position(), ImportProgress::Scale);
            const ImportResult result = job.result();
            QVERIFY(result.ok());
            QCOMPARE(result.items.size(), 60000);
        }
        ImportJob job(path, QuestionFile::Format::Csv);
        int seen = 0;
        while (!job.finished() && job.progress().position() == 0)
            QThread::msleep(1);
        seen = job.progress().position();
        job.cancel();
        QVERIFY(job.waitFor(5000));
        const ImportResult result = job.result();
        if (seen < ImportProgress::Scale) {
            QVERIFY(result.cancelled);
            QVERIFY(!result.ok());
        }
    }

    // An import stopped part way through the adding adds nothing.
    void userSet_stoppedImport_addsNothing()
    {
        QTemporaryDir dir;
        const QString path = newUserSet(dir, 3);
        Table t(TableFiles::SessionName, path);
        t.open();
        QList<TransferItem> items;
        for (int i = 0; i < 50; ++i)
            items << item(1, false, QStringLiteral("Q%1").arg(i), {QStringLiteral("a"), QStringLiteral("b")},
                          QStringLiteral("a"));
        QCOMPARE(UserSetTransfer::appendAll(t, items, 1, [](int i) { return i < 40; }), QList<qint64>());
        QVERIFY(!t.inTransaction());
        QCOMPARE(t.recordCount(), 3);
        t.close();
        QCOMPARE(countOf(path), 3);
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "test_transfer.moc"
