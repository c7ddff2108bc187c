#pragma once

#include "core/grading/TmyCustomCheckBox.h"

class ReportPipeline;

// A printable check box whose state is read, for each record, from a field
// of the report's data pipeline: checked when the field's text equals
// BooleanTrue; else, when BooleanTrue is empty, when it differs from
// BooleanFalse; else when it is not empty. Unchecked without a pipeline or
// when the pipeline does not know the field.
class TmyDBCheckBox : public TmyCustomCheckBox
{
public:
    explicit TmyDBCheckBox(const QString& name = QString());

    ReportPipeline* DataPipeline = nullptr;
    QString DataField;

    QString BooleanTrue() const { return m_booleanTrue; }
    void setBooleanTrue(const QString& text);
    QString BooleanFalse() const { return m_booleanFalse; }
    void setBooleanFalse(const QString& text);

    // The state for a field's text.
    bool checkedFor(const QString& text) const;
    bool isChecked(const PrintContext& context) const override;
    bool isDataAware() const override { return true; }

private:
    QString m_booleanTrue = QStringLiteral("True");
    QString m_booleanFalse = QStringLiteral("False");
};
