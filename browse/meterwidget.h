#pragma once

#include "browse/meter.h"

#include <QPixmap>
#include <QWidget>

namespace qm {

/// The status strip's meter picture: a persistent drawing in twips, shown scaled to the
/// screen. What is drawn stays until drawn over.
class MeterWidget : public QWidget, public MeterCanvas
{
    Q_OBJECT

public:
    /// \a twipsWidth and \a twipsHeight are the picture's own scale.
    MeterWidget(int twipsWidth, int twipsHeight, QWidget *parent = nullptr);

    int scaleWidth() const override { return m_twipsWidth; }
    int scaleHeight() const override { return m_twipsHeight; }
    void setLineWidth(int pixels) override;
    void drawLine(int x1, int y1, int x2, int y2, const QColor &colour) override;
    void fillBox(int x1, int y1, int x2, int y2, const QColor &colour) override;

    /// The drawing as it stands, in device pixels.
    QImage picture() const { return m_picture.toImage(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPoint toPixels(int x, int y) const;

    int m_twipsWidth;
    int m_twipsHeight;
    int m_lineWidth = 1;
    QPixmap m_picture;
};

} // namespace qm
