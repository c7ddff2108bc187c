#pragma once

#include <QtGlobal>

class Table;

// While a report walks a table, the controls that follow its cursor must not
// redraw for every record, and afterwards the cursor must be back on the
// record the user was on. This holds the controls off and remembers the
// record; restore() returns and lets the controls follow again (the
// destructor does the same if an error came first).
class SuspendedCursor
{
public:
    explicit SuspendedCursor(Table& table);
    ~SuspendedCursor();
    SuspendedCursor(const SuspendedCursor&) = delete;
    SuspendedCursor& operator=(const SuspendedCursor&) = delete;

    void restore();

private:
    Table& m_table;
    qint64 m_bookmark = -1;
    bool m_restored = false;
};
