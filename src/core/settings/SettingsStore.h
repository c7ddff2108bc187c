#pragma once

#include "core/settings/ExamOptions.h"
#include "core/settings/FontSetting.h"

#include <QList>
#include <QPair>
#include <QString>

// The per-user settings: an INI file named after "Velarix 2.0", section
// "Options", twenty values stored as text.
class SettingsStore
{
public:
    struct Values
    {
        FontSetting question;
        FontSetting answers;
        FontSetting explanation;
        ExamOptions options;
    };

    // Face names longer than this are cut when loaded.
    static constexpr int MaxFaceNameLength = 31;
    // `name` cut to that length, never in the middle of a character.
    static QString cutFaceName(const QString& name);
    // Navy, the explanation's colour when none is stored.
    static constexpr qint64 DefaultExplanationColor = 8388608;

    explicit SettingsStore(const QString& iniPath = defaultPath());
    QString path() const { return m_path; }

    // The user's settings file in the user's configuration folder.
    static QString defaultPath();
    // The calculator offered when none is stored: the first known calculator
    // program on the PATH, else /usr/bin/gnome-calculator.
    static QString defaultCalcPath();

    // Reads every value over `values`, which holds the design defaults on
    // entry. Never fails: a missing or unreadable value keeps its default.
    void load(Values& values, const QString& defaultCalcPath) const;
    // Writes all twenty values. The file is replaced as a whole: on failure
    // it keeps what it held before, and the reason is returned.
    bool save(const Values& values, QString* error) const;

    // The twenty names and their texts, in the order they are written.
    static QList<QPair<QString, QString>> entries(const Values& values);

    // One text value of a section of its own ("Section/Name"), for a window
    // that keeps its layout in the same file; empty when there is none.
    QString text(const QString& key) const;
    // Stores such a value; the other values stay as they were.
    bool setText(const QString& key, const QString& value) const;

private:
    QString m_path;
};
