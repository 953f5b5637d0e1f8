#include "designers/ui/picture_file.h"

#include <QColor>
#include <QImage>
#include <QString>

std::optional<MonoPicture> readMonoPicture(const std::string& path) {
    QImage image;
    if (!image.load(QString::fromLocal8Bit(path.c_str()))) return std::nullopt;
    image = image.convertToFormat(QImage::Format_ARGB32);
    MonoPicture p{image.width(), image.height(), {}};
    p.dark.reserve(size_t(p.width) * size_t(p.height));
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            QRgb c = image.pixel(x, y);
            p.dark.push_back(qAlpha(c) >= 128 && qGray(c) < 128 ? 1 : 0);
        }
    return p;
}
