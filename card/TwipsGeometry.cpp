#include "card/TwipsGeometry.h"

#include "platform/values/Twips.h"
#include <QWidget>

namespace TwipsGeometry {

using vb::pixelsToTwips;
using vb::twipsToPixels;

int Left(const QWidget* w)
{
    return pixelsToTwips(w->isWindow() ? w->frameGeometry().x() : w->x());
}

int Top(const QWidget* w)
{
    return pixelsToTwips(w->isWindow() ? w->frameGeometry().y() : w->y());
}

int Width(const QWidget* w)
{
    return pixelsToTwips(w->width());
}

int Height(const QWidget* w)
{
    return pixelsToTwips(w->height());
}

void setLeft(QWidget* w, int twips)
{
    w->move(twipsToPixels(twips), w->y());
}

void setTop(QWidget* w, int twips)
{
    w->move(w->x(), twipsToPixels(twips));
}

void setWidth(QWidget* w, int twips)
{
    w->resize(qMax(0, twipsToPixels(twips)), w->height());
}

void setHeight(QWidget* w, int twips)
{
    w->resize(w->width(), qMax(0, twipsToPixels(twips)));
}

void move(QWidget* w, int left, int top, int width, int height)
{
    w->move(twipsToPixels(left), twipsToPixels(top));
    w->resize(twipsToPixels(width), twipsToPixels(height));
}

} // namespace TwipsGeometry
