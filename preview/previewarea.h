#pragma once

#include "catalogue/previewviewport.h"
#include "preview/previewpicture.h"

#include <QObject>
#include <QPointer>
#include <QScrollBar>

class QWidget;

namespace qm {

struct LineMetrics;
class PreviewView;

/// The preview part of the main window: the fixed white viewing window (Picture1) that
/// shows the drawing (Picture2) at its Left/Top, and the two scroll bars that move it.
/// One horizontal step is one column gap, one vertical step one line height, both read
/// from the run's line metrics (zero until a preview is drawn: the picture then stays put).
class PreviewArea : public QObject, public PreviewViewport
{
    Q_OBJECT

public:
    /// Creates the viewing window and the scroll bars on \a parent at their places; they
    /// live as long as this object, which \a parent owns unless it is deleted before.
    PreviewArea(QWidget *parent, const LineMetrics &metrics);
    ~PreviewArea() override;

    PreviewPicture &picture() { return m_picture; }
    const PreviewPicture &picture() const { return m_picture; }
    QWidget *view() const;
    QScrollBar *verticalBar() const { return m_vertical.data(); }
    QScrollBar *horizontalBar() const { return m_horizontal.data(); }

    /// The invitation to preview, centred in the window, blue and bold in the picture's
    /// current font; the picture's own colour and bold setting are kept.
    void emptyPicture();
    /// Vertical bar to its minimum and its handler, then the horizontal one.
    void resetScroll();
    /// The scroll handlers: move the picture to the bars' values.
    void scrollHorizontally();
    void scrollVertically();

    qint64 viewWidth() const override;
    qint64 viewHeight() const override;
    qint64 viewScaleWidth() const override;
    qint64 viewScaleHeight() const override;
    void setScrollMaximum(Qt::Orientation bar, qint64 maximum) override;
    qint64 scrollMaximum(Qt::Orientation bar) const override;
    void setScrollMinimum(Qt::Orientation bar, qint64 minimum) override;
    void setScrollSteps(Qt::Orientation bar, qint64 pageStep, qint64 singleStep) override;

signals:
    /// The mouse moved over the picture.
    void pictureMouseMoved();
    /// A mouse button went down on the picture; \a yTwips is in the picture's own
    /// coordinates (0 at its top, whatever the scroll position).
    void picturePressed(double yTwips, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

private:
    friend class PreviewView;
    QScrollBar *bar(Qt::Orientation orientation) const;

    const LineMetrics &m_metrics;
    PreviewPicture m_picture;
    QPointer<PreviewView> m_view;
    QPointer<QScrollBar> m_vertical;
    QPointer<QScrollBar> m_horizontal;
};

} // namespace qm
