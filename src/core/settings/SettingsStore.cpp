#include "core/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {

const QString Section = QStringLiteral("Options/");
constexpr qint64 MaxFileBytes = 1 << 20;

// The file is read and written by a plain INI format of our own rather than
// QSettings::IniFormat, whose quirks do not suit a file of text values: it
// turns "a, b" into a list and "@Variant(...)" into binary data, and a line
// it cannot parse leaves a format error that masks a later failed write.
// Here every value is the text after "=", a line that is not "[section]" or
// "name=value" is skipped, and reading never fails.
bool readIni(QIODevice& device, QSettings::SettingsMap& map)
{
    if (device.size() > MaxFileBytes)
        return true; // not a settings file of ours: nothing usable in it
    QString section;
    const QList<QByteArray> lines = device.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            section = line.endsWith(QLatin1Char(']')) ? line.mid(1, line.size() - 2).trimmed() : QString();
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (section.isEmpty() || eq <= 0)
            continue;
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        map.insert(section + QLatin1Char('/') + line.left(eq).trimmed(), value);
    }
    return true;
}

bool writeIni(QIODevice& device, const QSettings::SettingsMap& map)
{
    QString current;
    QByteArray out;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QStringLiteral("General") : it.key().left(slash);
        if (section != current || out.isEmpty()) {
            if (!out.isEmpty())
                out += '\n';
            out += '[' + section.toUtf8() + "]\n";
            current = section;
        }
        // A line break in a value would end it early: it becomes a space.
        QString value = it.value().toString();
        value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        // Reading takes one pair of quotes off a value; a value that is itself
        // quoted gets another pair, so that it reads back as it was.
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = QLatin1Char('"') + value + QLatin1Char('"');
        out += it.key().mid(slash + 1).toUtf8() + '=' + value.toUtf8() + '\n';
    }
    return device.write(out) == out.size();
}

QSettings::Format iniFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), readIni, writeIni, Qt::CaseSensitive);
    return format;
}

QString readText(const QSettings& ini, const QString& name, bool* present = nullptr)
{
    const QVariant v = ini.value(Section + name);
    if (present)
        *present = v.isValid();
    return v.toString();
}

// Decimal text with an optional sign, as a 32-bit integer; anything else
// (empty, letters, out of range) gives the default.
int readInteger(const QSettings& ini, const QString& name, int defaultValue)
{
    bool present = false;
    const QString text = readText(ini, name, &present).trimmed();
    if (!present)
        return defaultValue;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

// A flag is read as an integer: any value but 0 is true ("2" and "-1" too).
bool readBoolean(const QSettings& ini, const QString& name, bool defaultValue)
{
    return readInteger(ini, name, defaultValue ? 1 : 0) != 0;
}

void readFont(const QSettings& ini, const QString& prefix, FontSetting& font, qint64 defaultColor)
{
    const QString name = readText(ini, prefix + QStringLiteral("Name"));
    if (!name.isEmpty())
        font.name = SettingsStore::cutFaceName(name);
    font.color = readInteger(ini, prefix + QStringLiteral("Color"), int(defaultColor));
    font.size = readInteger(ini, prefix + QStringLiteral("Size"), 10);
    // Bold and italic are only ever added to the style the font already has.
    if (readBoolean(ini, prefix + QStringLiteral("Bold"), false))
        font.bold = true;
    if (readBoolean(ini, prefix + QStringLiteral("Italic"), false))
        font.italic = true;
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

SettingsStore::SettingsStore(const QString& iniPath) : m_path(iniPath) {}

QString SettingsStore::defaultPath()
{
    // A per-user text file named after the product, beside the other
    // programs' settings (~/.config/Velarix 2.0.ini).
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QStringLiteral("Velarix 2.0.ini"));
}

QString SettingsStore::defaultCalcPath()
{
    // There is no Windows folder with a Calc.exe here: the default is the
    // first of the usual desktop calculators found on the PATH. When none is
    // installed, the GNOME one's usual place is named, so that the button
    // stays hidden until such a program appears or another path is chosen.
    static const char* const calculators[] = {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk",
                                              "xcalc"};
    for (const char* name : calculators) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QStringLiteral("/usr/bin/gnome-calculator");
}

void SettingsStore::load(Values& values, const QString& defaultCalcPath) const
{
    const QSettings ini(m_path, iniFormat());
    readFont(ini, QStringLiteral("QFont"), values.question, 0);
    readFont(ini, QStringLiteral("AFont"), values.answers, 0);
    readFont(ini, QStringLiteral("EXPFont"), values.explanation, DefaultExplanationColor);

    ExamOptions& o = values.options;
    o.ShowLearnBtn = readBoolean(ini, QStringLiteral("ShowLearnBtn"), false);
    o.ShowCalcBtn = readBoolean(ini, QStringLiteral("ShowCalcBtn"), true);
    o.TimerOn = readBoolean(ini, QStringLiteral("TimerOn"), true);
    o.DefaultTime = readInteger(ini, QStringLiteral("DefaultTime"), 90);
    bool present = false;
    const QString calcPath = readText(ini, QStringLiteral("CalcPath"), &present);
    o.CalcPath = present ? calcPath : defaultCalcPath;
}

QList<QPair<QString, QString>> SettingsStore::entries(const Values& values)
{
    const FontSetting& q = values.question;
    const FontSetting& a = values.answers;
    const FontSetting& e = values.explanation;
    const ExamOptions& o = values.options;
    auto number = [](qint64 n) { return QString::number(n); };
    // The order the values have always been written in.
    return {
        {QStringLiteral("QFontName"), q.name},
        {QStringLiteral("QFontColor"), number(q.color)},
        {QStringLiteral("QFontSize"), number(q.size)},
        {QStringLiteral("DefaultTime"), number(o.DefaultTime)},
        {QStringLiteral("QFontBold"), flagText(q.bold)},
        {QStringLiteral("QFontItalic"), flagText(q.italic)},
        {QStringLiteral("AFontName"), a.name},
        {QStringLiteral("AFontColor"), number(a.color)},
        {QStringLiteral("AFontSize"), number(a.size)},
        {QStringLiteral("AFontBold"), flagText(a.bold)},
        {QStringLiteral("AFontItalic"), flagText(a.italic)},
        {QStringLiteral("EXPFontName"), e.name},
        {QStringLiteral("EXPFontColor"), number(e.color)},
        {QStringLiteral("EXPFontSize"), number(e.size)},
        {QStringLiteral("EXPFontBold"), flagText(e.bold)},
        {QStringLiteral("EXPFontItalic"), flagText(e.italic)},
        {QStringLiteral("ShowLearnBtn"), flagText(o.ShowLearnBtn)},
        {QStringLiteral("TimerOn"), flagText(o.TimerOn)},
        {QStringLiteral("ShowCalcBtn"), flagText(o.ShowCalcBtn)},
        {QStringLiteral("CalcPath"), o.CalcPath},
    };
}

bool SettingsStore::save(const Values& values, QString* error) const
{
    QSettings ini(m_path, iniFormat());
    // Every value goes in as text: "1", "0", "90", names as they are.
    for (const auto& entry : entries(values))
        ini.setValue(Section + entry.first, entry.second);
    // The file is replaced as a whole: a failed save leaves it as it was.
    ini.sync();
    if (ini.status() == QSettings::NoError)
        return true;
    if (error) {
        *error = QStringLiteral("The settings could not be saved to %1.")
                     .arg(QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath()));
    }
    return false;
}

QString SettingsStore::text(const QString& key) const
{
    const QSettings ini(m_path, iniFormat());
    return ini.value(key).toString();
}

bool SettingsStore::setText(const QString& key, const QString& value) const
{
    QSettings ini(m_path, iniFormat());
    ini.setValue(key, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString SettingsStore::cutFaceName(const QString& name)
{
    if (name.size() <= MaxFaceNameLength)
        return name;
    // A character outside the basic range takes two units; it goes whole or not at all.
    const bool splitsPair = name.at(MaxFaceNameLength - 1).isHighSurrogate();
    return name.left(splitsPair ? MaxFaceNameLength - 1 : MaxFaceNameLength);
}
