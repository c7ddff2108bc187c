#include "Application.h"

#include "ProgramIcon.h"
#include "widgets/Dialogs.h"

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

void Application::BringRunningInstanceToFront()
{
    // The window the candidate works in: the top visible one.
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->isWindow() && !(w->windowFlags() & Qt::Popup) &&
            (!window || w->windowModality() != Qt::NonModal))
            window = w;
    }
    if (!window)
        return;
    if (window->isMinimized()) {
        window->showNormal();
        return;
    }
    window->raise();
    window->activateWindow();
    QWidget* popup = QApplication::activeModalWidget();
    if (popup && popup != window && popup->isVisible() && popup->isEnabled()) {
        popup->raise();
        popup->activateWindow();
    }
}
