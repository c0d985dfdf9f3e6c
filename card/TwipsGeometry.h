#pragma once
// A control's position and size in twips (15 per pixel), as the card's
// layout and its stored window values count them.
class QWidget;

namespace TwipsGeometry {

int Left(const QWidget* w);
int Top(const QWidget* w);
int Width(const QWidget* w);
int Height(const QWidget* w);
void setLeft(QWidget* w, int twips);
void setTop(QWidget* w, int twips);
void setWidth(QWidget* w, int twips);
void setHeight(QWidget* w, int twips);
// Top-level windows: the frame's position, the client area's size.
void move(QWidget* w, int left, int top, int width, int height);

} // namespace TwipsGeometry
