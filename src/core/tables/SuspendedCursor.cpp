#include "core/tables/SuspendedCursor.h"

#include "core/tables/Table.h"

SuspendedCursor::SuspendedCursor(Table& table) : m_table(table)
{
    m_table.disableControls();
    m_bookmark = m_table.bookmark();
}

SuspendedCursor::~SuspendedCursor()
{
    if (m_restored)
        return;
    // Unwinding from an error: get back as far as possible, and never let the
    // controls stay cut off from the table.
    try {
        if (m_bookmark >= 0 && m_table.isOpen())
            m_table.gotoBookmark(m_bookmark);
    } catch (...) {
    }
    m_table.enableControls();
}

void SuspendedCursor::restore()
{
    if (m_restored)
        return;
    m_restored = true;
    try {
        if (m_bookmark >= 0 && m_table.isOpen())
            m_table.gotoBookmark(m_bookmark);
    } catch (...) {
        m_table.enableControls();
        throw;
    }
    m_table.enableControls();
}
