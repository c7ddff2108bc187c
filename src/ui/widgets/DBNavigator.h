#pragma once

#include "core/tables/Table.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QToolButton;

// Four buttons that move a table to its first, prior, next and last record.
// A button is disabled where its move would go nowhere: first and prior on
// the first record, next and last on the last one, all of them while the
// table is closed, empty or adding a record. The buttons are named nbFirst,
// nbPrior, nbNext and nbLast.
class DBNavigator : public QWidget
{
    Q_OBJECT
public:
    enum Button { First, Prior, Next, Last };

    explicit DBNavigator(QWidget* parent = nullptr);

    void setTable(Table* table);
    Table* table() const { return m_table; }
    // The tool tips of the four buttons, in the order first, prior, next, last.
    void setHints(const QStringList& hints);
    void click(Button which);

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateButtons();
    void paintArrows();

    QPointer<Table> m_table;
    QToolButton* m_buttons[4];
    QMetaObject::Connection m_dataLink;
    QMetaObject::Connection m_stateLink;
};
