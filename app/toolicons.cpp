#include "app/toolicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace qm {

namespace {

const QColor Ink(0x1B, 0x2B, 0x4D);
const QColor Navy(0x2F, 0x4A, 0x7F);
const QColor Frame(0x6A, 0x74, 0x84);
const QColor Text(0x8C, 0x98, 0xAC);
const QColor Paper(0xFF, 0xFF, 0xFF);

// A white sheet with a grey edge covering \a r (inclusive pixel corners).
void sheet(QPainter &p, const QRect &r)
{
    p.fillRect(r, Frame);
    p.fillRect(r.adjusted(1, 1, -1, -1), Paper);
}

void textLine(QPainter &p, int x, int y, int length, const QColor &colour = Text)
{
    p.fillRect(QRect(x, y, length, 1), colour);
}

void drawSave(QPainter &p)
{
    p.fillRect(QRect(1, 1, 14, 14), Ink);
    p.fillRect(QRect(2, 2, 12, 12), Navy);
    p.fillRect(QRect(4, 1, 8, 5), QColor(0xC8, 0xCE, 0xD8)); // shutter
    p.fillRect(QRect(9, 2, 2, 3), Ink);
    p.fillRect(QRect(3, 8, 10, 6), Paper); // label
    textLine(p, 4, 10, 8);
    textLine(p, 4, 12, 6);
    // The clipped corner of a diskette.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(QRect(14, 1, 1, 1), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void drawPrint(QPainter &p)
{
    sheet(p, QRect(4, 1, 8, 6));
    textLine(p, 6, 3, 4);
    p.fillRect(QRect(1, 6, 14, 6), QColor(0x4E, 0x56, 0x64));
    p.fillRect(QRect(2, 7, 12, 4), QColor(0xB8, 0xBE, 0xC8));
    p.fillRect(QRect(2, 7, 12, 1), QColor(0xDD, 0xE1, 0xE8));
    p.fillRect(QRect(12, 8, 1, 1), QColor(0x2E, 0xB8, 0x4A)); // power light
    sheet(p, QRect(4, 10, 8, 5));
    textLine(p, 6, 12, 4, Navy);
}

void drawCopy(QPainter &p)
{
    sheet(p, QRect(1, 1, 9, 11));
    for (int y = 3; y <= 9; y += 2)
        textLine(p, 3, y, 5);
    sheet(p, QRect(6, 4, 9, 11));
    for (int y = 6; y <= 12; y += 2)
        textLine(p, 8, y, y == 12 ? 3 : 5, Navy);
}

void drawPageSetup(QPainter &p)
{
    sheet(p, QRect(2, 0, 12, 16));
    // Margin guides reaching the edges of the sheet.
    const QColor guide(0x5B, 0x9B, 0xE0);
    p.fillRect(QRect(3, 3, 10, 1), guide);
    p.fillRect(QRect(3, 12, 10, 1), guide);
    p.fillRect(QRect(5, 1, 1, 14), guide);
    p.fillRect(QRect(10, 1, 1, 14), guide);
    textLine(p, 6, 5, 4, Navy);
    textLine(p, 6, 7, 3);
    textLine(p, 6, 9, 4);
}

void drawPreview(QPainter &p)
{
    sheet(p, QRect(0, 0, 11, 14));
    for (int y = 2; y <= 10; y += 2)
        textLine(p, 2, y, y == 2 ? 7 : 5, y == 2 ? Navy : Text);

    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x4A, 0x3A, 0x2A), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.3, 10.3), QPointF(14.6, 12.8)); // handle
    p.setPen(QPen(Ink, 1.4));
    p.setBrush(QColor(0xBF, 0xDD, 0xF7, 200));
    p.drawEllipse(QPointF(9.5, 7.5), 3.6, 3.6);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.0));
    p.drawArc(QRectF(7.4, 5.4, 3.2, 3.2), 100 * 16, 80 * 16); // glint
}

void drawHelp(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient fill(QPointF(6, 5), 10);
    fill.setColorAt(0, QColor(0x5C, 0x9D, 0xE8));
    fill.setColorAt(1, QColor(0x1E, 0x4F, 0x9A));
    p.setPen(QPen(QColor(0x16, 0x3A, 0x72), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));

    // The question mark as strokes, independent of installed fonts.
    QPainterPath hook;
    hook.moveTo(5.6, 6.0);
    hook.cubicTo(5.6, 3.2, 10.6, 3.2, 10.6, 6.0);
    hook.cubicTo(10.6, 7.8, 8.1, 7.9, 8.1, 9.9);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.1, 12.4), 1.2, 1.2);
}

QString themeName(ToolIcon icon)
{
    switch (icon) {
    case ToolIcon::Save:
        return QStringLiteral("document-save");
    case ToolIcon::Print:
        return QStringLiteral("document-print");
    case ToolIcon::Copy:
        return QStringLiteral("edit-copy");
    case ToolIcon::PageSetup:
        return QStringLiteral("document-page-setup");
    case ToolIcon::Preview:
        return QStringLiteral("document-print-preview");
    case ToolIcon::Help:
        return QStringLiteral("help-contents");
    }
    return {};
}

} // namespace

QPixmap drawnToolPicture(ToolIcon icon, qreal scale)
{
    scale = qMax(qreal(1), scale);
    const QSize size = toolPictureSize(icon);
    // The pictures are drawn on the pixel grid: a whole scale keeps every edge sharp, a
    // fractional one is drawn at the next whole scale and brought down smoothly.
    const int whole = int(std::ceil(scale - 1e-9));
    QPixmap pixmap(size * whole);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.scale(whole, whole);
        switch (icon) {
        case ToolIcon::Save:
            drawSave(p);
            break;
        case ToolIcon::Print:
            drawPrint(p);
            break;
        case ToolIcon::Copy:
            drawCopy(p);
            break;
        case ToolIcon::PageSetup:
            drawPageSetup(p);
            break;
        case ToolIcon::Preview:
            drawPreview(p);
            break;
        case ToolIcon::Help:
            drawHelp(p);
            break;
        }
    }
    if (whole == scale)
        return pixmap;
    const QSize wanted(int(std::ceil(size.width() * scale - 1e-9)),
                       int(std::ceil(size.height() * scale - 1e-9)));
    return pixmap.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSize toolPictureSize(ToolIcon icon)
{
    return QSize(16, icon == ToolIcon::Preview ? 15 : 16);
}

QIcon toolIcon(ToolIcon icon)
{
    // One picture for each common screen density, so that none is stretched from another.
    QIcon drawn;
    for (const qreal scale : { 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0 })
        drawn.addPixmap(drawnToolPicture(icon, scale));
    return QIcon::fromTheme(themeName(icon), drawn);
}

} // namespace qm
