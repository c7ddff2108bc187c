#include "Application.h"
#include "CreateForms.h"
#include "InstanceLock.h"
#include "TMainForm.h"

#include <memory>

int main(int argc, char** argv)
{
    InstanceLock instance(InstanceLock::lockNameFor(QString::fromLocal8Bit(argc > 0 ? argv[0] : "velarix")));
    const bool FirstInstance = instance.tryLock();

    Application app(argc, argv);
    if (!FirstInstance) {
        instance.wakeRunning();
        return 0;
    }
    QCoreApplication::setApplicationName(QStringLiteral("Velarix 2.0"));
    Application::installFontSubstitutions();
    instance.listen();
    QObject::connect(&instance, &InstanceLock::activateRequested, &app,
                     &Application::BringRunningInstanceToFront);

    // The start window first: it sets the working folder.
    auto mainForm = std::make_unique<TMainForm>();
    MainForm = mainForm.get();
    createForms();

    MainForm->show();
    const int result = app.exec();
    Q_UNUSED(result);
    destroyForms();
    return 0;
}
