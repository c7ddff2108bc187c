#include "ui/app/Application.h"
#include "ui/app/CommandLine.h"
#include "ui/app/InstanceLock.h"
#include "ui/app/ProgramWindows.h"
#include "ui/app/TMainForm.h"

#include "core/store/DataFolder.h"

#include <QDir>

int main(int argc, char** argv)
{
    if (const int answered = CommandLine::answerInfoOptions(argc, argv); answered >= 0)
        return answered;
    InstanceLock instance(InstanceLock::lockNameFor(QString::fromLocal8Bit(argc > 0 ? argv[0] : "velarix")));
    const bool FirstInstance = instance.tryLock();

    Application app(argc, argv);
    if (!FirstInstance) {
        instance.wakeRunning();
        return 0;
    }
    QCoreApplication::setApplicationName(QStringLiteral("Velarix 2.0"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELARIX_VERSION));
    // A Wayland desktop matches the window to its menu entry and icon by this.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(CommandLine::DesktopFileName));
    Application::installFontSubstitutions();
    instance.listen();
    QObject::connect(&instance, &InstanceLock::activateRequested, &app,
                     &Application::BringRunningInstanceToFront);

    // The bank and the exhibits are named relative to the folder of what ships.
    QDir::setCurrent(DataFolder::shipped());
    ProgramWindows windows;
    TMainForm mainForm(windows);
    mainForm.show();
    app.exec();
    return 0;
}
