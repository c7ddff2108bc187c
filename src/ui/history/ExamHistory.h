#pragma once

#include "core/history/HistoryAttempt.h"
#include "core/history/RetakeSet.h"
#include "core/learning/ItemState.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class ExamSession;
class QWidget;
class THistoryForm;

// The exam window's side of the score history: appending a graded exam,
// the history window with its delete and export, and the latest attempt for
// a retake. Every failure is shown in the error box, once.
class ExamHistory : public QObject
{
    Q_OBJECT
public:
    explicit ExamHistory(QWidget* window);

    QString folder; // the history's folder; empty: the per-user data folder

    // Appends the attempt `make` gives (it may raise a table error). On a
    // failure the score stays in the score window; only the history misses it.
    // With `outcomes` the item memory then learns the exam's items, once per
    // grading (the stored attempt gives its id), the score history fed in
    // before it the first time. Every failure of the two is told in one
    // error box.
    void record(const std::function<HistoryAttempt()>& make,
                const std::function<std::vector<ItemOutcome>()>& outcomes = {});
    // Opens the history window over the stored attempts; with `session` it
    // also shows the readiness forecast over the session's bank.
    void show(ExamSession* session = nullptr);
    // What the item memory holds, fed from the score history first when it
    // never was. A failure is shown and gives an empty memory.
    MemoryStates itemMemory();
    // The newest attempt, if any; false when the history cannot be read.
    bool latest(HistoryAttempt* attempt, bool* found);
    // The incorrect items of the latest graded exam that `session`'s tables
    // still hold; when there are none, the candidate has been told why.
    std::vector<RetakeSet::Item> retakeItems(ExamSession& session);

private:
    QString where() const;
    // A damaged history was kept aside and started anew: says so, once.
    static void tell(QWidget* parent, const QString& notice);
    void reload();
    // The item memory, fed from `attempts` (the whole history; null when it
    // could not be read) when it never was. A failure gives none and `error`.
    MemoryStates learnt(const std::vector<HistoryAttempt>* attempts, QString* error);
    void showReadiness(const std::vector<HistoryAttempt>& attempts, bool loaded);

    QWidget* m_window;
    THistoryForm* HistoryForm = nullptr; // made on first use
    ExamSession* m_session = nullptr;    // the bank the forecast reads; none: no forecast
};
