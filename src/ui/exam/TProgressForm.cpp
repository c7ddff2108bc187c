#include "ui/exam/TProgressForm.h"

#include "ui/widgets/ControlNames.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Randomizing question set..."));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setMinimum(0);
    ProgressBar1->setTextVisible(false);
    layout->addWidget(ProgressBar1);
    setFixedSize(300, 24);
    nameControls({{ProgressBar1, "ProgressBar1"}});
}

void TProgressForm::start(int count)
{
    ProgressBar1->setMaximum(qMax(count, 1));
    ProgressBar1->setValue(0);
    show();
}

void TProgressForm::setPosition(int index)
{
    ProgressBar1->setValue(index);
}

void TProgressForm::closeEvent(QCloseEvent* event)
{
    // The candidate cannot close it; the assembly does when it is done.
    if (!m_closing)
        event->ignore();
}

void TProgressForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TProgressForm::finish()
{
    m_closing = true;
    close();
    m_closing = false;
}
