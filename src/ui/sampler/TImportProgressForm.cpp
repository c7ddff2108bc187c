#include "ui/sampler/TImportProgressForm.h"

#include "core/transfer/ImportJob.h"
#include "ui/widgets/ControlNames.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TImportProgressForm::TImportProgressForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportProgressForm"));
    setWindowTitle(QStringLiteral("Import Questions"));
    setWindowModality(Qt::ApplicationModal);
    auto* col = new QVBoxLayout(this);
    PromptLabel = new QLabel(this);
    PromptLabel->setTextFormat(Qt::PlainText);
    PromptLabel->setWordWrap(true);
    col->addWidget(PromptLabel);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setMinimumWidth(320);
    col->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(CancelButton);
    col->addLayout(buttons);
    // Esc and the title bar's close button cancel as the button does.
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { m_cancelled = true; });
    nameControls(
        {{PromptLabel, "PromptLabel"}, {ProgressBar1, "ProgressBar1"}, {CancelButton, "CancelButton"}});
}

void TImportProgressForm::showNow(const QString& prompt)
{
    PromptLabel->setText(prompt);
    ProgressBar1->setValue(0);
    if (!isVisible())
        show();
}

bool TImportProgressForm::follow(ImportJob& job, const QString& fileName)
{
    m_cancelled = false;
    if (job.waitFor(ShowAfterMs))
        return true;
    ProgressBar1->setRange(0, ImportProgress::Scale);
    showNow(QStringLiteral("Reading and checking \"%1\" ...").arg(fileName));
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        ProgressBar1->setValue(job.progress().position());
        if (m_cancelled || job.finished())
            loop.quit();
    });
    connect(this, &QDialog::rejected, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec();
    if (m_cancelled) {
        job.cancel();
        hide();
        return false;
    }
    return true;
}

void TImportProgressForm::beginAdding(int total)
{
    ProgressBar1->setRange(0, qMax(total, 1));
    if (isVisible())
        showNow(QStringLiteral("Adding %1 questions ...").arg(total));
    m_begin = m_lastRepaint = QDateTime::currentMSecsSinceEpoch();
}

bool TImportProgressForm::adding(int done)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastRepaint >= 50) {
        m_lastRepaint = now;
        // Adding many questions takes a while: then the window shows.
        if (!isVisible() && now - m_begin >= ShowAfterMs)
            showNow(QStringLiteral("Adding %1 questions ...").arg(ProgressBar1->maximum()));
        ProgressBar1->setValue(done);
        // The window is modal: the Cancel button is the only input that
        // can reach the program meanwhile.
        QCoreApplication::processEvents();
    }
    return !m_cancelled;
}

void TImportProgressForm::finish()
{
    hide();
}
