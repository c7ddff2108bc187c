#include "ui/widgets/PanelStatusBar.h"

#include <QLabel>

PanelStatusBar::PanelStatusBar(QWidget* parent) : QStatusBar(parent) {}

void PanelStatusBar::setPanelWidths(const QList<int>& widths)
{
    qDeleteAll(m_panels);
    m_panels.clear();
    for (int width : widths) {
        auto* label = new QLabel(this);
        // At least its width; a longer text widens the panel rather than being cut.
        label->setMinimumWidth(width);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        addWidget(label);
        m_panels << label;
    }
}

QString PanelStatusBar::panelText(int index) const
{
    QLabel* label = panel(index);
    return label ? label->text() : QString();
}

void PanelStatusBar::setPanelText(int index, const QString& text)
{
    if (QLabel* label = panel(index))
        label->setText(text);
}
