#pragma once

#include "core/transfer/ImportProgress.h"
#include "core/transfer/ImportResult.h"
#include "core/transfer/QuestionFile.h"

#include <QString>
#include <future>

// Reads and checks a question file on a worker thread, so the window that
// waits for it stays responsive and can cancel it. Nothing is added to any
// table here: the result is the items and the problems, as QuestionFile::read
// gives them.
class ImportJob
{
public:
    ImportJob(const QString& path, QuestionFile::Format format);
    ~ImportJob(); // cancels and waits for the worker
    ImportJob(const ImportJob&) = delete;
    ImportJob& operator=(const ImportJob&) = delete;

    // Waits up to `ms`; true once the reading has ended.
    bool waitFor(int ms);
    bool finished() { return waitFor(0); }
    const ImportProgress& progress() const { return m_progress; }
    // The worker stops at its next step; the result is then cancelled.
    void cancel() { m_progress.cancel(); }
    // Waits for the end and gives the result (once).
    ImportResult result();

private:
    ImportProgress m_progress;
    std::future<ImportResult> m_result;
};
