#pragma once
// The one QCoreApplication of a test binary that talks through Qt sockets and serial ports.
#include <QCoreApplication>

inline QCoreApplication& QtTestApp() {
    if (auto* existing = QCoreApplication::instance()) return *existing;
    static int argc = 1;
    static char name[] = "melqo_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}
