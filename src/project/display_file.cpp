// ".dsp": the display pages.
#include <algorithm>

#include "project/item_writer.h"
#include "project/project_files.h"

namespace {

constexpr int CountedObjectItems = 18; // the counted layout drops b - 18 items after the 19 of an object

// Items 1..19; the alternative-text flag (item 20) only exists in the tagged layout.
void readObject(ItemReader& in, DisplayObject& o, bool withAltTextFlag) {
    in.byte(o.TypeCode);
    in.byte(o.X);
    in.byte(o.Y);
    in.byte(o.SizeX);
    in.byte(o.SizeY);
    in.byte(o.LineThickness);
    in.text(o.Text);
    in.text(o.AltText);
    in.integer(o.Register);
    in.byte(o.RegisterValueType);
    in.integer(o.Bit);
    in.dbl(o.Maximum);
    in.dbl(o.Minimum);
    in.byte(o.PictureOn);
    in.byte(o.PictureOff);
    in.flag(o.Reverse);
    in.flag(o.FirstOption);
    in.flag(o.SecondOption);
    in.flag(o.Direction);
    if (withAltTextFlag) in.flag(o.AltTextFlag);
}

void writeObject(ItemWriter& out, const DisplayObject& o) {
    out.tag("<OBJ>");
    for (uint8_t b : {o.TypeCode, o.X, o.Y, o.SizeX, o.SizeY, o.LineThickness})
        out.number(b);
    out.text(o.Text);
    out.text(o.AltText);
    out.number(o.Register);
    out.number(o.RegisterValueType);
    out.number(o.Bit);
    out.dbl(o.Maximum);
    out.dbl(o.Minimum);
    out.number(o.PictureOn);
    out.number(o.PictureOff);
    for (int16_t f : {o.Reverse, o.FirstOption, o.SecondOption, o.Direction, o.AltTextFlag})
        out.flag(f);
    out.tag("</OBJ>");
}

// Counts what a file holds beyond the arrays, so the load can say what it dropped.
struct Excess {
    int64_t pages = 0, objects = 0;
    void report(LoadReport& r) const {
        r.noteDropped(".dsp", "page(s)", pages, MaxDisplayPages);
        r.noteDropped(".dsp", "object(s)", objects, MaxPageObjects);
    }
};

// The object slot for page p, object o; a scratch object when either lies beyond the arrays.
DisplayObject& objectSlot(DisplayPageArray& pages, int p, int o, DisplayObject& scratch) {
    if (p < 0 || p >= MaxDisplayPages || o < 1 || o > MaxPageObjects) return scratch;
    return pages.Pages[static_cast<size_t>(p)].Objects[static_cast<size_t>(o)];
}

void setObjectCount(DisplayPageArray& pages, int p, int objects, Excess& excess) {
    if (p < 0 || p >= MaxDisplayPages) return;
    excess.objects += std::max(0, objects - MaxPageObjects);
    pages.Pages[static_cast<size_t>(p)].ObjectCount = static_cast<uint8_t>(std::min(objects, MaxPageObjects));
}

void readTagged(ItemReader& in, DisplayPageArray& pages, Excess& excess) {
    int page = -1;
    int object = 0;
    bool pageOpen = false;
    DisplayObject scratch;
    while (auto item = in.next()) {
        if (*item == "<PAG>") {
            if (pageOpen) setObjectCount(pages, page, object, excess); // a page whose closing tag is missing
            ++page;
            object = 0;
            pageOpen = true;
        } else if (*item == "<OBJ>" && pageOpen) {
            ++object;
            readObject(in, objectSlot(pages, page, object, scratch), true);
            if (!in.skipTo("</OBJ>")) in.truncated = true;
        } else if (*item == "</PAG>" && pageOpen) {
            setObjectCount(pages, page, object, excess);
            pageOpen = false;
        } else {
            ++in.skipped;
        }
    }
    if (pageOpen) {
        in.truncated = true;
        setObjectCount(pages, page, object, excess);
    }
    excess.pages = std::max(0, page + 1 - MaxDisplayPages);
    pages.Count = static_cast<uint8_t>(std::min(page + 1, MaxDisplayPages));
}

void readCounted(ItemReader& in, int32_t recordLength, DisplayPageArray& pages, Excess& excess) {
    uint8_t count = pages.Count;
    in.byte(count);
    excess.pages = std::max(0, count - MaxDisplayPages);
    pages.Count = static_cast<uint8_t>(std::min<int>(count, MaxDisplayPages));
    DisplayObject scratch;
    for (int p = 0; p < count && !in.atEnd(); ++p) {
        uint8_t objects = 0;
        in.byte(objects);
        setObjectCount(pages, p, objects, excess);
        for (int o = 1; o <= objects; ++o) {
            readObject(in, objectSlot(pages, p, o, scratch), false);
            in.skip(static_cast<int64_t>(recordLength) - CountedObjectItems);
        }
    }
}

} // namespace

std::string writeDisplayFile(const DisplayPageArray& pages) {
    ItemWriter out;
    int count = std::min<int>(pages.Count, MaxDisplayPages);
    for (int p = 0; p < count; ++p) {
        const DisplayPage& page = pages.Pages[static_cast<size_t>(p)];
        out.tag("<PAG>");
        int objects = std::min<int>(page.ObjectCount, MaxPageObjects);
        for (int o = 1; o <= objects; ++o)
            writeObject(out, page.Objects[static_cast<size_t>(o)]);
        out.tag("</PAG>");
    }
    return out.contents();
}

void readDisplayFile(std::string_view data, const SetLayout& layout, DisplayPageArray& pages,
                     LoadReport& report) {
    ItemReader in(data, layout.mode());
    Excess excess;
    if (layout.tagged)
        readTagged(in, pages, excess);
    else
        readCounted(in, layout.recordLength, pages, excess);
    excess.report(report);
    report.noteItems(".dsp", in);
}
