#pragma once

#include <QList>
#include <QStatusBar>

class QLabel;

// A status bar of text panels, addressed by their index. Each panel has its
// set width unless its text needs more.
class PanelStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit PanelStatusBar(QWidget* parent = nullptr);

    // Replaces the panels by one panel per width, left to right.
    void setPanelWidths(const QList<int>& widths);
    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);

private:
    QLabel* panel(int index) const { return m_panels.value(index); }

    QList<QLabel*> m_panels;
};
