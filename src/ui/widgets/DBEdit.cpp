#include "ui/widgets/DBEdit.h"

#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/FieldDataLink.h"

#include <QScopedValueRollback>

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), m_link(new FieldDataLink(this))
{
    connect(m_link, &FieldDataLink::changed, this, guarded(this, &DBEdit::refresh));
    connect(this, &QLineEdit::textEdited, this, &DBEdit::userEdited);
    setReadOnly(true);
}

void DBEdit::setField(Table* table, const QString& fieldName)
{
    m_link->setField(table, fieldName);
}

void DBEdit::refresh()
{
    if (m_writing)
        return; // our own write: the box already shows it
    const QString value = m_link->text();
    if (text() != value) {
        setText(value);
        setCursorPosition(0); // a long text shows its beginning
    }
    setReadOnly(!m_link->active());
}

void DBEdit::userEdited(const QString& text)
{
    bool written = false;
    ErrorGuard::run([&] {
        QScopedValueRollback<bool> writing(m_writing, true);
        if (!m_link->edit())
            return;
        m_link->setText(text);
        written = true;
    });
    if (!written)
        ErrorGuard::run([this] { refresh(); });
}
