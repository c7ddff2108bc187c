#pragma once

#include <QString>
#include <stdexcept>

// The error every table operation raises. Its text is meant for the user:
// the window's standard error box shows it as it stands.
class TableError : public std::runtime_error
{
public:
    // What went wrong, where the caller may act on it (a scratch table that
    // is missing or damaged can be made anew; one in use cannot).
    enum class Kind { Other, Missing, Damaged, NotATable, WrongPassword, InUse };

    explicit TableError(const QString& message, Kind kind = Kind::Other)
        : std::runtime_error(message.toStdString()), m_message(message), m_kind(kind)
    {
    }
    QString message() const { return m_message; }
    Kind kind() const { return m_kind; }

private:
    QString m_message;
    Kind m_kind;
};
