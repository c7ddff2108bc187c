#pragma once

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>
#include <QtTest>

// Files the settings tests write and read.
namespace SettingsTestFiles {

inline void writeFile(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The "name=value" lines of the file's [Options] section.
inline QMap<QString, QString> optionsOf(const QString& path)
{
    QMap<QString, QString> values;
    bool inOptions = false;
    for (const QByteArray& raw : readFile(path).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inOptions = line == QLatin1String("[Options]");
        } else if (inOptions && line.contains(QLatin1Char('='))) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            values.insert(line.left(eq), line.mid(eq + 1));
        }
    }
    return values;
}

// A program that starts and ends at once, for the calculator path.
inline QString executableScript(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("#!/bin/sh\nexit 0\n");
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
    return path;
}

} // namespace SettingsTestFiles
