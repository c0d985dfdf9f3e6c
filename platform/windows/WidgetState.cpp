#include "platform/windows/WidgetState.h"

#include "platform/windows/WindowServices.h"
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace platform::widgetstate {

namespace {

constexpr char PointerProperty[] = "vbMousePointer";
int screenPointer = pointer::Default;

Qt::CursorShape shapeOf(int vbPointer)
{
    switch (vbPointer) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case pointer::Hourglass:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    case 15:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

void setMousePointer(QWidget* window, int vbPointer)
{
    if (!window) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        if (vbPointer != pointer::Default)
            QGuiApplication::setOverrideCursor(QCursor(shapeOf(vbPointer)));
        screenPointer = vbPointer;
        return;
    }
    window->setProperty(PointerProperty, vbPointer);
    if (vbPointer == pointer::Default)
        window->unsetCursor();
    else
        window->setCursor(shapeOf(vbPointer));
}

int mousePointer(QWidget* window)
{
    if (!window)
        return screenPointer;
    const QVariant v = window->property(PointerProperty);
    return v.isValid() ? v.toInt() : pointer::Default;
}

void setWindowState(QWidget* window, int state)
{
    if (!window)
        return;
    Qt::WindowStates s = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == windowstate::Minimized)
        s |= Qt::WindowMinimized;
    else if (state == windowstate::Maximized)
        s |= Qt::WindowMaximized;
    window->setWindowState(s);
}

int windowState(QWidget* window)
{
    if (!window)
        return windowstate::Normal;
    const Qt::WindowStates s = window->windowState();
    if (s & Qt::WindowMinimized)
        return windowstate::Minimized;
    if (s & Qt::WindowMaximized)
        return windowstate::Maximized;
    return windowstate::Normal;
}

void repaint(QWidget* window)
{
    if (window && window->isVisible())
        window->repaint();
}

void keepOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The title bar and borders count too, once the desktop has put them on.
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize size = window->size().boundedTo(area.size() - frame).expandedTo(window->minimumSize());
    if (size != window->size())
        window->resize(size);
    const QSize whole = size + frame;
    const int x = qBound(area.left(), window->x(), qMax(area.left(), area.right() + 1 - whole.width()));
    const int y = qBound(area.top(), window->y(), qMax(area.top(), area.bottom() + 1 - whole.height()));
    if (QPoint(x, y) != window->pos())
        window->move(x, y);
}

} // namespace platform::widgetstate
