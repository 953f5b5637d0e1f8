#include "program/display_images.h"

#include <algorithm>

#include "program/compile_job.h"

namespace {

constexpr int PageBytes = 34;

// Below the lookup-table pages when there are tables, else the end of the program area.
int64_t imageTop(const CompileJob& job) {
    int tables = std::min<int>(job.project.Tables.Count, MaxLookupTables);
    if (tables == 0) return job.model.ProgramCapacity;
    int64_t lastPage = job.project.Tables.Tables[static_cast<size_t>(tables - 1)].StartPage;
    return job.state.DataStart + (lastPage - 1) * PageBytes - 1;
}

} // namespace

std::optional<int64_t> placeImages(CompileJob& job) {
    ImageTable& table = job.project.Images;
    size_t count = std::min<size_t>(table.Count, table.Images.size());
    int64_t cursor = imageTop(job);
    for (size_t i = 0; i < count; ++i) {
        DisplayImage& im = table.Images[i];
        int64_t bytes = im.ByteCount;
        if (bytes < 0 || bytes > static_cast<int64_t>(im.Bitmap.size())) return std::nullopt;
        cursor -= bytes;
        if (cursor < 0 || cursor + bytes > job.model.ProgramCapacity) return std::nullopt;
        im.DeviceAddress = static_cast<uint16_t>(cursor);
        std::copy_n(im.Bitmap.begin(), bytes, job.image().begin() + cursor);
    }
    return cursor;
}
