#pragma once

#include "core/history/HistoryAttempt.h"
#include "core/history/RetakeSet.h"

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
    void record(const std::function<HistoryAttempt()>& make);
    // Opens the history window over the stored attempts.
    void show();
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

    QWidget* m_window;
    THistoryForm* HistoryForm = nullptr; // made on first use
};
