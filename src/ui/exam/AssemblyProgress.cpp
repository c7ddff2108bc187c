#include "ui/exam/AssemblyProgress.h"

#include "ui/exam/TProgressForm.h"

#include <QCoreApplication>

void AssemblyProgress::begin(int count)
{
    if (!m_window)
        return;
    m_window->start(count);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_clock.start();
}

void AssemblyProgress::position(int index)
{
    if (!m_window)
        return;
    m_window->setPosition(index);
    if (m_clock.elapsed() > 50) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clock.restart();
    }
}

void AssemblyProgress::end()
{
    if (m_window)
        m_window->finish();
}
