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
    // DiskFull: nothing was written (the text says where); ForeignJournal: a
    // -wal beside the table is not its own and was left alone; OtherKind: a
    // table of this program, of another kind (the text says which); NotAFile:
    // a folder or a device where the table should be; ReadOnly: the file or
    // its folder does not allow the changes a table needs.
    enum class Kind {
        Other,
        Missing,
        Damaged,
        NotATable,
        WrongPassword,
        InUse,
        DiskFull,
        ForeignJournal,
        OtherKind,
        NotAFile,
        ReadOnly
    };

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
