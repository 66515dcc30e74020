#include "support/recordingmetercanvas.h"

namespace qm {

RecordingMeterCanvas::RecordingMeterCanvas(int width, int height)
    : m_width(width)
    , m_height(height)
{
}

void RecordingMeterCanvas::setLineWidth(int pixels)
{
    m_calls.append(QStringLiteral("width %1").arg(pixels));
}

void RecordingMeterCanvas::drawLine(int x1, int y1, int x2, int y2, const QColor &colour)
{
    m_calls.append(
        QStringLiteral("line %1,%2 %3,%4 %5").arg(x1).arg(y1).arg(x2).arg(y2).arg(colour.name()));
}

void RecordingMeterCanvas::fillBox(int x1, int y1, int x2, int y2, const QColor &colour)
{
    m_calls.append(
        QStringLiteral("box %1,%2 %3,%4 %5").arg(x1).arg(y1).arg(x2).arg(y2).arg(colour.name()));
}

} // namespace qm
