#include "core/store/DataFolder.h"

#include "core/store/TableFiles.h"
#include "core/tables/TableError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace DataFolder {

QString shippedFor(const QString& programFolder)
{
    const QDir dir(programFolder);
    if (QFileInfo::exists(dir.filePath(TableFiles::Bank)))
        return dir.absolutePath();
    const QString installed = QDir::cleanPath(dir.filePath(QStringLiteral("../share/velarix")));
    if (QFileInfo::exists(QDir(installed).filePath(TableFiles::Bank)))
        return installed;
    // Neither: the bank's absence is reported, by name, when an exam opens it.
    return dir.absolutePath();
}

QString shipped()
{
    return shippedFor(QCoreApplication::applicationDirPath());
}

QString user()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString userFile(const QString& name)
{
    return QDir(user()).filePath(name);
}

QString notWritableText(const QString& folder)
{
    return QStringLiteral("Your data folder %1 cannot be written: your notes, the current exam, your own "
                          "questions and your score history are kept there. Check that the disk is not "
                          "full and that the folder belongs to you.")
        .arg(QDir::toNativeSeparators(folder));
}

QString writeProblem(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return notWritableText(folder);
    // A real write tells what permission bits cannot: a read-only mount, a
    // full disk, or rights that only the system grants.
    QFile probe(QDir(folder).filePath(
        QStringLiteral(".velarix-write-check-%1").arg(QCoreApplication::applicationPid())));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate) || probe.write("x", 1) != 1 ||
        !probe.flush()) {
        probe.remove();
        return notWritableText(folder);
    }
    probe.close();
    probe.remove();
    return {};
}

void requireUserFolder()
{
    const QString problem = writeProblem(user());
    if (!problem.isEmpty())
        throw TableError(problem);
}

} // namespace DataFolder
