// Draws every exhibit text source of a folder into a .bmp picture:
//   velarix-exhibits SOURCE_DIR OUTPUT_DIR
// or checks, drawing nothing, that every text of every picture fits in it:
//   velarix-exhibits --lint SOURCE_DIR
#include "ExhibitRenderer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {
bool readSource(const QDir& dir, const QString& name, QString* text)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(file.errorString()));
        return false;
    }
    *text = QString::fromUtf8(file.readAll());
    return true;
}

QStringList sourceNames(const QDir& dir)
{
    return dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
}

int lint(const QDir& source)
{
    int problems = 0, checked = 0;
    for (const QString& name : sourceNames(source)) {
        QString text, error;
        if (!readSource(source, name, &text)) {
            ++problems;
            continue;
        }
        const QStringList clipped = ExhibitRenderer::clippedTexts(text, &error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(error));
            ++problems;
        }
        for (const QString& c : clipped)
            std::fprintf(stderr, "%s: the %s does not fit in the picture\n", qPrintable(name), qPrintable(c));
        problems += int(clipped.size());
        ++checked;
    }
    if (checked == 0) {
        std::fprintf(stderr, "%s: no exhibit sources\n", qPrintable(source.path()));
        return 1;
    }
    std::printf("exhibit lint: %d sources, %d problems\n", checked, problems);
    return problems == 0 ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--lint"))
        return lint(QDir(args.at(2)));
    if (args.size() != 3 || args.at(1).startsWith(QLatin1String("--"))) {
        std::fprintf(stderr, "usage: velarix-exhibits SOURCE_DIR OUTPUT_DIR\n"
                             "       velarix-exhibits --lint SOURCE_DIR\n");
        return 2;
    }
    const QDir source(args.at(1));
    QDir output(args.at(2));
    if (!output.exists() && !QDir().mkpath(output.absolutePath())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(output.absolutePath()));
        return 1;
    }
    int failures = 0, drawn = 0;
    for (const QString& name : sourceNames(source)) {
        QString text, error;
        if (!readSource(source, name, &text)) {
            ++failures;
            continue;
        }
        const QImage image = ExhibitRenderer::render(text, &error);
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
