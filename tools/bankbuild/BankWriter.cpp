#include "BankWriter.h"

#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Database.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace BankWriter {

namespace {
QHash<qint64, QString> existingNotes(const QString& path)
{
    QHash<qint64, QString> notes;
    if (!QFileInfo(path).isFile())
        return notes;
    try {
        Table old(TableFiles::SessionName, path);
        old.open();
        while (!old.eof()) {
            const QString memo = old.fieldByName(ItemRecord::U_MEMO).asString();
            if (!memo.isEmpty())
                notes.insert(old.fieldByName(ItemRecord::Q_ID).asInteger(), memo);
            old.next();
        }
    } catch (const TableError&) {
        // An unreadable old bank has no notes to keep.
    }
    return notes;
}

void removeTableFile(const QString& path)
{
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                  QStringLiteral("-journal"), QStringLiteral(".lck")})
        QFile::remove(path + suffix);
}
} // namespace

bool writeBank(const QList<BankItem>& items, const QString& path, QString* error)
{
    using namespace ItemRecord;
    const QString temp = path + QStringLiteral(".new");
    try {
        const QHash<qint64, QString> notes = existingNotes(path);
        removeTableFile(temp);
        Table::createFile(temp, TableFiles::SessionName, bankSchema(), TableKind::Bank);
        Table bank(TableFiles::SessionName, temp);
        bank.setExclusive(true);
        bank.open();
        bank.startTransaction();
        for (const BankItem& item : items) {
            bank.append();
            bank.fieldByName(Q_ID).setAsInteger(item.id);
            bank.fieldByName(Q_EXAM_N).setAsInteger(item.exam);
            bank.fieldByName(Q_SECT).setAsInteger(item.section);
            bank.fieldByName(Q_TEXT).setAsString(item.question);
            bank.fieldByName(Q_EXPL).setAsString(item.explanation);
            bank.fieldByName(Q_TYPE).setAsBoolean(item.multiple);
            for (int k = 1; k <= ChoiceCount; ++k) {
                bank.fieldByName(choiceText(k))
                    .setAsString(k <= item.choices.size() ? item.choices.at(k - 1) : QString());
                bank.fieldByName(choiceFlag(k)).setAsBoolean(item.correct[k - 1]);
            }
            bank.fieldByName(Q_SIM).setAsString(item.sim);
            bank.fieldByName(PICT1).setAsString(item.pict1);
            bank.fieldByName(PICT2).setAsString(item.pict2);
            bank.fieldByName(U_MEMO).setAsString(notes.value(item.id, item.memo));
            bank.post();
        }
        bank.commit();
        bank.close();
        // The bank is read in place and read-only, also from a folder where no
        // journal could be made beside it: it ships in rollback-journal mode.
        Database db;
        db.open(temp, Session::find(TableFiles::SessionName)->rawKey());
        db.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
        db.close();
    } catch (const TableError& e) {
        removeTableFile(temp);
        *error = e.message();
        return false;
    }
    removeTableFile(path);
    if (!QFile::rename(temp, path)) {
        *error = QStringLiteral("Cannot replace %1").arg(path);
        return false;
    }
    QFile::remove(temp + QStringLiteral(".lck"));
    return true;
}

bool ensureEmptyTable(const QString& path, bool userSet, QString* error)
{
    if (QFileInfo(path).isFile())
        return true;
    try {
        Table::createFile(path, TableFiles::SessionName,
                          userSet ? ItemRecord::userSetSchema() : ItemRecord::currentSetSchema(),
                          userSet ? TableKind::UserSet : TableKind::CurrentSet);
    } catch (const TableError& e) {
        *error = e.message();
        return false;
    }
    return true;
}

} // namespace BankWriter
