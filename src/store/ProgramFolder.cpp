#include "ProgramFolder.h"

#include "TableFiles.h"
#include "tables/TableError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ProgramFolder {

namespace {
QString& checkedFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString notWritableText(const QString& folder)
{
    return QStringLiteral("The program folder %1 must be writable: your notes, the current exam and your own "
                          "questions are written there. Ask for write access to it, or install the program "
                          "in a folder of your own.")
        .arg(QDir::toNativeSeparators(folder));
}

QString writeProblem(const QString& folder)
{
    // A real write tells what permission bits cannot: a read-only mount,
    // or rights that only the system grants.
    const QDir dir(folder);
    QFile probe(
        dir.filePath(QStringLiteral(".velarix-write-check-%1").arg(QCoreApplication::applicationPid())));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return notWritableText(dir.absolutePath());
    probe.close();
    probe.remove();
    for (const QString& table : {TableFiles::Bank, TableFiles::CurrentSet, TableFiles::UserSet}) {
        const QFileInfo file(dir.filePath(table));
        if (file.exists() && !file.isWritable())
            return notWritableText(dir.absolutePath());
    }
    return {};
}

void requireWritable()
{
    const QString folder = checkedFolder().isEmpty() ? QDir::currentPath() : checkedFolder();
    const QString problem = writeProblem(folder);
    if (!problem.isEmpty())
        throw TableError(problem);
}

void setCheckedFolderForTests(const QString& folder)
{
    checkedFolder() = folder;
}

} // namespace ProgramFolder
