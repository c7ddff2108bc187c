#include "ui/exam/AssemblyProgress.h"

#include "ui/exam/TProgressForm.h"

#include <QCoreApplication>
#include <QProgressBar>

void AssemblyProgress::begin(int count)
{
    if (!ProgressForm)
        return;
    ProgressForm->ProgressBar1->setMaximum(qMax(count, 1));
    ProgressForm->ProgressBar1->setValue(0);
    ProgressForm->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_clock.start();
}

void AssemblyProgress::position(int index)
{
    if (!ProgressForm)
        return;
    ProgressForm->ProgressBar1->setValue(index);
    if (m_clock.elapsed() > 50) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clock.restart();
    }
}

void AssemblyProgress::end()
{
    if (ProgressForm)
        ProgressForm->finish();
}
