#include "app/ui/picture_list.h"

#include <QFile>

#include "core/toolbar_layout.h"

void PictureList::CaricaImmagini() {
    for (auto key : PictureKeys) {
        QString k = QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
        QString path = ":/pictures/" + k + ".svg";
        if (QFile::exists(path)) pictures_.insert(k, QIcon(path)); // a missing picture is left out
    }
}

QIcon applicationIcon() {
    return QIcon(":/pictures/melqo.svg");
}
