// Draws every exhibit text source of a folder into a .bmp picture:
//   velarix-exhibits SOURCE_DIR OUTPUT_DIR
#include "ExhibitRenderer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: velarix-exhibits SOURCE_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QDir source(args.at(1));
    QDir output(args.at(2));
    if (!output.exists() && !QDir().mkpath(output.absolutePath())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(output.absolutePath()));
        return 1;
    }
    int failures = 0, drawn = 0;
    for (const QString& name : source.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        QFile file(source.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(file.errorString()));
            ++failures;
            continue;
        }
        QString error;
        const QImage image = ExhibitRenderer::render(QString::fromUtf8(file.readAll()), &error);
        const QString target = output.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".bmp"));
        if (image.isNull() || !image.save(target, "BMP")) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name),
                         qPrintable(error.isEmpty() ? QStringLiteral("cannot write ") + target : error));
            ++failures;
            continue;
        }
        ++drawn;
    }
    std::printf("exhibits: %d drawn\n", drawn);
    return failures == 0 ? 0 : 1;
}
