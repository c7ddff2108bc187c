#include "FuzzFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

QTemporaryDir* folder()
{
    static QTemporaryDir dir;
    return &dir;
}

} // namespace

void FuzzFile::startApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    if (!folder()->isValid())
        std::abort();
}

QString FuzzFile::write(const QByteArray& data, const QString& extension)
{
    // A new name each time: readers that cache by file name never see a
    // stale file.
    static quint64 counter = 0;
    const QString path = folder()->filePath(QStringLiteral("input%1.%2").arg(++counter).arg(extension));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        std::abort();
    return path;
}

void FuzzFile::remove(const QString& path)
{
    QFile::remove(path);
}
