#pragma once

#include "core/exam/ExamSession.h"

#include <QElapsedTimer>

// Shows an assembly on the progress window (when there is one), repainting
// a few times a second without taking the candidate's input.
class AssemblyProgress : public ExamSession::Progress
{
public:
    void begin(int count) override;
    void position(int index) override;
    void end() override;

private:
    QElapsedTimer m_clock;
};
