#include "designers/image_table.h"

#include <algorithm>

namespace {

int rowBytes(int width) {
    return (width + 7) / 8;
}

} // namespace

int64_t bitmapBytes(int width, int height) {
    return ImageHeaderBytes + int64_t(rowBytes(width)) * height;
}

std::vector<uint8_t> monochromeBitmap(const MonoPicture& p) {
    std::vector<uint8_t> bytes(size_t(bitmapBytes(p.width, p.height)), 0);
    bytes[0] = static_cast<uint8_t>(p.width);
    bytes[1] = static_cast<uint8_t>(p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.dark[size_t(y * p.width + x)])
                bytes[size_t(ImageHeaderBytes + y * rowBytes(p.width) + x / 8)] |= uint8_t(0x80 >> (x % 8));
    return bytes;
}

MonoPicture bitmapPicture(const DisplayImage& image) {
    if (image.ByteCount < ImageHeaderBytes || image.ByteCount > MaxImageBytes) return {};
    MonoPicture p{image.Bitmap[0], image.Bitmap[1], {}};
    if (bitmapBytes(p.width, p.height) > image.ByteCount) return {};
    p.dark.resize(size_t(p.width * p.height));
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.dark[size_t(y * p.width + x)] =
                (image.Bitmap[size_t(ImageHeaderBytes + y * rowBytes(p.width) + x / 8)] >> (7 - x % 8)) & 1;
    return p;
}

void clearImages(ImageTable& table) {
    table.Count = 0;
    table.Images.clear();
}

std::string ImageEditor::imageLine(int i) const {
    const DisplayImage& im = image(i);
    return std::to_string(i) + ": " + im.Name + " (" + std::to_string(im.ByteCount) + " bytes)";
}

int ImageEditor::addImage(const std::string& name, const MonoPicture& picture) {
    if (count() >= MaxImages)
        return edits_.refuse("The image table holds at most " + std::to_string(MaxImages) + " images."), -1;
    if (picture.width < 1 || picture.height < 1 || picture.width > MaxImageSide ||
        picture.height > MaxImageSide)
        return edits_.refuse("An image may be at most 255 pixels wide and 255 pixels high."), -1;
    if (int64_t bytes = bitmapBytes(picture.width, picture.height); bytes > MaxImageBytes)
        return edits_.refuse("The image needs " + std::to_string(bytes) +
                             " bytes; an image may hold at most " + std::to_string(MaxImageBytes) +
                             " bytes."),
               -1;
    DisplayImage im;
    // The name is stored as a text item of the image file.
    std::remove_copy_if(name.begin(), name.end(), std::back_inserter(im.Name),
                        [](char c) { return !storableText(std::string_view(&c, 1)); });
    std::vector<uint8_t> bytes = monochromeBitmap(picture);
    std::copy(bytes.begin(), bytes.end(), im.Bitmap.begin());
    im.ByteCount = static_cast<int16_t>(bytes.size());
    table_.Images.resize(size_t(count()));
    table_.Images.push_back(std::move(im));
    table_.Count = static_cast<uint8_t>(table_.Images.size());
    edits_.stored();
    return count() - 1;
}

int ImageEditor::removeImage(int i) {
    if (i < 0 || i >= count()) return -1;
    table_.Images.erase(table_.Images.begin() + i);
    table_.Count = static_cast<uint8_t>(std::min<size_t>(table_.Images.size(), MaxImages));
    edits_.stored();
    return std::min(i, count() - 1);
}
