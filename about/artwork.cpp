#include "about/artwork.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qm {

namespace {

// The motif shared by every picture: a folder holding a catalogue sheet, with a quill
// resting on it. Drawn in a 100 × 100 box; \a detail lowers the line count for small icons.
enum class Detail { Icon, Small, Full };

void drawFolderBack(QPainter &p)
{
    QPainterPath back;
    back.moveTo(8, 20);
    back.lineTo(34, 20);
    back.lineTo(40, 27);
    back.lineTo(90, 27);
    back.lineTo(90, 90);
    back.lineTo(8, 90);
    back.closeSubpath();
    QLinearGradient fill(0, 20, 0, 90);
    fill.setColorAt(0, QColor(0xE3, 0xA8, 0x3B));
    fill.setColorAt(1, QColor(0xC7, 0x86, 0x22));
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x12), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(back);
}

void drawSheet(QPainter &p, Detail detail)
{
    p.save();
    p.translate(50, 50);
    p.rotate(-5);
    p.translate(-50, -50);

    const QRectF sheet(22, 8, 56, 66);
    p.setPen(QPen(QColor(0x9A, 0xA4, 0xB4), 1.2));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawRect(sheet);

    // Header bar, then rows of three columns: name, size, date.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2F, 0x4A, 0x7F));
    p.drawRect(QRectF(28, 14, 44, detail == Detail::Icon ? 6 : 4.5));

    const int rows = detail == Detail::Icon ? 3 : detail == Detail::Small ? 5 : 7;
    const double top = detail == Detail::Icon ? 26 : 23;
    const double pitch = detail == Detail::Icon ? 9 : detail == Detail::Small ? 7.5 : 6;
    const double thickness = detail == Detail::Icon ? 4.5 : detail == Detail::Small ? 3 : 2.2;
    p.setBrush(QColor(0x6E, 0x7F, 0x9E));
    for (int row = 0; row < rows; ++row) {
        const double y = top + row * pitch;
        const double nameLength = 14 + (row * 7) % 11;
        p.drawRect(QRectF(28, y, nameLength, thickness));
        if (detail != Detail::Icon) {
            p.drawRect(QRectF(50, y, 6, thickness));
            p.drawRect(QRectF(59, y, 13, thickness));
        } else {
            p.drawRect(QRectF(56, y, 16, thickness));
        }
    }
    p.restore();
}

void drawFolderFront(QPainter &p)
{
    QPainterPath front;
    front.moveTo(4, 48);
    front.lineTo(94, 48);
    front.lineTo(89, 90);
    front.lineTo(9, 90);
    front.closeSubpath();
    QLinearGradient fill(0, 48, 0, 90);
    fill.setColorAt(0, QColor(0xFA, 0xD2, 0x6E));
    fill.setColorAt(1, QColor(0xEE, 0xB4, 0x45));
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x12), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(front);
}

void drawQuill(QPainter &p, Detail detail)
{
    // A feather lying from its nib (lower left) to its tip (upper right).
    const QPointF nib(56, 80);
    const QPointF tip(97, 6);

    QPainterPath vane;
    vane.moveTo(62, 70);
    vane.cubicTo(QPointF(64, 44), QPointF(80, 18), tip);
    vane.cubicTo(QPointF(90, 28), QPointF(84, 52), QPointF(66, 73));
    vane.closeSubpath();
    QLinearGradient fill(62, 70, 97, 6);
    fill.setColorAt(0, QColor(0x9E, 0x1B, 0x1B));
    fill.setColorAt(1, QColor(0xE0, 0x4A, 0x3A));
    p.setPen(QPen(QColor(0x6B, 0x10, 0x10), detail == Detail::Icon ? 1.8 : 1.2));
    p.setBrush(fill);
    p.drawPath(vane);

    if (detail != Detail::Icon) {
        // Barbs: light strokes across the vane.
        p.setPen(QPen(QColor(255, 255, 255, 110), 0.9));
        for (int i = 1; i <= 5; ++i) {
            const double t = i / 6.0;
            const QPointF onShaft = nib + (tip - nib) * (0.25 + 0.7 * t);
            p.drawLine(onShaft, onShaft + QPointF(-7 + 3 * t, -2 - 3 * t));
        }
    }

    p.setPen(QPen(QColor(0x4A, 0x2A, 0x10), detail == Detail::Icon ? 2.6 : 1.6, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawLine(nib, nib + (tip - nib) * 0.9);
}

void drawMotif(QPainter &p, const QRectF &box, Detail detail)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 100.0, box.height() / 100.0);
    drawFolderBack(p);
    drawSheet(p, detail);
    drawFolderFront(p);
    drawQuill(p, detail);
    p.restore();
}

// At 16 pixels the motif is redrawn on the pixel grid; scaled down it would blur.
QImage smallIconImage()
{
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QColor outline(0x8A, 0x5A, 0x12);

    p.fillRect(QRect(1, 2, 5, 2), outline); // tab
    p.fillRect(QRect(1, 3, 14, 11), outline);
    p.fillRect(QRect(2, 4, 12, 9), QColor(0xD4, 0x95, 0x2E));

    p.fillRect(QRect(3, 1, 9, 9), QColor(0x9A, 0xA4, 0xB4)); // sheet
    p.fillRect(QRect(4, 2, 7, 7), Qt::white);
    p.fillRect(QRect(5, 3, 5, 1), QColor(0x2F, 0x4A, 0x7F));
    p.fillRect(QRect(5, 5, 3, 1), QColor(0x6E, 0x7F, 0x9E));
    p.fillRect(QRect(9, 5, 1, 1), QColor(0x6E, 0x7F, 0x9E));

    p.fillRect(QRect(0, 7, 15, 8), outline); // front flap
    p.fillRect(QRect(1, 8, 13, 6), QColor(0xF5, 0xC4, 0x5A));
    p.fillRect(QRect(1, 8, 13, 1), QColor(0xFB, 0xDC, 0x8C));

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xB0, 0x20, 0x20), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 12.5), QPointF(14.5, 1.5));
    p.setPen(QPen(QColor(0x4A, 0x2A, 0x10), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 14.5), QPointF(10.8, 11.5));
    return image;
}

// A picture of \a designSize design pixels shown at \a logicalSize, drawn for the screen's
// device pixels so that it stays sharp on dense screens.
template<typename Draw>
QPixmap scaledPicture(QSizeF designSize, QSize logicalSize, qreal devicePixelRatio, Draw draw)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(logicalSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    QPainter p(&pixmap);
    p.scale(logicalSize.width() / designSize.width(), logicalSize.height() / designSize.height());
    draw(p);
    return pixmap;
}

} // namespace

QImage applicationIconImage(int size)
{
    if (size <= 16)
        return smallIconImage();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawMotif(p, QRectF(0, 0, size, size), size < 48 ? Detail::Small : Detail::Full);
    return image;
}

void drawScalableIcon(QPainter &painter, const QRectF &box)
{
    drawMotif(painter, box, Detail::Full);
}

QPixmap splashPicture(QSize logicalSize, qreal devicePixelRatio)
{
    return scaledPicture(QSizeF(300, 227), logicalSize, devicePixelRatio, [](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);

        QLinearGradient sky(0, 0, 0, 227);
        sky.setColorAt(0, QColor(0xFB, 0xF8, 0xF0));
        sky.setColorAt(1, QColor(0xE6, 0xEC, 0xF5));
        p.fillRect(QRectF(0, 0, 300, 227), sky);

        // A faint ruled sheet behind the motif, like a catalogue seen from afar.
        p.setPen(QPen(QColor(0xD5, 0xDD, 0xEA), 1));
        for (int y = 24; y <= 148; y += 12)
            p.drawLine(QPointF(40, y + 0.5), QPointF(260, y + 0.5));

        drawMotif(p, QRectF(80, 8, 140, 150), Detail::Full);

        // A thin rule between picture and title, and a frame for the borderless window.
        p.setPen(QPen(QColor(0xB8, 0x8A, 0x3A), 1));
        p.drawLine(QPointF(60, 162.5), QPointF(240, 162.5));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x70, 0x78, 0x88), 1));
        p.drawRect(QRectF(0.5, 0.5, 299, 226));
        p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1));
        p.drawRect(QRectF(1.5, 1.5, 297, 224));
    });
}

QPixmap aboutPicture(QSize logicalSize, qreal devicePixelRatio)
{
    return scaledPicture(QSizeF(150, 148), logicalSize, devicePixelRatio, [](QPainter &p) {
        p.fillRect(QRectF(0, 0, 150, 148), Qt::white);
        drawMotif(p, QRectF(8, 8, 134, 132), Detail::Full);
    });
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : applicationIconSizes())
        icon.addPixmap(QPixmap::fromImage(applicationIconImage(size)));
    return icon;
}

QIcon programIcon()
{
    return QIcon::fromTheme(QGuiApplication::desktopFileName(), applicationIcon());
}

QList<int> applicationIconSizes()
{
    return { 16, 24, 32, 48, 64, 128, 256 };
}

} // namespace qm
