#pragma once
// Fixed geometry (twips) and colours of the program view's rows and window.
#include <cstdint>

namespace row_layout {

constexpr int RowTopMargin = 200; // top of the first visible row inside the section container
constexpr int FullPitch = 1800;
constexpr int CompactPitch = 565;
constexpr int FullPanelHeight = 1516;
constexpr int CompactPanelHeight = 400;
constexpr int FrameMargin = 60; // the frame extends this far beyond the panel on every side
constexpr int PanelLeft = 120;
constexpr int PanelWidth = 7395;
constexpr int FrameLeft = 60;
constexpr int FrameWidth = 7515;

// Colours as 0x00BBGGRR; the button face is the system colour 15 as the window scheme gives it.
constexpr uint32_t SystemButtonFace = 0x8000000F;
constexpr uint32_t Red = 0x000000FF;
constexpr uint32_t LightGrey = 0x00E0E0E0;

// Bitmap resources of the format button: switch to full rows (magnifier +), to compact rows (magnifier -).
constexpr int FormatToFullPicture = 129;
constexpr int FormatToCompactPicture = 130;

// Design geometry of the window's controls.
constexpr int TabWidth = 8235;
constexpr int TabHeight = 6375;
constexpr int ContainerHeight = 5355;

// Boxes of the row controls, relative to the row panel.
struct Box {
    int x, y, w, h;
    constexpr bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};
constexpr Box NumberBox{0, 0, 375, 255};
constexpr Box LabelBox{360, 0, 795, 255};
constexpr Box FunctionBox{1140, 0, 1455, 255};
constexpr Box SummaryBox{2580, 0, 4455, 255};
constexpr Box BreakBox{7080, 60, 195, 195};
constexpr Box PictureBox{3060, 360, 900, 750};
constexpr Box DescriptionBox{60, 1200, 4815, 225};
// Argument slot i: captions 0..3 left of the picture and 4..7 right of it, values beside the picture.
constexpr Box captionBox(int i) {
    return i < 4 ? Box{0, 360 + 180 * i, 2235, 195} : Box{4800, 360 + 180 * (i - 4), 2295, 195};
}
constexpr Box valueBox(int i) {
    return i < 4 ? Box{2280, 360 + 180 * i, 795, 195} : Box{3960, 360 + 180 * (i - 4), 795, 195};
}

} // namespace row_layout
