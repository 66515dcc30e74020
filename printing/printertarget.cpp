#include "printing/printertarget.h"

#include "catalogue/textmeasure.h"
#include "platform/colour.h"
#include "platform/numbers.h"

#include <QPageLayout>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace qm {

namespace {

// Twips in one unit of a page size or margin. The page sizes' own definitions are exact
// (A4 is 210 × 297 mm); the printer's rectangles in points or device pixels are rounded.
double twipsPer(QPageSize::Unit unit)
{
    switch (unit) {
    case QPageSize::Millimeter:
        return 1440.0 / 25.4;
    case QPageSize::Point:
        return 20.0;
    case QPageSize::Inch:
        return 1440.0;
    case QPageSize::Pica:
        return 240.0;
    case QPageSize::Didot:
        return 20.0 * 1.07;
    case QPageSize::Cicero:
        return 20.0 * 12.84;
    }
    return 20.0;
}

} // namespace

QSizeF paperTwips(const QPrinter &printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QPageSize pageSize = layout.pageSize();
    QSizeF paper = pageSize.definitionSize() * twipsPer(pageSize.definitionUnits());
    if (layout.orientation() == QPageLayout::Landscape)
        paper.transpose();
    return paper;
}

PrinterTarget::PrinterTarget(QPrinter &printer)
    : m_printer(printer)
    , m_twipsPerDot(1440.0 / std::max(printer.resolution(), 1))
    , m_measures(&printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QSizeF paper = paperTwips(printer);
    const QMarginsF margins = printer.fullPage()
        ? QMarginsF()
        : layout.margins() * twipsPer(QPageSize::Unit(layout.units()));
    m_width = roundHalfEven(paper.width());
    m_height = roundHalfEven(paper.height());
    m_scaleWidth = roundHalfEven(paper.width() - margins.left() - margins.right());
    m_scaleHeight = roundHalfEven(paper.height() - margins.top() - margins.bottom());
    m_printableCorner = QPointF(margins.left(), margins.top());
    m_centredCorner
        = QPointF(double(m_width - m_scaleWidth) / 2, double(m_height - m_scaleHeight) / 2);
}

PrinterTarget::~PrinterTarget()
{
    endDoc();
}

QPointF PrinterTarget::onPaper(double x, double y) const
{
    return QPointF(x - m_scaleLeft, y - m_scaleTop) + m_centredCorner;
}

QPointF PrinterTarget::toDevice(double x, double y) const
{
    return (onPaper(x, y) - m_printableCorner) / m_twipsPerDot;
}

bool PrinterTarget::begin()
{
    if (m_painter.isActive())
        return true;
    if (m_failed || m_ended)
        return false;
    if (!m_painter.begin(&m_printer)) {
        m_failed = true;
        return false;
    }
    m_pages = 1;
    return true;
}

void PrinterTarget::styleChanged(StyleChange change)
{
    // The colour is taken at each text; every other change needs the font measured afresh.
    if (change != StyleChange::ForeColor) {
        m_measure = nullptr;
        m_fontSet = false;
    }
}

const TextMeasure &PrinterTarget::measure() const
{
    if (!m_measure)
        m_measure = &m_measures.of(outputFont(textStyle().font));
    return *m_measure;
}

double PrinterTarget::textWidth(const QString &text) const
{
    return measure().horizontalAdvance(text) * m_twipsPerDot;
}

double PrinterTarget::textHeight(const QString &) const
{
    return measure().height() * m_twipsPerDot;
}

void PrinterTarget::print(const QString &text)
{
    if (begin()) {
        // The painter is given the font measured for the printer, so that what is drawn
        // matches what was measured.
        if (!m_fontSet) {
            m_painter.setFont(QFont(measure().font(), &m_printer));
            m_fontSet = true;
        }
        if (m_penColour != foreColor()) {
            m_penColour = foreColor();
            m_painter.setPen(colourFromBgr(foreColor()));
        }
        const QPointF at = toDevice(m_x, m_y);
        m_painter.drawText(QPointF(at.x(), at.y() + measure().ascent()), text);
    }
    m_x = m_scaleLeft;
    m_y += textHeight(text);
}

void PrinterTarget::newPage()
{
    if (!begin())
        return;
    if (m_printer.newPage())
        ++m_pages;
    m_x = m_scaleLeft;
    m_y = m_scaleTop;
}

void PrinterTarget::endDoc()
{
    if (m_painter.isActive())
        m_painter.end();
    m_ended = true;
}

} // namespace qm
