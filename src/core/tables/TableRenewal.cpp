#include "core/tables/TableRenewal.h"

#include "core/tables/Database.h"
#include "core/tables/Session.h"
#include "core/tables/StorageError.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/tables/TableLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace TableRenewal {

namespace {
QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// Moves the damaged file, with its journal, to `kept`.
void keepAside(const QString& path, const QString& kept)
{
    const QString name = QFileInfo(path).fileName();
    const QString what = QStringLiteral("Cannot set the damaged table %1 aside").arg(name);
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()) != 0)
        throw StorageError::fromErrno(errno, path, what);
    // The journal may hold the last changes the file is missing; the index
    // beside it is rebuilt from the journal by whoever opens the kept file.
    const QString wal = path + QStringLiteral("-wal");
    if (QFileInfo::exists(wal) &&
        std::rename(QFile::encodeName(wal).constData(),
                    QFile::encodeName(kept + QStringLiteral("-wal")).constData()) != 0)
        QFile::remove(wal);
    QFile::remove(path + QStringLiteral("-shm"));
}
} // namespace

QString keptAsideName(const QString& path, const QDateTime& when)
{
    const QString base = QFileInfo(path).absoluteFilePath() + QStringLiteral(".damaged-") +
                         when.toString(QStringLiteral("yyyyMMdd-HHmm"));
    QString name = base;
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + QStringLiteral("-%1").arg(n);
    return name;
}

QString openOrRenew(Table& table, const TableSchema& schema, TableKind kind, const QDateTime& now)
{
    table.close();
    table.setKind(kind);
    const QString path = table.filePath();
    try {
        table.open();
        return {};
    } catch (const TableError& e) {
        if (e.kind() != TableError::Kind::Missing && e.kind() != TableError::Kind::Damaged)
            throw;
    }
    QString kept;
    {
        // Nobody else may have the file open while it is replaced; and
        // another copy of the program may have made it in the meantime.
        TableLock lock;
        lock.acquire(path, true, table.lockRetries, table.retryWaitMs);
        bool renew = true;
        if (QFileInfo::exists(path)) {
            const Session* session = Session::find(table.sessionName());
            try {
                Database again;
                again.open(path, session ? session->rawKey() : QByteArray(), Database::Access::ReadWrite,
                           kind);
                renew = false;
            } catch (const TableError& e) {
                if (e.kind() != TableError::Kind::Damaged)
                    throw;
                kept = keptAsideName(path, now);
                keepAside(path, kept);
            }
        }
        if (renew)
            Table::createFile(path, table.sessionName(), schema, kind);
    }
    table.open();
    if (kept.isEmpty())
        return {};
    return QStringLiteral("%1 could not be read: the file %2 is damaged. It has been kept as %3, and a new "
                          "one has been started, so your work goes on.")
        .arg(capitalised(TableKinds::description(kind)), QDir::toNativeSeparators(path),
             QDir::toNativeSeparators(kept));
}

} // namespace TableRenewal
