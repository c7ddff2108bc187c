// Starts the program and a bare Qt main window with a menu bar by turns, each
// until its event loop first goes idle after its first window was exposed
// (StartupProbe, preloaded, reports that moment and the peak memory), and
// prints the medians and their ratios beside the goals. The program runs on a
// copy of its folder with a temporary home, so no real settings are touched.
// Run it under a display (xvfb-run -a build/bench/bench_startup); without one
// it uses the offscreen platform, which scales differently.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

namespace {
struct Run
{
    double ms;
    double peakMiB;
};

qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(file));
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

std::optional<Run> startOnce(const QString& program, const QString& home)
{
    QTemporaryDir runtime; // a fresh instance lock and socket for every start
    const QString out = QDir(runtime.path()).filePath(QStringLiteral("probe.out"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(STARTUP_PROBE));
    env.insert(QStringLiteral("BENCH_STARTUP_OUT"), out);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(home).filePath(QStringLiteral(".config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QDir(home).filePath(QStringLiteral(".local/share")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), QDir(runtime.path()).filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    if (env.value(QStringLiteral("DISPLAY")).isEmpty() && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProgram(program);
    const qint64 start = monotonicNs();
    process.start();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    if (fields.size() != 2)
        return std::nullopt;
    return Run{(fields[0].toLongLong() - start) / 1e6, fields[1].toLongLong() / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int pairs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 15;
    constexpr double GoalTime = 1.5;
    constexpr double GoalMemory = 1.3;

    QTemporaryDir work;
    const QString folder = QDir(work.path()).filePath(QStringLiteral("program"));
    const QString home = QDir(work.path()).filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    // bench_startup [starts [program folder]]: another build's folder may be named.
    const QString source = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(PROGRAM_DIR);
    if (!copyFolder(source, folder)) {
        std::fprintf(stderr, "cannot copy the program folder %s\n", qPrintable(source));
        return 1;
    }
    const QString program = QDir(folder).filePath(QStringLiteral("velarix"));
    const QString bare = QStringLiteral(BARE_WINDOW);

    // One start of each first, untimed: it fills the file cache.
    startOnce(program, home);
    startOnce(bare, home);
    std::vector<double> programMs, bareMs, programMiB, bareMiB, timeRatios, memoryRatios;
    for (int i = 0; i < pairs; ++i) {
        // Alternate which goes first, so neither always meets a warmer machine.
        std::optional<Run> p, b;
        if (i % 2) {
            b = startOnce(bare, home);
            p = startOnce(program, home);
        } else {
            p = startOnce(program, home);
            b = startOnce(bare, home);
        }
        if (!p || !b) {
            std::fprintf(stderr, "a start did not report (program %d, bare window %d)\n", bool(p), bool(b));
            return 1;
        }
        programMs.push_back(p->ms);
        bareMs.push_back(b->ms);
        programMiB.push_back(p->peakMiB);
        bareMiB.push_back(b->peakMiB);
        timeRatios.push_back(p->ms / b->ms);
        memoryRatios.push_back(p->peakMiB / b->peakMiB);
    }
    const double timeRatio = median(timeRatios);
    const double memoryRatio = median(memoryRatios);
    std::printf("platform: %s; %d starts of each, medians\n",
                qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "display", pairs);
    std::printf("start to first idle pass: program %.1f ms, bare Qt window %.1f ms; ratio %.2f x "
                "(goal: at most %.1f x) %s\n",
                median(programMs), median(bareMs), timeRatio, GoalTime,
                timeRatio <= GoalTime ? "met" : "MISSED");
    std::printf(
        "peak memory: program %.1f MiB, bare Qt window %.1f MiB; ratio %.2f x (goal: at most %.1f x) %s\n",
        median(programMiB), median(bareMiB), memoryRatio, GoalMemory,
        memoryRatio <= GoalMemory ? "met" : "MISSED");
    return 0;
}
