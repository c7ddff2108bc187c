#pragma once

#include <QString>
#include <optional>

// The texts the test sampler shows about the user set's state and current
// record, and the mapping between an item's type and section and the
// sampler's two choice controls.
class UserSetStatus
{
public:
    // Status bar panels: 0 the item, 1 the count, 2 the state, 3 the last change.
    static constexpr int IdPanel = 0;
    static constexpr int CountPanel = 1;
    static constexpr int StatePanel = 2;
    static constexpr int ChangePanel = 3;

    static QString idHeading(qint64 id) { return QStringLiteral("Item ID: ") + QString::number(id); }
    static QString idPanel(qint64 id) { return QStringLiteral(" Item ID: ") + QString::number(id); }
    static QString countPanel(int count) { return QStringLiteral(" Items: ") + QString::number(count); }

    static QString browsingPanel() { return QStringLiteral("  Browsing"); }
    static QString editHeading() { return QStringLiteral("Edit Item"); }
    static QString editPanel() { return QStringLiteral(" Edit Item"); }
    static QString addHeading() { return QStringLiteral("Add new item"); }
    static QString addPanel() { return QStringLiteral(" Add new item"); }
    static QString modifiedPanel() { return QStringLiteral(" Modified"); }
    static QString savedPanel() { return QStringLiteral(" Saved"); }
    static QString emptyHeading() { return QStringLiteral("The question set is empty"); }
    static QString emptyPanel() { return QStringLiteral(" Empty"); }

    // The section list's row for an item's Q_SECT: -1 (nothing selected) when
    // the section is empty or outside the list.
    static int sectionRow(qint64 section, bool isNull, int listCount);
    // Q_SECT for the selected row: row + 1, or 0 with nothing selected.
    static int sectionOf(int row) { return row < 0 ? 0 : row + 1; }

    // The type choice: entry 0 single response (false), entry 1 multiple (true).
    static int typeIndex(bool multiple) { return multiple ? 1 : 0; }
    // Q_TYPE for a type entry; no value with no entry chosen.
    static std::optional<bool> typeOf(int index);
};
