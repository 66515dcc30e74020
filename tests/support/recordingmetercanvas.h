#pragma once

#include "browse/meter.h"

#include <QString>
#include <QStringList>

namespace qm {

/// Records the meter's drawing calls as text lines, for tests:
/// "width 2", "line 0,0 2685,0 #c0c0c0", "box 60,60 120,120 #800080".
class RecordingMeterCanvas : public MeterCanvas
{
public:
    RecordingMeterCanvas(int width, int height);

    int scaleWidth() const override { return m_width; }
    int scaleHeight() const override { return m_height; }
    void setLineWidth(int pixels) override;
    void drawLine(int x1, int y1, int x2, int y2, const QColor &colour) override;
    void fillBox(int x1, int y1, int x2, int y2, const QColor &colour) override;

    QStringList calls() const { return m_calls; }
    void clear() { m_calls.clear(); }

private:
    int m_width;
    int m_height;
    QStringList m_calls;
};

} // namespace qm
