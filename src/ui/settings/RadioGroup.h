#pragma once

#include <QGroupBox>
#include <QList>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons, one entry chosen. Choosing an entry, by
// the user or by the program, raises clicked(), so that whatever follows the
// group stays in step with it.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* button(int index) const { return m_buttons.value(index); }

signals:
    void clicked();

private:
    QButtonGroup* m_group = nullptr;
    QList<QRadioButton*> m_buttons;
};
