#include "core/exam/ExamKeeper.h"

#include "core/tables/TableError.h"

ExamKeeper::ExamKeeper(const QString& folder, const QString& sessionName) : m_record(folder, sessionName) {}

template <typename F> void ExamKeeper::keep(F&& write)
{
    if (!m_keeping || m_paused)
        return;
    try {
        write();
    } catch (const TableError& e) {
        m_keeping = false;
        m_record.close();
        if (m_onFailure)
            m_onFailure(e.message());
    }
}

void ExamKeeper::begin(const ExamRecord::Exam& exam)
{
    m_keeping = true;
    m_lastElapsed = exam.elapsedSeconds;
    keep([&] { m_record.begin(exam); });
}

void ExamKeeper::resume()
{
    m_keeping = true;
    m_lastElapsed = -1;
}

void ExamKeeper::answer(int recNo, const AnswerEntry& entry)
{
    keep([&] { m_record.setAnswer(recNo, entry); });
}

void ExamKeeper::learnShown(int recNo)
{
    keep([&] { m_record.setLearnShown(recNo); });
}

void ExamKeeper::current(int recNo)
{
    keep([&] { m_record.setCurrent(recNo); });
}

void ExamKeeper::elapsed(qint64 seconds, qint64 every)
{
    if (m_lastElapsed >= 0 && seconds >= m_lastElapsed && seconds - m_lastElapsed < every)
        return;
    keep([&] {
        m_record.setElapsed(seconds);
        m_lastElapsed = seconds;
    });
}

void ExamKeeper::mode(ExamMode mode, bool recorded)
{
    keep([&] { m_record.setMode(mode, recorded); });
}

void ExamKeeper::forget()
{
    m_keeping = false;
    try {
        m_record.forget();
    } catch (const TableError&) {
    }
}

void ExamKeeper::close()
{
    m_keeping = false;
    m_record.close();
}
