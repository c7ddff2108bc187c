#pragma once

#include "core/grading/TmyCustomCheckBox.h"

// A printable check box whose state is a fixed property.
class TmyCheckBox : public TmyCustomCheckBox
{
public:
    explicit TmyCheckBox(const QString& name = QString());

    bool Checked() const { return m_checked; }
    void setChecked(bool checked);

    bool isChecked(const PrintContext& context) const override;

private:
    bool m_checked = true;
};
