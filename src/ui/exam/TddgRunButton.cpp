#include "ui/exam/TddgRunButton.h"

#include "ui/widgets/ErrorGuard.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int PictureSize = 32;
constexpr qint64 MaxDesktopEntryBytes = 64 * 1024;

// The program an Exec= or TryExec= line starts: its first word, skipping an
// "env NAME=value" prefix; quotes are taken off.
QString programOf(const QString& command)
{
    QStringList words;
    QString word;
    bool quoted = false, inWord = false;
    for (const QChar c : command) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c.isSpace() && !quoted) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    int i = 0;
    if (i < words.size() && words[i] == QLatin1String("env")) {
        ++i;
        while (i < words.size() && words[i].contains(QLatin1Char('=')))
            ++i;
    }
    return i < words.size() ? words[i] : QString();
}

QString canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString c = info.canonicalFilePath();
    return c.isEmpty() ? info.absoluteFilePath() : c;
}

// True when `command` (a program name or path from a desktop entry) is the
// program at `target`. The file names are compared first, so that PATH is
// searched only for likely entries.
bool startsProgram(const QString& command, const QString& target, const QStringList& targetNames)
{
    const QString program = programOf(command);
    if (program.isEmpty() || !targetNames.contains(QFileInfo(program).fileName()))
        return false;
    const QString found =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    return !found.isEmpty() && canonical(found) == target;
}

bool isUsable(const QIcon& icon)
{
    return !icon.isNull() && !icon.pixmap(PictureSize, PictureSize).isNull();
}

} // namespace

TddgRunButton::TddgRunButton(QWidget* parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    resize(45, 45);
    setIcon(QIcon(CalculatorPicture()));
    connect(this, &QToolButton::clicked, this, guarded(this, &TddgRunButton::Click));
}

bool TddgRunButton::takeCommandLine(const QString& path)
{
    bool taken = false;
    if (FileExists(path)) {
        ErrorGuard::run([this, &path, &taken] {
            setCommandLine(path);
            taken = true;
        });
    }
    return taken;
}

void TddgRunButton::setCommandLine(const QString& path)
{
    if (!IsExecutableFile(path))
        throw std::runtime_error(notExecutableText(path).toStdString());
    if (!FileExists(path))
        throw std::runtime_error(notFoundText(path).toStdString());
    m_commandLine = path;
    // Finding the icon reads the desktop entries; a hidden button waits
    // until it is first shown, so the start-up does not pay for it.
    if (isVisible())
        updateIcon();
}

void TddgRunButton::updateIcon()
{
    if (m_iconFor == m_commandLine)
        return;
    m_iconFor = m_commandLine;
    setIcon(ProgramIcon(m_commandLine));
}

void TddgRunButton::showEvent(QShowEvent* event)
{
    updateIcon();
    QToolButton::showEvent(event);
}

void TddgRunButton::Click()
{
    const quint16 code = RunProgram(m_commandLine);
    if (code != 0)
        throw std::runtime_error(runErrorText(code).toStdString());
}

quint16 TddgRunButton::RunProgram(const QString& path)
{
    if (path.isEmpty())
        return ENOENT;
    // A relative path means the current folder, never a search of PATH.
    const QString program = QFileInfo(path).absoluteFilePath();
    // QProcess tells that a start failed but not the system's reason, so the
    // reasons exec would give are looked for first.
    const QByteArray native = QFile::encodeName(program);
    struct stat status;
    if (::stat(native.constData(), &status) != 0)
        return quint16(errno & 0xFFFF);
    if (S_ISDIR(status.st_mode))
        return EACCES;
    if (::access(native.constData(), X_OK) != 0)
        return quint16(errno & 0xFFFF);

    QProcess process;
    process.setProgram(program);
    process.setArguments({});
    process.setStandardInputFile(QProcess::nullDevice());
    // The program runs on by itself: closing the exam or the application
    // does not close it.
    if (!process.startDetached())
        return ENOEXEC; // what is left: a file the system cannot run
    return 0;
}

bool TddgRunButton::IsExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    // Only the first four characters count, so "calc.exe2" passes too.
    if (extension.left(4).toUpper() == QLatin1String(".EXE"))
        return true;
    return info.isFile() && info.isExecutable();
}

bool TddgRunButton::FileExists(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && !info.isDir();
}

QString TddgRunButton::DesktopIconName(const QString& path)
{
    const QString target = canonical(path);
    const QStringList targetNames{QFileInfo(path).fileName(), QFileInfo(target).fileName()};
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.size() > MaxDesktopEntryBytes || !file.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            QTextStream in(&file);
            bool inEntry = false, match = false;
            QString icon;
            while (!in.atEnd()) {
                const QString line = in.readLine().trimmed();
                if (line.startsWith(QLatin1Char('['))) {
                    inEntry = line == QLatin1String("[Desktop Entry]");
                    continue;
                }
                if (!inEntry)
                    continue;
                const qsizetype eq = line.indexOf(QLatin1Char('='));
                if (eq < 0)
                    continue;
                const QString key = line.left(eq).trimmed();
                const QString value = line.mid(eq + 1).trimmed();
                if (key == QLatin1String("Icon"))
                    icon = value;
                else if (key == QLatin1String("Exec") || key == QLatin1String("TryExec"))
                    match = match || startsProgram(value, target, targetNames);
            }
            if (match && !icon.isEmpty())
                return icon;
        }
    }
    return {};
}

QIcon TddgRunButton::ProgramIcon(const QString& path)
{
    const QString name = DesktopIconName(path);
    if (!name.isEmpty()) {
        const QIcon icon = QFileInfo(name).isAbsolute() ? QIcon(name) : QIcon::fromTheme(name);
        if (isUsable(icon))
            return icon;
    }
    const QIcon themed = QIcon::fromTheme(QStringLiteral("accessories-calculator"));
    if (isUsable(themed))
        return themed;
    return QIcon(CalculatorPicture());
}

QPixmap TddgRunButton::CalculatorPicture()
{
    QPixmap picture(PictureSize, PictureSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // The case.
    QLinearGradient body(0, 0, 0, PictureSize);
    body.setColorAt(0, QColor(98, 104, 112));
    body.setColorAt(1, QColor(52, 56, 62));
    p.setPen(QPen(QColor(34, 36, 40), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(4.5, 0.5, 23, 31), 3, 3);
    // The display.
    p.setPen(QPen(QColor(40, 60, 40), 1));
    p.setBrush(QColor(196, 226, 180));
    p.drawRect(QRectF(7.5, 3.5, 17, 7));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 60, 40));
    p.drawRect(QRect(18, 6, 5, 3));
    // Four rows of keys; the operators in the last column.
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            p.setBrush(col == 3 ? QColor(240, 150, 40) : QColor(228, 228, 228));
            p.drawRect(QRect(8 + col * 4 + (col == 3 ? 1 : 0), 13 + row * 4, 3, 3));
        }
    }
    return picture;
}

QString TddgRunButton::notExecutableText(const QString& path)
{
    return path + QStringLiteral(" is not an executable file.");
}

QString TddgRunButton::notFoundText(const QString& path)
{
    return QStringLiteral("The file: ") + path + QStringLiteral(" cannot be found.");
}

QString TddgRunButton::runErrorText(int code)
{
    return QStringLiteral("Error executing program. Error Code:; ") + QString::number(code);
}

void TddgRunButton::resizeEvent(QResizeEvent* event)
{
    QToolButton::resizeEvent(event);
    // The picture fits inside the button, at most at its own 32 pixels.
    const int side = std::min({PictureSize, width() - 4, height() - 4});
    setIconSize(QSize(std::max(side, 8), std::max(side, 8)));
}
