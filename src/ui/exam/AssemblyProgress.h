#pragma once

#include "core/exam/ExamSession.h"

#include <QElapsedTimer>

class TProgressForm;

// Shows an assembly on the progress window (when there is one), repainting
// a few times a second without taking the candidate's input.
class AssemblyProgress : public ExamSession::Progress
{
public:
    explicit AssemblyProgress(TProgressForm* window) : m_window(window) {}
    void begin(int count) override;
    void position(int index) override;
    void end() override;

private:
    TProgressForm* m_window;
    QElapsedTimer m_clock;
};
