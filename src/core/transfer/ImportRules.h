#pragma once

#include "core/transfer/ImportProblem.h"
#include "core/transfer/ImportProgress.h"
#include "core/transfer/ImportResult.h"
#include "core/transfer/TransferItem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The rules every imported item meets, shared by the three file formats, and
// the texts that tell the user what a file is missing.
class ImportRules
{
public:
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
    static constexpr int MaxTextBytes = 64 * 1024; // per text, in UTF-8
    static constexpr int MaxChoices = 6;
    static constexpr int ListedProblems = 20;
    static constexpr int MaxQuestions = 100000; // per import
    static constexpr int MaxQuoted = 40;        // characters of the file quoted in a message

    // Checks the size and the encoding; gives the text without byte-order
    // marks and with every line end as "\n". False (with a problem) when the
    // file cannot be taken.
    static bool decode(const QByteArray& bytes, QString* text, QList<ImportProblem>* problems);

    // Adds the problems of one item (the line is the item's).
    static void check(const TransferItem& item, QList<ImportProblem>* problems);
    // Normalises every item and adds the problems of all of them, in line
    // order; a file that gives no item at all is a problem too. With a
    // progress, a cancel stops it and marks the result cancelled.
    static void checkAll(ImportResult* result, ImportProgress* progress = nullptr);
    // Called by a reader after each item it keeps: true (with the problem
    // added) once the file holds more than MaxQuestions, and the reader
    // stops there, so a huge file never fills the memory.
    static bool overLimit(ImportResult* result);
    // "The file holds more than 100,000 questions; ..."
    static ImportProblem tooManyQuestions();
    // Tells the progress how far a reader is; true when it must stop
    // because the user cancelled (the result is then marked cancelled).
    static bool stop(ImportProgress* progress, qint64 done, qint64 total, ImportResult* result);
    // A piece of the file as a message quotes it: one line, at most
    // MaxQuoted characters, cut ones ending in "...".
    static QString excerpt(const QString& text);
    // Drops the trailing choices that do not exist (empty and not correct).
    static void normalise(TransferItem* item);

    // "A" for choice 0.
    static QString letter(int index)
    {
        Q_ASSERT(index >= 0); // a file may hold more choices than letters: no upper bound
        return QString(QChar(u'A' + index));
    }
    // Choice letters as files write them: "B", "A;C", "b, d", "AC". The
    // indexes come back in order; false (with the bad part) when a part is
    // not a letter A..Z.
    static bool parseLetters(const QString& text, QList<int>* indexes, QString* bad);
    // A section given as a number or a name (any case): its number (numbers
    // outside 1..6 are given back as they are), 0 for an empty text, -1 for a
    // text that is neither.
    static int sectionNumber(const QString& text);
    // A choice is one line: line breaks become blanks; the text is trimmed.
    static QString oneLine(const QString& text);
    // Trims the text and every line's trailing blanks.
    static QString cleanText(const QString& text);

    // "Line 12: ..." for each problem, the first 20, then how many more.
    static QString listing(const QList<ImportProblem>& problems);
    // The message of a file that cannot be imported.
    static QString failureMessage(const QString& fileName, const ImportResult& result);
    // The message that lists the questions left out of an import; empty when none were.
    static QString skippedMessage(int imported, const ImportResult& result);
    // The message after an import: the format read, how many questions came
    // in, and those left out.
    static QString importedMessage(int imported, const ImportResult& result);
};
