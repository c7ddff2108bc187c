#pragma once

#include <QString>
#include <stdexcept>

// A data pipeline was asked for something it does not have, such as a field
// name it does not know.
class ReportDataError : public std::runtime_error
{
public:
    explicit ReportDataError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
