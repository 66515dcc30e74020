#include "browse/meter.h"

namespace qm {

namespace {

/// numerator / denominator (denominator > 0) to the nearest whole number, halves to even.
qint64 divideHalfEven(qint64 numerator, qint64 denominator)
{
    qint64 quotient = numerator / denominator;
    qint64 remainder = numerator % denominator;
    if (remainder < 0) {
        remainder += denominator;
        --quotient;
    }
    const qint64 twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && (quotient & 1)))
        ++quotient;
    return quotient;
}

const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor DarkGrey(0x80, 0x80, 0x80);
const QColor White(0xFF, 0xFF, 0xFF);

constexpr int BlockSize = 60;
constexpr int BlockPitch = 2 * BlockSize;
constexpr int FrameWidth = 2;

} // namespace

void Meter::drawMeter(MeterCanvas &canvas, int style, const QColor &bar, const QColor &back,
                      int percent)
{
    const int w = canvas.scaleWidth();
    const int h = canvas.scaleHeight();
    const qint64 top = divideHalfEven(qint64(h) - BlockSize - 20, 2);

    canvas.setLineWidth(FrameWidth);
    switch (style) {
    case Flat:
        m_topLeft = Silver;
        m_bottomRight = Silver;
        break;
    case Sunken:
        m_topLeft = DarkGrey;
        m_bottomRight = White;
        break;
    case Raised:
        m_topLeft = White;
        m_bottomRight = DarkGrey;
        break;
    default:
        break;
    }
    canvas.drawLine(0, 0, w, 0, m_topLeft);
    canvas.drawLine(0, 0, 0, h, m_topLeft);
    canvas.drawLine(0, h - 2, w, h - 2, m_bottomRight);
    canvas.drawLine(w - 2, 0, w - 2, h - 2, m_bottomRight);

    const qint64 length = divideHalfEven((qint64(w) - 4) * percent, 100);
    if (length == 0)
        canvas.fillBox(1, 1, w - 4, h - 4, back);

    canvas.setLineWidth(1);
    for (qint64 x = BlockSize; x <= length; x += BlockPitch) {
        if (x + BlockPitch > w)
            break;
        canvas.fillBox(int(x), int(top), int(x + BlockSize), int(top + BlockSize), bar);
    }
}

} // namespace qm
