#pragma once

#include <QMap>
#include <QString>
#include <optional>

// What the test sampler shows about the user set's state and current record,
// as plain values. Each part is set only when it changes; a part left unset
// stays as the window shows it.
struct UserSetView
{
    // The current record's type and section, shown in the two choice controls.
    struct Record
    {
        bool multiple = false;
        qint64 section = 0;
        bool sectionIsNull = true;
    };

    std::optional<bool> editing;    // an item is being edited or added: Save and Cancel enabled
    std::optional<QString> heading; // the heading over the item
    QMap<int, QString> panels;      // status bar panel (UserSetStatus::IdPanel ..) -> text
    std::optional<Record> record;
    bool empty = false; // the set holds no item: nothing to edit or delete
};
