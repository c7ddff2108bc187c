#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// One item for a test table; correct holds the letters of the right choices.
struct TestItem
{
    int exam = 1;
    int section = 1;
    QString question;
    QStringList choices;
    QString correct; // e.g. "b" or "ac"
    bool multiple = false;
    QString explanation;
    QString pict1;
    QString pict2;
    QString memo;
};

// A temporary program folder for one test: the working folder while it
// lives (the bank is written there), and its own settings and candidate's
// data folders (the current exam set, the user set, the notes and the score
// history go there). Tables are written on demand. Links the core library only, so the rules
// tests that use it prove the core needs no window code.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    QString dir() const { return m_dir.path(); }
    QString path(const QString& name) const;
    QString settingsFile() const;
    // The candidate's data folder and a file in it.
    QString userDir() const;
    QString userPath(const QString& name) const;

    // The bank; the items' memos become the candidate's notes on them.
    void writeBank(const QList<TestItem>& items);
    void writeNotes(const QList<TestItem>& bankItems);
    void writeUserSet(const QList<TestItem>& items);
    void writeEmptyCurrentSet();
    // Twelve items: two per practice exam A..E, one of exam 6, one retired;
    // sections 1..6, single and multiple response.
    static QList<TestItem> sampleBank();
    static TestItem item(int exam, int section, const QString& question, const QString& correct,
                         bool multiple = false, int choices = 4);

private:
    void writeTable(const QString& file, const QList<TestItem>& items, bool userSet);

    QTemporaryDir m_dir;
    QString m_oldCurrent;
    QByteArray m_oldConfigHome;
    QByteArray m_oldDataHome;
};
