// Placing the main window on its screen: fully inside the available area, frame included.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// The client rectangle (px) of a window that wants clientSize, cannot shrink below
// minimumClient and has the given frame margins (title bar and borders), on a screen whose
// free area is available: shrunk where the frame would not fit, centred, and moved so the
// frame's top-left lies inside the area (title bar, menu and the first controls always
// reachable). When even the minimum does not fit, the frame keeps to the top-left corner.
QRect FittedClientRect(QSize clientSize, QSize minimumClient, QMargins frame, QRect available);

// Fits window to its screen now and again whenever the window manager reports new frame
// margins (they are known only once the frame exists). Lowers the window's minimum size to
// the screen when the screen is smaller, so the window never extends past it; the controls
// then scroll. Call before the window is first shown.
void FitToScreen(QWidget& window);

// The client rectangle of a tool window of clientSize (frame margins frame) beside the main
// window whose frame is mainFrame: right of it where the whole frame fits into available,
// else left of it, else on the side with more room, overlapping the main window. Top-aligned
// with the main window; always inside available (shrunk to it when larger).
QRect BesideClientRect(QRect mainFrame, QSize clientSize, QMargins frame, QRect available);

// Places tool, not yet shown, beside window within the available area of window's screen.
void PlaceBeside(QWidget& tool, const QWidget& window);
