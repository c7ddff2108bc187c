#pragma once

#include <QDialog>
#include <functional>

class ImportJob;
class QLabel;
class QProgressBar;
class QPushButton;

// The window an import shows while it reads and checks a question file and
// while it adds the questions: how far it is, and a Cancel button that
// stops it with nothing added. The window answers all the while; a file
// read in a moment never shows it.
class TImportProgressForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ShowAfterMs = 300;

    explicit TImportProgressForm(QWidget* parent = nullptr);

    // Waits for the job, showing the window when it takes a while. False
    // when the user cancelled it.
    bool follow(ImportJob& job, const QString& fileName);
    // While the questions are added: adding(done) before each one repaints
    // now and then, lets the Cancel button be pressed, and answers false
    // once it was.
    void beginAdding(int total);
    bool adding(int done);
    void finish();

private:
    QLabel* PromptLabel = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* CancelButton = nullptr;

    void showNow(const QString& prompt);
    bool m_cancelled = false;
    qint64 m_begin = 0;
    qint64 m_lastRepaint = 0;
};
