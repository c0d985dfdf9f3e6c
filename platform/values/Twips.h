#pragma once
// Window geometry in twips: 15 twips per pixel at 96 dpi.
#include <QSize>

namespace vb {

inline constexpr int TwipsPerPixel = 15;
inline constexpr int pixelsToTwips(int px)
{
    return px * TwipsPerPixel;
}
int twipsToPixels(int twips); // rounded to the nearest pixel
QSize screenSizeTwips();      // primary screen's full size, as VB's Screen.Width/Height; 0x0 without a screen

} // namespace vb
