#include "card/CardImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace CardImages {

namespace {

constexpr int size = 24;

void floppy(QPainter& p, bool unsaved)
{
    p.setBrush(QColor(0x2f, 0x5d, 0x9e));
    p.drawRoundedRect(3, 3, 18, 18, 2, 2);
    p.setBrush(QColor(0xf2, 0xf2, 0xf2));
    p.drawRect(7, 4, 10, 6);
    p.setBrush(QColor(0x1d, 0x3c, 0x66));
    p.drawRect(8, 14, 8, 6);
    if (unsaved) {
        p.setBrush(QColor(0xd9, 0x30, 0x25));
        p.setPen(QPen(Qt::white, 1.5));
        p.drawEllipse(QPointF(18, 18), 5.5, 5.5);
    }
}

void page(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawRect(5, 3, 13, 18);
    p.setPen(QPen(QColor(0x2e, 0x8b, 0x3e), 3));
    p.drawLine(17, 13, 17, 21);
    p.drawLine(13, 17, 21, 17);
}

void arrow(QPainter& p, bool left, bool bar)
{
    p.setBrush(QColor(0x2f, 0x5d, 0x9e));
    QPainterPath triangle;
    if (left) {
        triangle.moveTo(17, 5);
        triangle.lineTo(7, 12);
        triangle.lineTo(17, 19);
    } else {
        triangle.moveTo(7, 5);
        triangle.lineTo(17, 12);
        triangle.lineTo(7, 19);
    }
    triangle.closeSubpath();
    p.drawPath(triangle);
    if (bar)
        p.drawRect(left ? 4 : 18, 5, 2, 14);
}

void printer(QPainter& p)
{
    p.setBrush(Qt::white);
    p.drawRect(7, 3, 10, 7);
    p.setBrush(QColor(0x55, 0x5b, 0x66));
    p.drawRoundedRect(3, 9, 18, 9, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(7, 15, 10, 6);
}

void cross(QPainter& p)
{
    p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(6, 6, 18, 18);
    p.drawLine(18, 6, 6, 18);
}

void help(QPainter& p)
{
    p.setBrush(QColor(0x2f, 0x5d, 0x9e));
    p.drawEllipse(3, 3, 18, 18);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.drawText(QRect(3, 3, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
}

void exitDoor(QPainter& p)
{
    p.setBrush(QColor(0x8d, 0x6e, 0x4c));
    p.drawRect(4, 3, 10, 18);
    p.setPen(QPen(QColor(0x2e, 0x8b, 0x3e), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(11, 12, 21, 12);
    p.drawLine(17, 8, 21, 12);
    p.drawLine(17, 16, 21, 12);
}

QPixmap draw(int image)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1));
    switch (image) {
    case 1:
        floppy(p, false);
        break;
    case 2:
        page(p);
        break;
    case 3:
        arrow(p, true, true);
        break;
    case 4:
        arrow(p, true, false);
        break;
    case 5:
        arrow(p, false, false);
        break;
    case 6:
        arrow(p, false, true);
        break;
    case 7:
        printer(p);
        break;
    case 8:
        cross(p);
        break;
    case 9:
        help(p);
        break;
    case 10:
        exitDoor(p);
        break;
    default:
        floppy(p, true);
        break;
    }
    return pixmap;
}

QPixmap grey(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int g = 160 + qGray(c.rgb()) / 4;
            image.setPixelColor(x, y, QColor(g, g, g, c.alpha() / 2));
        }
    return QPixmap::fromImage(image);
}

} // namespace

QList<QIcon> active()
{
    QList<QIcon> icons;
    for (int i = 1; i <= 11; ++i)
        icons.append(QIcon(draw(i)));
    return icons;
}

QList<QIcon> disabled()
{
    QList<QIcon> icons;
    for (int i = 1; i <= 11; ++i)
        icons.append(QIcon(grey(draw(i))));
    return icons;
}

} // namespace CardImages
