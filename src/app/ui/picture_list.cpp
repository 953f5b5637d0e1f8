#include "app/ui/picture_list.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "core/toolbar_layout.h"

namespace {

constexpr int PictureSize = 16;

QString picturePath(const QString& key) {
    return ":/pictures/" + key + ".svg";
}

// One reading of the drawing, rendered at each size at the screen's pixel density. Drawn here rather
// than by the icon engine plug-in, whose loading costs start-up more than the drawing.
QIcon draw(const QString& path, std::initializer_list<int> sizes) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return {};
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QIcon icon;
    for (int size : sizes) {
        QPixmap pixmap(QSize(size, size) * ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        pixmap.setDevicePixelRatio(ratio);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

void PictureList::CaricaImmagini() {
    for (auto key : PictureKeys) {
        QString k = QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
        if (QFile::exists(picturePath(k))) keys_.insert(k); // a missing picture is left out
    }
}

QIcon PictureList::picture(const QString& key) const {
    if (!keys_.contains(key)) return {};
    auto it = drawn_.find(key);
    if (it == drawn_.end()) it = drawn_.insert(key, draw(picturePath(key), {PictureSize}));
    return *it;
}

QIcon applicationIcon() {
    return draw(picturePath("melqo"), {16, 32, 48});
}
