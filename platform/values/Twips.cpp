#include "platform/values/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace vb {

int twipsToPixels(int twips)
{
    return int(std::lround(double(twips) / TwipsPerPixel));
}

QSize screenSizeTwips()
{
    // primaryScreen() needs a GUI application; a console tool has none.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {0, 0};
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {0, 0};
    const QSize px = screen->geometry().size();
    return {pixelsToTwips(px.width()), pixelsToTwips(px.height())};
}

} // namespace vb
