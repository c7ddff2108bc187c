#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QString>

struct sqlite3;

// One open, keyed SQLCipher file holding one table named "items".
class Database
{
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file; raises TableError when it is missing, not a
    // table, or keyed with another password. A file written with the older
    // column declarations is brought up to date first, in one transaction.
    void open(const QString& path, const QByteArray& rawKey);
    // Creates a new, empty table file; an existing file is replaced.
    void create(const QString& path, const QByteArray& rawKey, const TableSchema& schema);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    sqlite3* handle() const { return m_db; }

    // The texts of the three ways a file can fail to open as a table.
    static QString damagedText(const QString& name);
    static QString notATableText(const QString& name);
    static QString wrongPasswordText(const QString& name);
    void exec(const QString& sql);
    TableSchema readSchema();
    // The SQLCipher library's version, e.g. "3.4.1" or "4.6.1 community".
    QString cipherVersion();
    static QString cipherVersionOf(sqlite3* db);

private:
    // Version3: the SQLCipher 3.x file format whichever library reads it;
    // Native: the library's own default (files an earlier build wrote on 4.x).
    enum class CipherFormat { Version3, Native };
    void openHandle(const QString& path, const QByteArray& rawKey, int flags,
                    CipherFormat format = CipherFormat::Version3);
    void pinFileFormat(CipherFormat format);
    int probeFirstPage();
    bool needsMigration();
    void migrate();

    sqlite3* m_db = nullptr;
    QString m_path;
};
