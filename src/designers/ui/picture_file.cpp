#include "designers/ui/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "core/file_read.h"
#include "designers/png_chunks.h"

namespace {

// Larger than any image may be: such a picture comes with its size only, which the image table refuses.
std::optional<MonoPicture> sizeOnlyWhenTooLarge(QSize size) {
    // A bitmap stored top-down declares a negative height.
    const int64_t width = std::abs(int64_t{size.width()}), height = std::abs(int64_t{size.height()});
    if (width <= MaxImageSide && height <= MaxImageSide) return std::nullopt;
    return MonoPicture{int(std::min<int64_t>(width, INT_MAX)), int(std::min<int64_t>(height, INT_MAX)), {}};
}

std::optional<MonoPicture> refuse(std::string* reason, const char* why) {
    if (reason) *reason = why;
    return std::nullopt;
}

} // namespace

std::optional<MonoPicture> readMonoPicture(const std::string& path, std::string* reason) {
    const std::optional<std::string> bytes = ReadUserFile(path, reason);
    if (!bytes) return std::nullopt;
    if (!PngChunksFitFile(*bytes))
        return refuse(reason, "a part of the file declares more bytes than it holds");
    QByteArray data = QByteArray::fromRawData(bytes->data(), qsizetype(bytes->size()));
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device);
    // Judged by the size the file declares first, so that a small file that declares a huge picture does
    // not make the import decode and hold all its pixels before it is refused.
    if (auto tooLarge = sizeOnlyWhenTooLarge(reader.size())) return tooLarge;
    QImage image;
    if (!reader.read(&image)) return refuse(reason, "not a PNG or BMP picture");
    if (auto tooLarge = sizeOnlyWhenTooLarge(image.size())) return tooLarge;
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
