#pragma once

#include "core/tables/FieldDef.h"
#include "core/tables/TableKind.h"

#include <QByteArray>
#include <QString>

struct sqlite3;

// One open, keyed SQLCipher file holding one table named "items".
class Database
{
public:
    // ReadWrite: the table takes changes; a journal beside it is checked
    // and applied. ReadOnly: shipped data; the file is read as it lies
    // (SQLite's immutable open), nothing is written, no journal is applied.
    enum class Access { ReadWrite, ReadOnly };

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file; raises TableError when it is missing, not a
    // table, keyed with another password, a table of another kind than
    // `kind` (Unmarked: any kind), or beside a journal that is not its own.
    // A file written with the older column declarations is brought up to
    // date first, in one transaction; an unmarked one opened for changes
    // with a kind is marked.
    void open(const QString& path, const QByteArray& rawKey, Access access = Access::ReadWrite,
              TableKind kind = TableKind::Unmarked);
    // Makes a new, empty table file of that kind, whole or not at all: it is
    // built under a temporary name in the same folder, synced and renamed
    // into place, so a kill or a full disk leaves either the file as it was
    // (an existing file is replaced only by the rename) or the new one. The
    // new file is left open.
    void create(const QString& path, const QByteArray& rawKey, const TableSchema& schema,
                TableKind kind = TableKind::Unmarked);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    sqlite3* handle() const { return m_db; }

    // The texts of the ways a file can fail to open as a table; each names
    // the file with its full path.
    static QString damagedText(const QString& path);
    static QString notATableText(const QString& path);
    static QString wrongPasswordText(const QString& path);
    static QString otherKindText(const QString& path, qint32 found, TableKind expected);
    static QString foreignJournalText(const QString& path);
    void exec(const QString& sql);
    TableSchema readSchema();
    // The kind written into the file; Unmarked for files of earlier versions.
    qint32 applicationId();
    // The SQLCipher library's version, e.g. "3.4.1" or "4.6.1 community".
    QString cipherVersion();
    static QString cipherVersionOf(sqlite3* db);

private:
    // Version3: the SQLCipher 3.x file format whichever library reads it;
    // Native: the library's own default (files an earlier build wrote on 4.x).
    enum class CipherFormat { Version3, Native };
    void openHandle(const QString& path, const QByteArray& rawKey, int flags,
                    CipherFormat format = CipherFormat::Version3, bool immutable = false);
    void pinFileFormat(CipherFormat format);
    int probeFirstPage();
    void checkJournal(const QString& path, const QByteArray& rawKey, const QByteArray& head);
    void checkKind(const QString& path, TableKind kind, Access access);
    bool needsMigration();
    void migrate();

    sqlite3* m_db = nullptr;
    QString m_path;
};
