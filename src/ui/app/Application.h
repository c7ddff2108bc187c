#pragma once

#include <QApplication>

// The program's application object. An error that escapes an event handler
// still ends in the standard error box here instead of ending the program.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The fonts the windows name, mapped to the fonts this system has.
    static void installFontSubstitutions();
    // Brings the running copy's window to the front: restores it when
    // minimised, and raises its active modal dialog when it has one.
    static void BringRunningInstanceToFront();
    // The window BringRunningInstanceToFront brings up; none when no window shows.
    static QWidget* RunningWindow();
};
