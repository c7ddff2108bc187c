#include "ui/settings/ClampingSpinBox.h"

#include <QLineEdit>
#include <QLocale>

namespace {
bool isNumberCharacter(QChar c)
{
    return c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') ||
           c == QLocale().decimalPoint().front() || c == QLatin1Char('.');
}
} // namespace

ClampingSpinBox::ClampingSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int ClampingSpinBox::textValue() const
{
    bool ok = false;
    const int value = lineEdit()->text().trimmed().toInt(&ok);
    return ok ? qBound(minimum(), value, maximum()) : minimum();
}

QValidator::State ClampingSpinBox::validate(QString& input, int&) const
{
    for (const QChar c : input) {
        if (!isNumberCharacter(c))
            return QValidator::Invalid;
    }
    bool ok = false;
    const int value = input.toInt(&ok);
    return ok && value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void ClampingSpinBox::fixup(QString& input) const
{
    bool ok = false;
    const int value = input.trimmed().toInt(&ok);
    input = QString::number(ok ? qBound(minimum(), value, maximum()) : minimum());
}
