#pragma once
// VB's MousePointer and WindowState on Qt widgets, shared by every window
// services implementation so that they behave alike.
class QWidget;

namespace platform::widgetstate {

// `window` nothing: the whole application's pointer (an override cursor).
void setMousePointer(QWidget* window, int pointer);
int mousePointer(QWidget* window);
void setWindowState(QWidget* window, int state);
int windowState(QWidget* window);
void repaint(QWidget* window);
// The window inside the available area of its screen (the primary one before
// it is shown): smaller when it is larger than the screen, never below its
// minimum size, moved in when it lies partly outside.
void keepOnScreen(QWidget* window);

} // namespace platform::widgetstate
