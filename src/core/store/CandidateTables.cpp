#include "core/store/CandidateTables.h"

#include "core/store/DataFolder.h"
#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/store/TableFiles.h"
#include "core/tables/StorageError.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/tables/TableKind.h"
#include "core/tables/TableRenewal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstdio>

namespace CandidateTables {

QString currentSetPath()
{
    return DataFolder::userFile(TableFiles::CurrentSet);
}

QString userSetPath()
{
    return DataFolder::userFile(TableFiles::UserSet);
}

QString notesPath()
{
    return DataFolder::userFile(TableFiles::Notes);
}

namespace {
void removeTableFiles(const QString& path)
{
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                  QStringLiteral("-journal"), QStringLiteral(".lck")})
        QFile::remove(path + suffix);
}

// Puts a finished table in its place in one rename, so a kill leaves either
// no table (made again at the next start) or the whole one.
void putInPlace(const QString& temp, const QString& path)
{
    QFile::remove(temp + QStringLiteral(".lck"));
    if (::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        removeTableFiles(temp);
        throw StorageError::fromErrno(error, path,
                                      QStringLiteral("Cannot make table %1").arg(QFileInfo(path).fileName()));
    }
}

// Copies a table of the earlier layout, with the journal it may still have,
// to `temp`, and opens the copy, which takes the journal in; the old files
// stay byte for byte as they were. False when there is nothing readable.
bool copyOldTable(const QString& sessionName, const QString& old, const QString& temp)
{
    removeTableFiles(temp);
    const QString wal = QStringLiteral("-wal");
    if (!QFileInfo(old).isFile() || !QFile::copy(old, temp) ||
        (QFileInfo::exists(old + wal) && !QFile::copy(old + wal, temp + wal))) {
        removeTableFiles(temp);
        return false;
    }
    try {
        Table copy(sessionName, temp);
        copy.setExclusive(true);
        copy.open();
        copy.close();
    } catch (const TableError&) {
        // Unreadable: the old file stays as it is, and the candidate starts afresh.
        removeTableFiles(temp);
        return false;
    }
    return true;
}

// The notes that the earlier layout kept in the bank's memo field.
QHash<qint64, QString> oldNotes(const QString& sessionName, const QString& oldBank, const QString& temp)
{
    QHash<qint64, QString> notes;
    if (!copyOldTable(sessionName, oldBank, temp))
        return notes;
    const auto removeCopy = qScopeGuard([&temp] { removeTableFiles(temp); });
    Table bank(sessionName, temp);
    bank.open();
    const std::vector<std::vector<QVariant>> fields =
        bank.fieldsInView({ItemRecord::Q_ID, ItemRecord::U_MEMO});
    const std::vector<QVariant>& ids = fields[0];
    const std::vector<QVariant>& memos = fields[1];
    for (size_t i = 0; i < ids.size() && i < memos.size(); ++i) {
        if (!memos[i].toString().isEmpty())
            notes.insert(Field::integerOf(ids[i]), memos[i].toString());
    }
    return notes;
}

void makeNotes(const QString& sessionName, const QString& path, const QString& oldBank)
{
    const QString temp = path + QStringLiteral(".new");
    QHash<qint64, QString> notes;
    try {
        notes = oldNotes(sessionName, oldBank, path + QStringLiteral(".old"));
    } catch (const TableError&) {
        // An old bank that cannot be read has no notes to carry; it stays as it is.
    }
    removeTableFiles(temp);
    try {
        Table::createFile(temp, sessionName, NoteBook::schema(), TableKind::Notes);
        if (!notes.isEmpty()) {
            Table table(sessionName, temp);
            table.setExclusive(true);
            table.open();
            table.startTransaction();
            for (auto it = notes.cbegin(); it != notes.cend(); ++it) {
                table.append();
                table.fieldByName(ItemRecord::Q_ID).setAsInteger(it.key());
                table.fieldByName(ItemRecord::U_MEMO).setAsString(it.value());
                table.post();
            }
            table.commit();
            table.close();
        }
    } catch (...) {
        removeTableFiles(temp);
        throw;
    }
    putInPlace(temp, path);
}

void makeUserSet(const QString& sessionName, const QString& path, const QString& oldSet)
{
    // A copy of the file keeps every record, its ID and the next ID.
    const QString temp = path + QStringLiteral(".new");
    try {
        if (!copyOldTable(sessionName, oldSet, temp))
            Table::createFile(temp, sessionName, ItemRecord::userSetSchema(), TableKind::UserSet);
    } catch (...) {
        removeTableFiles(temp);
        throw;
    }
    putInPlace(temp, path);
}
} // namespace

QStringList prepare(const QString& sessionName, const QString& oldFolder)
{
    DataFolder::requireUserFolder();
    const QDir old(oldFolder);
    if (!QFileInfo::exists(notesPath()))
        makeNotes(sessionName, notesPath(), old.filePath(TableFiles::Bank));
    if (!QFileInfo::exists(userSetPath()))
        makeUserSet(sessionName, userSetPath(), old.filePath(TableFiles::UserSet));
    // A damaged table of the candidate's is set aside and begun anew here,
    // once, rather than failing every exam and every save after it.
    QStringList notices;
    const std::pair<QString, TableKind> tables[] = {{notesPath(), TableKind::Notes},
                                                    {userSetPath(), TableKind::UserSet}};
    for (const auto& [path, kind] : tables) {
        Table table(sessionName, path);
        table.setKind(kind);
        const QString notice = TableRenewal::openOrRenew(
            table, kind == TableKind::Notes ? NoteBook::schema() : ItemRecord::userSetSchema(), kind);
        if (!notice.isEmpty())
            notices << notice;
    }
    return notices;
}

} // namespace CandidateTables
