// The references of the start-up benchmark, a program that links Qt Widgets alone: "bare" shows an
// empty main window; "text" one with what any program's main window shows, a menu bar with a menu, a
// toolbar with a key and a status bar with a text. Both are the program's window size.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <unistd.h>

#include <cstring>

#include "paint_probe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Melqo");
    window.resize(1067, 867);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0) {
        window.menuBar()->addMenu("Project")->addAction("Open...");
        window.addToolBar("Tools")->addAction("Open");
        window.statusBar()->showMessage("Ready");
    }
    PaintProbe probe(&window);
    window.show();
    app.exec();
    _exit(probe.report());
}
