#pragma once

#include "core/exam/ExamAssembly.h"
#include "core/history/RetakeSet.h"
#include "core/learning/ActiveItems.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class DataSource;
class NoteBook;
class Session;
class Table;

// The storage side of the exam window: the storage session and its three
// tables (the bank, the current exam set and the user set), counting what an
// exam kind can draw on, filling the current set, closing an exam and
// copying a note back to the bank. It shows nothing; a failure of a table is
// raised as a TableError, or returned with its text where the caller only
// reports it.
class ExamSession : public QObject
{
public:
    // Told how many items an assembly copies, then the index of each copy,
    // then that the assembly is over (also when it failed).
    class Progress
    {
    public:
        virtual ~Progress() = default;
        virtual void begin(int count) = 0;
        virtual void position(int index) = 0;
        virtual void end() = 0;
    };

    // Where the current set stands after an assembly.
    struct Assembled
    {
        int firstRecNo = 0;
        int itemCount = 0;
    };

    explicit ExamSession(QObject* parent = nullptr);
    ~ExamSession() override;

    Table* bank() const { return m_bank; }
    Table* currentSet() const { return m_currentSet; }
    Table* userSet() const { return m_userSet; }
    DataSource* currentSource() const { return m_currentSource; }

    // The bank items that pass `filter`; the filter stays set and on for the
    // exam that follows, the bank is left closed.
    int countBank(const QString& filter);
    // Opens the user set for a user exam; an empty one is closed again and
    // gives false.
    bool openUserSet();

    // Fills the current set with `count` items (all when negative) of the
    // bank or the user set, open with its filter, in a new random order.
    Assembled assemble(ExamAssembly::Source kind, int count, std::uint32_t seed,
                       Progress* progress = nullptr);
    // The incorrect items of the set that the bank and the user set still
    // hold. Both tables are closed again, the bank's filter cleared.
    std::vector<RetakeSet::Item> existingRetakeItems(const RetakeSet& set);
    // Fills the current set with the retake's items in a new random order;
    // items of one source in a row are copied together.
    Assembled assembleRetake(const std::vector<RetakeSet::Item>& items, std::uint32_t seed,
                             Progress* progress = nullptr);

    // The bank's active items, read through a table of their own: the
    // bank of a running exam keeps its filter and its place.
    std::vector<ActiveItem> activeItems() const;
    // Fills the current set with these bank items in a new random order.
    Assembled assembleBankItems(const std::vector<std::int32_t>& ids, std::uint32_t seed,
                                Progress* progress = nullptr);

    // Closes every table and clears the bank's filter.
    void closeExam();
    // Opens the current set as an exam holds it (exclusively), as it is on
    // the disk, to give back an exam kept in its record. Raises a TableError
    // when it cannot be opened; a damaged set is left as it is.
    void reopenCurrentSet();

    // Makes the candidate's data folder and their tables where missing (the
    // first time also carrying them over from a program folder of the
    // earlier layout, the working folder). Returns the notices of damaged
    // tables set aside and begun anew; raises a TableError.
    QStringList prepareCandidateTables();
    // The candidate's notes on bank items.
    NoteBook notes() const;

    // Stores the note of bank item `itemId` in the candidate's notes (a
    // closed bank is opened to find the item and closed again). On failure
    // the item keeps its note and the error says why.
    bool saveNoteToBank(qint64 itemId, const QString& note, QString* error);
    // saveNoteToBank for a window that may outlive the session: once the
    // session is gone, a note is refused with the reason.
    using NoteWriter = std::function<bool(qint64 itemId, const QString& note, QString* error)>;
    NoteWriter noteWriter();

private:
    Assembled fill(const std::vector<ExamAssembly::Batch>& batches, Progress* progress);

    std::unique_ptr<Session> m_session;
    Table* m_bank = nullptr;
    Table* m_currentSet = nullptr;
    Table* m_userSet = nullptr;
    DataSource* m_currentSource = nullptr;
};
