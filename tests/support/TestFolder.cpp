#include "TestFolder.h"

#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

TestFolder::TestFolder()
{
    m_oldCurrent = QDir::currentPath();
    m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    m_oldDataHome = qgetenv("XDG_DATA_HOME");
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    QDir::setCurrent(m_dir.path());
    // Every test program and its children find the candidate's data in the
    // same folder under the temporary data home, as the program does.
    QCoreApplication::setApplicationName(QStringLiteral("Velarix 2.0"));
}

TestFolder::~TestFolder()
{
    QDir::setCurrent(m_oldCurrent);
    if (m_oldConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    if (m_oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_oldDataHome);
}

QString TestFolder::path(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

QString TestFolder::settingsFile() const
{
    return QDir(path(QStringLiteral("config"))).filePath(QStringLiteral("Velarix 2.0.ini"));
}

TestItem TestFolder::item(int exam, int section, const QString& question, const QString& correct,
                          bool multiple, int choices)
{
    TestItem t;
    t.exam = exam;
    t.section = section;
    t.question = question;
    for (int k = 0; k < choices; ++k)
        t.choices << QStringLiteral("Choice %1 of %2").arg(QChar('a' + k)).arg(question);
    t.correct = correct;
    t.multiple = multiple;
    t.explanation = QStringLiteral("Because %1 is right.").arg(correct);
    return t;
}

QList<TestItem> TestFolder::sampleBank()
{
    return {
        item(1, 1, QStringLiteral("Q1 planning"), QStringLiteral("b")),
        item(1, 2, QStringLiteral("Q2 install"), QStringLiteral("ac"), true),
        item(2, 3, QStringLiteral("Q3 access"), QStringLiteral("a")),
        item(2, 4, QStringLiteral("Q4 integration"), QStringLiteral("d")),
        item(3, 5, QStringLiteral("Q5 monitoring"), QStringLiteral("bd"), true),
        item(3, 6, QStringLiteral("Q6 troubleshooting"), QStringLiteral("c")),
        item(4, 1, QStringLiteral("Q7 planning"), QStringLiteral("a"), false, 2),
        item(4, 2, QStringLiteral("Q8 install"), QStringLiteral("c"), false, 3),
        item(5, 3, QStringLiteral("Q9 access"), QStringLiteral("abe"), true, 6),
        item(5, 4, QStringLiteral("Q10 integration"), QStringLiteral("b")),
        item(6, 5, QStringLiteral("Q11 extra"), QStringLiteral("a")),
        item(0, 6, QStringLiteral("Q12 retired"), QStringLiteral("a")),
    };
}

void TestFolder::writeTable(const QString& file, const QList<TestItem>& items, bool userSet)
{
    using namespace ItemRecord;
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    const QString full = userSet ? userPath(file) : path(file);
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(full + suffix);
    Table::createFile(full, TableFiles::SessionName, userSet ? userSetSchema() : bankSchema(),
                      userSet ? TableKind::UserSet : TableKind::Bank);
    Table t(TableFiles::SessionName, full);
    t.open();
    t.startTransaction();
    int id = 0;
    for (const TestItem& it : items) {
        t.append();
        if (!userSet) {
            t.fieldByName(Q_ID).setAsInteger(++id);
            t.fieldByName(Q_EXAM_N).setAsInteger(it.exam);
            t.fieldByName(PICT1).setAsString(it.pict1);
            t.fieldByName(PICT2).setAsString(it.pict2);
            t.fieldByName(Q_SIM).setAsString(QString());
        }
        t.fieldByName(Q_SECT).setAsInteger(it.section);
        t.fieldByName(Q_TEXT).setAsString(it.question);
        t.fieldByName(Q_EXPL).setAsString(it.explanation);
        t.fieldByName(Q_TYPE).setAsBoolean(it.multiple);
        for (int k = 1; k <= 6; ++k) {
            t.fieldByName(choiceText(k))
                .setAsString(k <= it.choices.size() ? it.choices.at(k - 1) : QString());
            t.fieldByName(choiceFlag(k)).setAsBoolean(it.correct.contains(QChar('a' + k - 1)));
        }
        // The candidate's notes on bank items are kept in their own table.
        t.fieldByName(U_MEMO).setAsString(userSet ? it.memo : QString());
        t.post();
    }
    t.commit();
    if (!userSet) {
        t.close();
        writeNotes(items);
    }
}

void TestFolder::writeNotes(const QList<TestItem>& bankItems)
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    const QString full = userPath(TableFiles::Notes);
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(full + suffix);
    Table::createFile(full, TableFiles::SessionName, NoteBook::schema(), TableKind::Notes);
    Table t(TableFiles::SessionName, full);
    t.open();
    t.startTransaction();
    for (int i = 0; i < bankItems.size(); ++i) {
        if (bankItems.at(i).memo.isEmpty())
            continue;
        t.append();
        t.fieldByName(ItemRecord::Q_ID).setAsInteger(i + 1);
        t.fieldByName(ItemRecord::U_MEMO).setAsString(bankItems.at(i).memo);
        t.post();
    }
    t.commit();
}

QString TestFolder::userDir() const
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return dir;
}

QString TestFolder::userPath(const QString& name) const
{
    return QDir(userDir()).filePath(name);
}

void TestFolder::writeBank(const QList<TestItem>& items)
{
    writeTable(TableFiles::Bank, items, false);
}

void TestFolder::writeUserSet(const QList<TestItem>& items)
{
    writeTable(TableFiles::UserSet, items, true);
}

void TestFolder::writeEmptyCurrentSet()
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    Table::createFile(userPath(TableFiles::CurrentSet), TableFiles::SessionName,
                      ItemRecord::currentSetSchema(), TableKind::CurrentSet);
}
