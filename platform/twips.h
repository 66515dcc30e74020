#pragma once

#include "platform/units.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <cmath>

namespace qm {

/// Twips per pixel on screen: 1440 / the screen's logical DPI (15 at 96 DPI).
inline double screenTwipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? TwipsPerInch / dpi : 15.0;
}

inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / screenTwipsPerPixel()));
}

inline double pixelsToTwips(double pixels)
{
    return pixels * screenTwipsPerPixel();
}

/// A control's place from its Left, Top, Width, Height in twips.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace qm
