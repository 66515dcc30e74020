#pragma once

#include "browse/meter.h"

#include <QStringList>

namespace qm {

/// Records the meter's drawing calls as text lines, for tests:
/// "width 2", "line 0,0 2685,0 #c0c0c0", "box 60,60 120,120 #800080".
class RecordingMeterCanvas : public MeterCanvas
{
public:
    RecordingMeterCanvas(int width, int height)
        : m_width(width)
        , m_height(height)
    {
    }

    int scaleWidth() const override { return m_width; }
    int scaleHeight() const override { return m_height; }
    void setLineWidth(int pixels) override { m_calls << QStringLiteral("width %1").arg(pixels); }
    void drawLine(int x1, int y1, int x2, int y2, const QColor &colour) override
    {
        record("line", x1, y1, x2, y2, colour);
    }
    void fillBox(int x1, int y1, int x2, int y2, const QColor &colour) override
    {
        record("box", x1, y1, x2, y2, colour);
    }

    QStringList calls() const { return m_calls; }

private:
    void record(const char *what, int x1, int y1, int x2, int y2, const QColor &colour)
    {
        m_calls << QString::asprintf("%s %d,%d %d,%d %s", what, x1, y1, x2, y2,
                                     qPrintable(colour.name()));
    }

    int m_width;
    int m_height;
    QStringList m_calls;
};

} // namespace qm
