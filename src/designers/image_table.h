#pragma once
// The display images: pictures converted to the controller's monochrome bitmap, and the image table
// editor without its window.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/designer_data.h"
#include "designers/designer_edits.h"

constexpr int MaxImageBytes = 529;
constexpr int MaxImages = 255;
constexpr int MaxImageSide = 255;   // pixels of width and of height
constexpr int ImageHeaderBytes = 2; // width, height in pixels

// A picture reduced to dark and light pixels, row by row from the top.
struct MonoPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> dark; // width * height entries, non-zero for a dark pixel
    bool operator==(const MonoPicture&) const = default;
};

// Bytes of the bitmap: width, height, then each row from the top in whole bytes, the leftmost pixel in
// the most significant bit, 1 for a dark pixel.
int64_t bitmapBytes(int width, int height);
std::vector<uint8_t> monochromeBitmap(const MonoPicture& picture);
// The picture a stored bitmap shows; empty when its bytes do not hold one.
MonoPicture bitmapPicture(const DisplayImage& image);

void clearImages(ImageTable& table);

class ImageEditor {
  public:
    ImageEditor(ImageTable& table, int16_t& modified, UserDialogs& dialogs)
        : table_(table), edits_{modified, dialogs} {}

    int count() const { return std::min<int>(table_.Count, int(table_.Images.size())); }
    const DisplayImage& image(int i) const { return table_.Images[size_t(i)]; }
    std::string imageLine(int i) const;

    // Appends the picture under name; the new image's index, -1 when refused (with a message).
    int addImage(const std::string& name, const MonoPicture& picture);
    // The image to select afterwards, -1 for none.
    int removeImage(int i);

  private:
    ImageTable& table_;
    DesignerEdits edits_;
};
