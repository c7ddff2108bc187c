// Fuzzes the settings reader: any file loads, and what was loaded is saved
// and loaded again unchanged.
#include "FuzzFile.h"
#include "core/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdint>
#include <cstdlib>

namespace {

bool same(const FontSetting& a, const FontSetting& b)
{
    return a.name == b.name && a.color == b.color && a.size == b.size && a.bold == b.bold &&
           a.italic == b.italic;
}

bool same(const SettingsStore::Values& a, const SettingsStore::Values& b)
{
    const ExamOptions &x = a.options, &y = b.options;
    return same(a.question, b.question) && same(a.answers, b.answers) && same(a.explanation, b.explanation) &&
           x.ShowLearnBtn == y.ShowLearnBtn && x.ShowCalcBtn == y.ShowCalcBtn && x.TimerOn == y.TimerOn &&
           x.DefaultTime == y.DefaultTime && x.CalcPath == y.CalcPath;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = FuzzFile::write(bytes, QStringLiteral("ini"));
    SettingsStore::Values loaded;
    SettingsStore(path).load(loaded, QStringLiteral("/usr/bin/calc"));
    FuzzFile::remove(path);
    for (const FontSetting* f : {&loaded.question, &loaded.answers, &loaded.explanation}) {
        if (f->name.size() > SettingsStore::MaxFaceNameLength)
            std::abort();
    }

    const QString again = FuzzFile::write({}, QStringLiteral("ini"));
    QString error;
    if (!SettingsStore(again).save(loaded, &error))
        std::abort();
    // The saved text under a new name: settings objects of one process share
    // what they read and wrote of a file, and this must come from the disk.
    QFile saved(again);
    if (!saved.open(QIODevice::ReadOnly))
        std::abort();
    const QString copy = FuzzFile::write(saved.readAll(), QStringLiteral("ini"));
    saved.close();
    FuzzFile::remove(again);
    SettingsStore::Values reloaded;
    SettingsStore(copy).load(reloaded, QStringLiteral("/usr/bin/other"));
    FuzzFile::remove(copy);
    if (!same(loaded, reloaded))
        std::abort();
    return 0;
}
