#pragma once

#include <QString>
#include <stdexcept>

// The error every table operation raises. Its text is meant for the user:
// the window's standard error box shows it as it stands.
class TableError : public std::runtime_error
{
public:
    explicit TableError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
