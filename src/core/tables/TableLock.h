#pragma once

#include <QString>

// The "table is open" lock of one table file, held on a lock file beside it
// (never on the table file: closing any descriptor of the database file would
// drop SQLite's own locks). Shared for a normal open, exclusive for an
// exclusive one; a lock that is not free is tried again.
class TableLock
{
public:
    TableLock() = default;
    ~TableLock();
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

    void acquire(const QString& tablePath, bool exclusive, int retries, int waitMs);
    void release();
    bool isHeld() const { return m_fd >= 0; }

    static QString lockPathFor(const QString& tablePath);

private:
    int m_fd = -1;
};
