#pragma once
// Windows open at a usable size inside the main window's area. Every window of the program is a child of
// the main window: MDI sub-windows live in its MDI area, dialogs are centred on it. A window whose design
// size does not fit is scaled down to the area; content of fixed size scrolls inside it.
#include <QSize>
#include <Qt>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Title bar and close button only: no minimise or maximise buttons.
inline constexpr Qt::WindowFlags DialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// `wanted` scaled down, side by side, so that it fits `room`; never below 1 x 1.
QSize fittedSize(QSize wanted, QSize room);

// Sizes `sub` to `wanted` (its content's size hint when empty) scaled down to its MDI area, and moves it
// so that it lies wholly inside the area, keeping its place where it can.
void fitSubWindow(QMdiSubWindow* sub, QSize wanted = {});

// Keeps `sub` at its own size, scaled down to its MDI area, and moves it so that it lies wholly inside.
void keepInsideArea(QMdiSubWindow* sub);

// Adds `content` to `area` as a fitted sub-window. Content that cannot shrink to the area (a fixed or
// minimum size larger than it) is put in a scroll area first, so every part of it stays reachable.
QMdiSubWindow* addFittedSubWindow(QMdiArea* area, QWidget* content, QSize wanted = {});

// A sub-window that closing only hides, for the whole run. Its close box closes (hides) the content too,
// so each time the frame is shown again its content is shown with it: it reopens whole.
void keepOnClose(QMdiSubWindow* sub);

// The sub-window `w` lies in, through any scroll area; nullptr for a window of its own.
QMdiSubWindow* subWindowOf(const QWidget* w);

// The content a sub-window shows, looking through the scroll area addFittedSubWindow may have added.
QWidget* subWindowContent(const QMdiSubWindow* sub);

// A dialog (a top-level child window of the main window) at `wanted` (its size hint when empty) scaled
// down to `host`'s area and centred on it.
void fitDialog(QWidget* dialog, const QWidget* host, QSize wanted = {});
