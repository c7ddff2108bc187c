#include "core/grading/TmyDBCheckBox.h"

#include "core/reports/ReportDataError.h"
#include "core/reports/ReportPipeline.h"

TmyDBCheckBox::TmyDBCheckBox(const QString& name) : TmyCustomCheckBox(name) {}

void TmyDBCheckBox::setBooleanTrue(const QString& text)
{
    m_booleanTrue = text;
    changed();
}

void TmyDBCheckBox::setBooleanFalse(const QString& text)
{
    m_booleanFalse = text;
    changed();
}

bool TmyDBCheckBox::checkedFor(const QString& text) const
{
    if (!m_booleanTrue.isEmpty())
        return text == m_booleanTrue;
    if (!m_booleanFalse.isEmpty())
        return text != m_booleanFalse;
    return !text.isEmpty();
}

bool TmyDBCheckBox::isChecked(const PrintContext& context) const
{
    Q_UNUSED(context);
    if (!DataPipeline)
        return false;
    try {
        return checkedFor(DataPipeline->fieldText(DataField));
    } catch (const ReportDataError&) {
        return false; // a field the pipeline does not know prints an unchecked box
    }
}
