// The reference for bench_startup: a bare Qt main window with a menu bar,
// built with the program's own flags.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"), &app, &QApplication::quit);
    window.resize(400, 300);
    window.show();
    return app.exec();
}
