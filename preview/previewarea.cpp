#include "preview/previewarea.h"

#include "catalogue/linemetrics.h"
#include "platform/numbers.h"
#include "platform/twips.h"
#include "preview/previewplacing.h"

#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace qm {

/// The viewing window: paints the part of the picture it exposes and reports the mouse.
class PreviewView : public QFrame
{
public:
    PreviewView(PreviewArea &area, QWidget *parent)
        : QFrame(parent)
        , m_area(area)
    {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        // Reachable with Tab, so that the keys below can scroll it; a click focuses it too.
        setFocusPolicy(Qt::StrongFocus);
        setAccessibleName(QStringLiteral("Catalogue preview"));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        {
            QPainter painter(this);
            const QRect inside = contentsRect();
            const QRect exposed = event->rect() & inside;
            painter.fillRect(exposed, Qt::white);
            painter.setClipRect(exposed);
            painter.translate(inside.topLeft());
            m_area.m_picture.paint(painter, exposed.translated(-inside.topLeft()));
        }
        QFrame::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(this);
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = contentsRect().adjusted(1, 1, -1, -1);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }

    // The keys move the scroll bars, which move the picture, as a click on a bar would.
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->modifiers() & ~Qt::KeypadModifier) {
            QFrame::keyPressEvent(event);
            return;
        }
        switch (event->key()) {
        case Qt::Key_Up:
            m_area.m_vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Down:
            m_area.m_vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        case Qt::Key_PageUp:
            m_area.m_vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
            break;
        case Qt::Key_PageDown:
            m_area.m_vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
            break;
        case Qt::Key_Home:
            m_area.m_vertical->triggerAction(QAbstractSlider::SliderToMinimum);
            break;
        case Qt::Key_End:
            m_area.m_vertical->triggerAction(QAbstractSlider::SliderToMaximum);
            break;
        case Qt::Key_Left:
            m_area.m_horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
            break;
        case Qt::Key_Right:
            m_area.m_horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            break;
        default:
            QFrame::keyPressEvent(event);
            return;
        }
        event->accept();
    }

    // The focus frame is drawn over the picture's edge.
    void focusInEvent(QFocusEvent *event) override
    {
        update();
        QFrame::focusInEvent(event);
    }

    void focusOutEvent(QFocusEvent *event) override
    {
        update();
        QFrame::focusOutEvent(event);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (contentsRect().contains(event->position().toPoint()))
            emit m_area.pictureMouseMoved();
        QFrame::mouseMoveEvent(event);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        const QPointF at = event->position();
        if (contentsRect().contains(at.toPoint())) {
            const double y
                = pixelsToTwips(at.y() - contentsRect().top()) - double(m_area.m_picture.top());
            emit m_area.picturePressed(y, event->button(), event->modifiers());
        }
        QFrame::mousePressEvent(event);
    }

    // Picture boxes never scrolled by wheel, but every desktop user expects it to.
    void wheelEvent(QWheelEvent *event) override
    {
        const QPoint delta = event->angleDelta();
        QScrollBar *bar
            = qAbs(delta.x()) > qAbs(delta.y()) ? m_area.m_horizontal : m_area.m_vertical;
        QCoreApplication::sendEvent(bar, event);
    }

private:
    PreviewArea &m_area;
};

namespace {

qint64 toTwips(int pixels)
{
    return roundHalfEven(pixelsToTwips(pixels));
}

} // namespace

PreviewArea::PreviewArea(QWidget *parent, const LineMetrics &metrics)
    : QObject(parent)
    , m_metrics(metrics)
{
    m_view = new PreviewView(*this, parent);
    m_view->setObjectName(QStringLiteral("Picture1"));
    m_view->setGeometry(twipsRect(0, 480, 7575, 2415));

    m_vertical = new QScrollBar(Qt::Vertical, parent);
    m_vertical->setObjectName(QStringLiteral("VScroll1"));
    m_vertical->setGeometry(twipsRect(7560, 480, 255, 2415));
    m_vertical->setAccessibleName(QStringLiteral("Scroll the catalogue up and down"));
    m_horizontal = new QScrollBar(Qt::Horizontal, parent);
    m_horizontal->setObjectName(QStringLiteral("HScroll1"));
    m_horizontal->setGeometry(twipsRect(30, 2880, 7785, 255));
    m_horizontal->setAccessibleName(QStringLiteral("Scroll the catalogue left and right"));
    // Until the first preview sets them, the bars have the ranges of a fresh scroll bar.
    for (QScrollBar *scrollBar : { m_vertical, m_horizontal }) {
        scrollBar->setRange(0, 32767);
        scrollBar->setPageStep(1);
        scrollBar->setSingleStep(1);
    }

    connect(m_horizontal, &QScrollBar::valueChanged, this, &PreviewArea::scrollHorizontally);
    connect(m_horizontal, &QScrollBar::sliderMoved, this, &PreviewArea::scrollHorizontally);
    connect(m_vertical, &QScrollBar::valueChanged, this, &PreviewArea::scrollVertically);
    connect(m_vertical, &QScrollBar::sliderMoved, this, &PreviewArea::scrollVertically);

    m_picture.setUpdateHandler([this] {
        if (m_view)
            m_view->update();
    });
    m_picture.setRefreshHandler([this] {
        if (m_view)
            m_view->repaint();
    });
}

PreviewArea::~PreviewArea()
{
    // The widgets refer back to this object: they go with it, unless their parent has
    // already taken them.
    m_picture.setUpdateHandler({});
    m_picture.setRefreshHandler({});
    delete m_view.data();
    delete m_vertical.data();
    delete m_horizontal.data();
}

QWidget *PreviewArea::view() const
{
    return m_view;
}

void PreviewArea::emptyPicture()
{
    qm::emptyPicture(m_picture, *this);
}

void PreviewArea::resetScroll()
{
    m_vertical->setValue(m_vertical->minimum());
    scrollVertically();
    m_horizontal->setValue(m_horizontal->minimum());
    scrollHorizontally();
}

// The slider position is the value, except while a thumb is dragged without tracking: then
// it is where the thumb is, so the picture follows the drag as well.
void PreviewArea::scrollHorizontally()
{
    m_picture.setLeft(scrolledPosition(m_horizontal->sliderPosition(), m_metrics.columnGap,
                                       m_picture.scaleWidth()));
}

void PreviewArea::scrollVertically()
{
    m_picture.setTop(scrolledPosition(m_vertical->sliderPosition(), m_metrics.lineHeight,
                                      m_picture.scaleHeight()));
}

qint64 PreviewArea::viewWidth() const
{
    return toTwips(m_view->width());
}

qint64 PreviewArea::viewHeight() const
{
    return toTwips(m_view->height());
}

qint64 PreviewArea::viewScaleWidth() const
{
    return toTwips(m_view->contentsRect().width());
}

qint64 PreviewArea::viewScaleHeight() const
{
    return toTwips(m_view->contentsRect().height());
}

QScrollBar *PreviewArea::bar(Qt::Orientation orientation) const
{
    return orientation == Qt::Horizontal ? m_horizontal : m_vertical;
}

void PreviewArea::setScrollMaximum(Qt::Orientation orientation, qint64 maximum)
{
    bar(orientation)->setMaximum(clampToInt(maximum));
}

qint64 PreviewArea::scrollMaximum(Qt::Orientation orientation) const
{
    return bar(orientation)->maximum();
}

void PreviewArea::setScrollMinimum(Qt::Orientation orientation, qint64 minimum)
{
    bar(orientation)->setMinimum(clampToInt(minimum));
}

void PreviewArea::setScrollSteps(Qt::Orientation orientation, qint64 pageStep, qint64 singleStep)
{
    bar(orientation)->setPageStep(clampToInt(pageStep));
    bar(orientation)->setSingleStep(clampToInt(singleStep));
}

} // namespace qm
