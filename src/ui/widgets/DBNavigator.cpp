#include "ui/widgets/DBNavigator.h"

#include "core/tables/Table.h"
#include "ui/widgets/ErrorGuard.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {
// An arrow glyph, pointing left or right, with a bar on the far side for
// the first and last buttons, in the button's text colours: it reads on the
// button's face whatever the system's colours are.
QIcon arrowIcon(bool right, bool bar, const QPalette& palette)
{
    QIcon icon;
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
        const QColor colour = palette.color(mode == QIcon::Normal ? QPalette::Active : QPalette::Disabled,
                                            QPalette::ButtonText);
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        QPainterPath tri;
        if (right) {
            tri.moveTo(5, 3);
            tri.lineTo(11, 8);
            tri.lineTo(5, 13);
        } else {
            tri.moveTo(11, 3);
            tri.lineTo(5, 8);
            tri.lineTo(11, 13);
        }
        tri.closeSubpath();
        p.drawPath(tri);
        if (bar)
            p.drawRect(right ? QRectF(12, 3, 2, 10) : QRectF(2, 3, 2, 10));
        p.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}
} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const char* names[] = {"nbFirst", "nbPrior", "nbNext", "nbLast"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setFixedSize(26, 24);
        b->setAutoRaise(false);
        row->addWidget(b);
        m_buttons[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { click(Button(i)); });
    }
    paintArrows();
    setHints({QStringLiteral("First record"), QStringLiteral("Prior record"), QStringLiteral("Next record"),
              QStringLiteral("Last record")});
    updateButtons();
}

void DBNavigator::paintArrows()
{
    const bool right[] = {false, false, true, true};
    const bool bar[] = {true, false, false, true};
    for (int i = 0; i < 4; ++i)
        m_buttons[i]->setIcon(arrowIcon(right[i], bar[i], m_buttons[i]->palette()));
}

void DBNavigator::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        paintArrows();
}

void DBNavigator::setHints(const QStringList& hints)
{
    // A hint also names its button to a screen reader.
    for (int i = 0; i < 4 && i < hints.size(); ++i) {
        m_buttons[i]->setToolTip(hints.at(i));
        m_buttons[i]->setAccessibleName(hints.at(i));
    }
}

void DBNavigator::setTable(Table* table)
{
    disconnect(m_dataLink);
    disconnect(m_stateLink);
    m_table = table;
    if (table) {
        m_dataLink =
            connect(table->dataSource(), &DataSource::dataChanged, this, [this](const QString& field) {
                if (field.isEmpty())
                    updateButtons();
            });
        m_stateLink =
            connect(table->dataSource(), &DataSource::stateChanged, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::click(Button which)
{
    ErrorGuard::run([&] {
        if (!m_table || !m_table->isOpen())
            return;
        switch (which) {
        case First:
            m_table->first();
            break;
        case Prior:
            m_table->prior();
            break;
        case Next:
            m_table->next();
            break;
        case Last:
            m_table->last();
            break;
        }
    });
    updateButtons();
}

void DBNavigator::updateButtons()
{
    bool back = false, forward = false;
    if (m_table && m_table->isOpen() && m_table->state() != Table::State::Insert &&
        m_table->bookmark() >= 0) {
        if (m_table->filtered() && !m_table->filter().isEmpty()) {
            // Record numbers count the whole table: under a filter the ends
            // are not known without a walk, so every move is offered.
            back = forward = true;
        } else {
            back = m_table->recNo() > 1;
            forward = m_table->recNo() < m_table->recordCount();
        }
    }
    m_buttons[First]->setEnabled(back);
    m_buttons[Prior]->setEnabled(back);
    m_buttons[Next]->setEnabled(forward);
    m_buttons[Last]->setEnabled(forward);
}
