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

} // namespace row_layout
