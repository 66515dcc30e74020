#include "browse/meterwidget.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace qm {

MeterWidget::MeterWidget(int twipsWidth, int twipsHeight, QWidget *parent)
    : QWidget(parent)
    , m_twipsWidth(std::max(1, twipsWidth))
    , m_twipsHeight(std::max(1, twipsHeight))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPoint MeterWidget::toPixels(int x, int y) const
{
    const QSizeF size = m_picture.deviceIndependentSize();
    const double px = double(x) * size.width() / m_twipsWidth;
    const double py = double(y) * size.height() / m_twipsHeight;
    return QPoint(int(std::lround(px)), int(std::lround(py)));
}

void MeterWidget::setLineWidth(int pixels)
{
    m_lineWidth = std::max(1, pixels);
}

void MeterWidget::drawLine(int x1, int y1, int x2, int y2, const QColor &colour)
{
    if (m_picture.isNull())
        return;
    QPainter painter(&m_picture);
    QPen pen(colour);
    pen.setWidth(m_lineWidth);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLine(toPixels(x1, y1), toPixels(x2, y2));
    update();
}

void MeterWidget::fillBox(int x1, int y1, int x2, int y2, const QColor &colour)
{
    if (m_picture.isNull())
        return;
    QPainter painter(&m_picture);
    painter.fillRect(QRect(toPixels(x1, y1), toPixels(x2, y2)).normalized(), colour);
    update();
}

void MeterWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.drawPixmap(0, 0, m_picture);
}

void MeterWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Kept at the screen's device pixels, so that the segments stay sharp on dense screens.
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(palette().color(QPalette::Button));
    if (!m_picture.isNull()) {
        QPainter painter(&picture);
        painter.drawPixmap(0, 0, m_picture);
    }
    m_picture = picture;
}

} // namespace qm
