#include "ui/widgets/ErrorGuard.h"

#include "ui/widgets/Dialogs.h"

#include <QApplication>
#include <exception>

namespace ErrorGuard {

void run(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        Dialogs::error(QApplication::activeWindow(), QString::fromStdString(e.what()));
    }
}

} // namespace ErrorGuard
