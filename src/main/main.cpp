#include <QApplication>

#include "app/ui/program_instance.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ProgramInstance program;
    program.window->show();
    return app.exec();
}
