#include "ui/widgets/DBMemo.h"

#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/FieldDataLink.h"

#include <QScopedValueRollback>

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), m_link(new FieldDataLink(this))
{
    connect(m_link, &FieldDataLink::changed, this, guarded(this, &DBMemo::refresh));
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::userChanged);
    setReadOnly(true);
}

void DBMemo::setField(Table* table, const QString& fieldName)
{
    m_link->setField(table, fieldName);
}

void DBMemo::refresh()
{
    if (m_writing)
        return; // our own write: the box already shows it
    const QString value = m_link->text();
    if (toPlainText() != value) {
        QScopedValueRollback<bool> loading(m_loading, true);
        setPlainText(value);
    }
    setReadOnly(!m_link->active());
}

void DBMemo::userChanged()
{
    if (m_loading)
        return;
    bool written = false;
    ErrorGuard::run([&] {
        QScopedValueRollback<bool> writing(m_writing, true);
        if (!m_link->edit())
            return;
        m_link->setText(toPlainText());
        written = true;
    });
    if (!written)
        ErrorGuard::run([this] { refresh(); });
}
