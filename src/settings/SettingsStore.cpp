#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {

const QString Section = QStringLiteral("Options/");

// Every value is plain text. QSettings hands back a list for an unquoted
// comma in a hand-edited file; such a value is taken as the text it was.
QString readText(const QSettings& ini, const QString& name, bool* present = nullptr)
{
    const QVariant v = ini.value(Section + name);
    if (present)
        *present = v.isValid();
    if (!v.isValid())
        return {};
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
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
        font.name = name.left(SettingsStore::MaxFaceNameLength);
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
    QSettings ini(m_path, QSettings::IniFormat);
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
    {
        // QSettings keeps a read's format error as its status for good, which
        // would hide a failed write. A file it cannot parse holds nothing
        // usable anyway: it is replaced.
        const QSettings probe(m_path, QSettings::IniFormat);
        if (probe.status() == QSettings::FormatError)
            QFile::remove(m_path);
    }
    QSettings ini(m_path, QSettings::IniFormat);
    // Every value goes in as a string, so that the file holds "1", "0" and
    // "90" rather than QSettings' own encodings of booleans and numbers.
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
