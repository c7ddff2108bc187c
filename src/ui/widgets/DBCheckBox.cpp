#include "ui/widgets/DBCheckBox.h"

#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/FieldDataLink.h"

#include <QScopedValueRollback>

DBCheckBox::DBCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), m_link(new FieldDataLink(this))
{
    connect(m_link, &FieldDataLink::changed, this, guarded(this, &DBCheckBox::refresh));
}

void DBCheckBox::setField(Table* table, const QString& fieldName)
{
    m_link->setField(table, fieldName);
}

void DBCheckBox::setValues(const QString& checked, const QString& unchecked)
{
    m_checked = checked;
    m_unchecked = unchecked;
    refresh();
}

void DBCheckBox::refresh()
{
    if (m_writing)
        return;
    setChecked(m_link->text().compare(m_checked, Qt::CaseInsensitive) == 0);
}

void DBCheckBox::nextCheckState()
{
    bool written = false;
    ErrorGuard::run([&] {
        QScopedValueRollback<bool> writing(m_writing, true);
        if (!m_link->edit())
            return;
        m_link->setText(isChecked() ? m_unchecked : m_checked);
        written = true;
    });
    if (written)
        QCheckBox::nextCheckState();
    else
        ErrorGuard::run([this] { refresh(); });
}
