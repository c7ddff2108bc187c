#pragma once

#include "core/exam/ExamRecord.h"

#include <functional>

// Keeps the record of the running exam as the candidate takes it. A change
// that cannot be written (a full disk, a folder taken away) stops the
// keeping until the next exam and is told once, through the failure
// handler; the exam itself goes on. The record is forgotten only when the
// candidate ends the exam.
class ExamKeeper
{
public:
    explicit ExamKeeper(const QString& folder, const QString& sessionName = TableFiles::SessionName);

    // Told the reason when keeping stops.
    void setFailureHandler(std::function<void(const QString& reason)> handler)
    {
        m_onFailure = std::move(handler);
    }
    // Whether changes are being kept.
    bool keeping() const { return m_keeping && !m_paused; }
    // While paused no change is written (a benchmark weighs the cost of
    // keeping); the program never pauses it.
    void setPaused(bool paused) { m_paused = paused; }

    void begin(const ExamRecord::Exam& exam);
    // Goes on keeping an exam given back from the record.
    void resume();
    void answer(int recNo, const AnswerEntry& entry);
    void learnShown(int recNo);
    void current(int recNo);
    // Written when it changed by at least `every` seconds since the last
    // write (and always with every = 0).
    void elapsed(qint64 seconds, qint64 every = 0);
    void mode(ExamMode mode, bool recorded);
    // The candidate ended the exam; raises nothing (a file left behind is
    // offered again and can be discarded then).
    void forget();
    // Lets go of the file, keeping the exam for later.
    void close();

    ExamRecord& record() { return m_record; }

private:
    template <typename F> void keep(F&& write);

    ExamRecord m_record;
    std::function<void(const QString&)> m_onFailure;
    bool m_keeping = false;
    bool m_paused = false;
    qint64 m_lastElapsed = -1;
};
