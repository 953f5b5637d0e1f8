#include "platform/app_data_folder.h"

#include <QDir>
#include <QStandardPaths>

std::string GetLocalAppDataFolder() {
    QString path = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (path.isEmpty() || !QDir().mkpath(path)) return {};
    return QDir(path).absolutePath().toStdString();
}
