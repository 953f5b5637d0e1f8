#include <QApplication>

#include "app/shell_state.h"
#include "app/ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ShellState shell;
    MainWindow window(shell);
    window.setWindowTitle("Melqo");
    window.show();
    return app.exec();
}
