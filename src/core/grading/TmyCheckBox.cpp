#include "core/grading/TmyCheckBox.h"

TmyCheckBox::TmyCheckBox(const QString& name) : TmyCustomCheckBox(name) {}

void TmyCheckBox::setChecked(bool checked)
{
    m_checked = checked;
    changed();
}

bool TmyCheckBox::isChecked(const PrintContext& context) const
{
    Q_UNUSED(context);
    return m_checked;
}
