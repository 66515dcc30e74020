#pragma once

#include <QColor>

namespace qm {

/// A surface the progress meter draws on, in twips of its own scale.
class MeterCanvas
{
public:
    virtual ~MeterCanvas() = default;

    /// Inner size, whole twips.
    virtual int scaleWidth() const = 0;
    virtual int scaleHeight() const = 0;
    /// Width of the lines drawn next, in device pixels.
    virtual void setLineWidth(int pixels) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, const QColor &colour) = 0;
    /// Fills the box with corners (x1, y1) and (x2, y2), both included.
    virtual void fillBox(int x1, int y1, int x2, int y2, const QColor &colour) = 0;
};

/// The segmented progress meter. It remembers the frame colours of the last call, which a
/// frame style other than 0, 1 or 2 reuses.
class Meter
{
public:
    enum FrameStyle { Flat = 0, Sunken = 1, Raised = 2 };

    /// `drawMeter`: frame in \a style, then a block for every 120 twips that \a percent of
    /// the inner width reaches. Blocks are only cleared by a call with 0 percent.
    void drawMeter(MeterCanvas &canvas, int style, const QColor &bar, const QColor &back,
                   int percent);

private:
    QColor m_topLeft = Qt::black;
    QColor m_bottomRight = Qt::black;
};

} // namespace qm
