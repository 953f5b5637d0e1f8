// ".img": the display images, written whenever the set is saved.
#include <algorithm>

#include "designers/image_table.h"
#include "project/item_writer.h"
#include "project/project_files.h"

std::string writeImageFile(const ImageTable& images) {
    ItemWriter out;
    size_t count = std::min<size_t>(images.Count, images.Images.size());
    for (size_t i = 0; i < count; ++i) {
        const DisplayImage& im = images.Images[i];
        int bytes = std::clamp<int>(im.ByteCount, 0, MaxImageBytes);
        out.tag("<IMG>");
        out.text(im.Name);
        out.number(bytes);
        for (int k = 0; k < bytes; ++k)
            out.number(im.Bitmap[size_t(k)]);
        out.tag("</IMG>");
    }
    return out.contents();
}

void readImageFile(std::string_view data, ImageTable& images, LoadReport& report) {
    ItemReader in(data, ItemMode::Lines);
    clearImages(images);
    int64_t found = 0;
    while (auto item = in.next()) {
        if (*item != "<IMG>") {
            ++in.skipped;
            continue;
        }
        ++found;
        DisplayImage im;
        in.text(im.Name);
        in.integer(im.ByteCount);
        if (im.ByteCount < 0 || im.ByteCount > MaxImageBytes) {
            report.add(".img: image " + std::to_string(found) + " counts " + std::to_string(im.ByteCount) +
                       " bytes, beyond " + std::to_string(MaxImageBytes) + "; dropped");
            im.ByteCount = 0;
        }
        for (int k = 0; k < im.ByteCount; ++k)
            in.byte(im.Bitmap[size_t(k)]);
        if (!in.skipTo("</IMG>")) in.truncated = true;
        if (images.Images.size() < MaxImages) images.Images.push_back(std::move(im));
    }
    report.noteDropped(".img", "image(s)", found - MaxImages, MaxImages);
    images.Count = static_cast<uint8_t>(images.Images.size());
    report.noteItems(".img", in);
}
