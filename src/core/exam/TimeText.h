#pragma once

#include <QString>

// Durations are day fractions (one minute is 1/1440). Their text is
// "h:mm:ss" with hours counted from 0 and no day-half marker.
namespace TimeText {
constexpr double SecondsPerDay = 86400.0;

// Drops the milliseconds; a negative span reads 0:00:00.
QString format(double days);
// The value of a time text in whole seconds; invalid text gives 0.
double parse(const QString& text);
// Whole seconds of a span, rounded to the millisecond first so that a value
// like 7/1440 is not cut a second short.
qint64 wholeSeconds(double days);
} // namespace TimeText
