#include "app/ui/picture_list.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include "app/ui/rendered_pictures.h"
#include "core/toolbar_layout.h"

#include <algorithm>

namespace {

constexpr int PictureSize = 16;

QString picturePath(const QString& key) {
    return ":/pictures/" + key + ".svg";
}

// The picture as drawn when the program was built, when the screen shows one pixel per pixel.
QIcon rendered(const QString& key, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes) {
        const auto* end = RenderedPictures + RenderedPictureCount;
        const auto* p = std::find_if(RenderedPictures, end, [&](const RenderedPicture& r) {
            return r.Size == size && key == QLatin1StringView(r.Key);
        });
        if (p == end) return {};
        const QImage image(reinterpret_cast<const uchar*>(p->Pixels), size, size,
                           QImage::Format_ARGB32_Premultiplied);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

// One reading of the drawing, rendered at each size at the screen's pixel density. Drawn here rather
// than by the icon engine plug-in, whose loading costs start-up more than the drawing.
QIcon draw(const QString& key, std::initializer_list<int> sizes) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    if (ratio == 1.0)
        if (QIcon icon = rendered(key, sizes); !icon.isNull()) return icon;
    QSvgRenderer renderer(picturePath(key));
    if (!renderer.isValid()) return {};
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
    if (it == drawn_.end()) it = drawn_.insert(key, draw(key, {PictureSize}));
    return *it;
}

QIcon applicationIcon() {
    return draw("melqo", {16, 32, 48});
}
