#pragma once

#include <QIcon>
#include <QToolButton>

// A flat picture button that starts the program named by CommandLine and
// shows that program's icon. Without a program it shows a calculator.
class TddgRunButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TddgRunButton(QWidget* parent = nullptr);

    QString CommandLine() const { return m_commandLine; }
    // Takes `path` as the program to run and its icon as the picture. Raises
    // std::runtime_error for a path that is not an executable file or names
    // no file; the button then keeps its program and picture.
    void setCommandLine(const QString& path);
    // Takes `path` if it names a program that can be run; a missing file is
    // no error, one that cannot be run is reported. False if it was not taken.
    bool takeCommandLine(const QString& path);

    // Starts the program at `path` on its own, without arguments, and
    // returns 0, or the system's error number (its low 16 bits).
    static quint16 RunProgram(const QString& path);
    // A regular file with the execute permission, or a name whose extension
    // begins with ".EXE" in any letter case.
    static bool IsExecutableFile(const QString& path);
    // A file (not a folder) exists at `path`.
    static bool FileExists(const QString& path);

    // The picture for a program: its desktop entry's icon, the theme's
    // calculator icon, or the built-in calculator.
    static QIcon ProgramIcon(const QString& path);
    // The built-in 32 x 32 calculator picture.
    static QPixmap CalculatorPicture();
    // The icon name given by the desktop entry that starts `path`; empty
    // when none does.
    static QString DesktopIconName(const QString& path);

    static QString notExecutableText(const QString& path);
    static QString notFoundText(const QString& path);
    static QString runErrorText(int code);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Runs the program; raises std::runtime_error when it cannot be started.
    void Click();
    void updateIcon();

    QString m_commandLine;
    QString m_iconFor; // the program the icon shown was looked up for
};
