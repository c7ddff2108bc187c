#include "core/transfer/ImportJob.h"

#include <chrono>

ImportJob::ImportJob(const QString& path, QuestionFile::Format format)
{
    m_result = std::async(std::launch::async,
                          [this, path, format] { return QuestionFile::read(path, format, &m_progress); });
}

ImportJob::~ImportJob()
{
    cancel();
    if (m_result.valid())
        m_result.wait();
}

bool ImportJob::waitFor(int ms)
{
    return !m_result.valid() || m_result.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
}

ImportResult ImportJob::result()
{
    return m_result.valid() ? m_result.get() : ImportResult();
}
