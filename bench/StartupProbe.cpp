// Loaded into a program with LD_PRELOAD by bench_startup. It waits for the
// first window to be exposed, then for the event loop's first pass to the
// point where it would wait, and writes the monotonic time of that moment
// and the peak resident memory to the file named by BENCH_STARTUP_OUT, then
// ends the process at once.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>

namespace {
void report()
{
    // steady_clock is the system's monotonic clock, as in bench_startup.
    const qint64 now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    if (FILE* out = std::fopen(qgetenv("BENCH_STARTUP_OUT").constData(), "w")) {
        std::fprintf(out, "%lld %ld\n", now, usage.ru_maxrss);
        std::fclose(out);
    }
    _exit(0);
}

class ExposeWatch : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_armed && event->type() == QEvent::Expose && watched->isWindowType()) {
            m_armed = true;
            // The dispatcher exists once the loop runs; it is looked up then.
            if (auto* dispatcher = QAbstractEventDispatcher::instance())
                connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &report);
        }
        return false;
    }

private:
    bool m_armed = false;
};

void install()
{
    if (!qEnvironmentVariableIsEmpty("BENCH_STARTUP_OUT"))
        QCoreApplication::instance()->installEventFilter(new ExposeWatch);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
