#pragma once

#include <QtGlobal>
#include <atomic>

// How far the reading of a question file has come, and whether the user
// cancelled it: written by the worker that reads, read by the window that
// shows it, from another thread.
class ImportProgress
{
public:
    enum class Phase { Reading, Checking };
    static constexpr int Scale = 1000;

    // Records the position in the phase; false once the user cancelled, and
    // the reader then stops.
    bool at(Phase phase, qint64 done, qint64 total)
    {
        const int start = phase == Phase::Reading ? 0 : 900;
        const int width = phase == Phase::Reading ? 900 : 100;
        if (total > 0)
            m_position = start + int(width * qMin(done, total) / total);
        return !m_cancelled;
    }
    int position() const { return m_position; } // 0 .. Scale
    void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }

private:
    std::atomic<int> m_position{0};
    std::atomic<bool> m_cancelled{false};
};
