#include "ui/app/Application.h"

#include "ui/app/ProgramIcon.h"
#include "ui/widgets/Dialogs.h"

#include <QFont>
#include <QWidget>
#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // Every window carries the icon of the desktop entry.
    setWindowIcon(ProgramIcon::icon());
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Dialogs::error(activeWindow(), QString::fromStdString(e.what()));
    }
    return false;
}

void Application::installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
}

QWidget* Application::RunningWindow()
{
    // The window the candidate works in: the top visible one, a modal one
    // first. A popup or tool tip is no such window. (Qt::Popup carries the
    // Qt::Window bit, so the type is compared, not tested bit by bit.)
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (!w->isVisible() || type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
            continue;
        if (!window || w->windowModality() != Qt::NonModal)
            window = w;
    }
    return window;
}

void Application::BringRunningInstanceToFront()
{
    QWidget* window = RunningWindow();
    if (!window)
        return;
    // Restored to the state it had before (a maximised exam window stays maximised).
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
    QWidget* popup = QApplication::activeModalWidget();
    if (popup && popup != window && popup->isVisible() && popup->isEnabled()) {
        popup->raise();
        popup->activateWindow();
    }
}
