#pragma once

#include "core/exam/ExamMode.h"
#include "core/history/HistoryAttempt.h"
#include "core/store/AnswerEntry.h"
#include "core/store/TableFiles.h"
#include "core/tables/Database.h"

#include <QString>
#include <vector>

class Table;

// The record of the exam being taken, kept so that an exam interrupted by a
// crash, a power cut or a closed window can be given back as it was. It
// lives in the candidate's data folder (exam.DAT, an encrypted table of its
// own) and holds one exam at most: its title, candidate, time limit and
// elapsed time, mode, the item shown, and per item of the current exam set
// its identity (source and number, in the set's order), answer, mark and
// whether "Learn Now" was shown. Every change is one transaction, on disk
// when the call returns. Failures raise a TableError.
class ExamRecord
{
public:
    // The identity of an item of the current set: where it came from and its
    // number there.
    struct Item
    {
        ItemSource source = ItemSource::Bank;
        std::int32_t number = 0;
        bool operator==(const Item&) const = default;
    };

    struct Exam
    {
        QString title;
        QString candidateName;
        qint64 timeLimitSeconds = 0; // 0: untimed
        qint64 elapsedSeconds = 0;
        ExamMode mode = ExamMode::Testing;
        bool recorded = false; // graded, and the attempt is in the score history
        bool userExam = false; // drawn from the candidate's own set
        int currentRecNo = 1;
        std::vector<Item> items; // the current set's items, in its order
        std::vector<AnswerEntry> answers;
        std::vector<bool> learnShown;

        int answeredCount() const;
    };

    explicit ExamRecord(const QString& folder, const QString& sessionName = TableFiles::SessionName);
    ~ExamRecord();
    ExamRecord(const ExamRecord&) = delete;
    ExamRecord& operator=(const ExamRecord&) = delete;

    QString filePath() const;
    // An exam is kept (its file exists).
    bool exists() const;

    // Starts the record of a new exam, replacing any other. Until it is
    // whole, none is kept.
    void begin(const Exam& exam);
    // Each change of the running exam.
    void setAnswer(int recNo, const AnswerEntry& entry);
    void setLearnShown(int recNo);
    void setCurrent(int recNo);
    void setElapsed(qint64 seconds);
    void setMode(ExamMode mode, bool recorded);
    // The kept exam. An empty title means none is kept (a record cut short
    // before it was whole counts as none). Raises a TableError for a
    // damaged file.
    Exam load();
    // The exam ends: the record goes.
    void forget();
    // Lets go of the file; the next change opens it again.
    void close();

    // The items of the current set, in its order. The set's cursor stays.
    static std::vector<Item> itemsOf(Table& currentSet);

private:
    void openForChanges();
    void update(int pos, const char* column, const QVariant& value);

    QString m_folder;
    QString m_sessionName;
    Database m_db;
};
