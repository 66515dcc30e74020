#include "printing/printertarget.h"

#include "catalogue/textmeasure.h"
#include "platform/colour.h"
#include "platform/numbers.h"
#include "platform/outputfile.h"
#include "platform/units.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Why the PDF engine could not open its file: it keeps the reason to itself, so the file is
// opened again as the engine would, but neither emptied nor left behind when it was not there.
// A path that holds no regular file is refused unopened.
QString pdfFileProblem(const QString &fileName)
{
    if (const std::optional<QString> refused = outputRefusal(fileName))
        return *refused;
    const QByteArray target = QFile::encodeName(outputTarget(fileName));
    const bool existed = ::access(target.constData(), F_OK) == 0;
    // Not blocking: the path may have become a FIFO since it was looked at.
    const int fd
        = ::open(target.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0)
        return cannotWriteText(errno);
    ::close(fd);
    if (!existed)
        ::unlink(target.constData());
    return QString();
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
    : MeasuredTarget(&printer, TwipsPerInch / std::max(printer.resolution(), 1), TextStyle {})
    , m_printer(printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QSizeF paper = paperTwips(printer);
    const QMarginsF margins = printer.fullPage()
        ? QMarginsF()
        : layout.margins() * twipsPer(QPageSize::Unit(layout.units()));
    fixSize(roundHalfEven(paper.width()), roundHalfEven(paper.height()),
            roundHalfEven(paper.width() - margins.left() - margins.right()),
            roundHalfEven(paper.height() - margins.top() - margins.bottom()));
    m_printableCorner = QPointF(margins.left(), margins.top());
    m_centredCorner
        = QPointF(double(width() - scaleWidth()) / 2, double(height() - scaleHeight()) / 2);
}

PrinterTarget::~PrinterTarget()
{
    endDoc();
}

QPointF PrinterTarget::onPaper(double x, double y) const
{
    return QPointF(x - scaleLeft(), y - scaleTop()) + m_centredCorner;
}

QPointF PrinterTarget::toDevice(double x, double y) const
{
    return (onPaper(x, y) - m_printableCorner) / twipsPerDot();
}

bool PrinterTarget::begin()
{
    if (m_failed || m_ended)
        return false;
    if (m_painter.isActive())
        return true;
    if (!m_painter.begin(&m_printer)) {
        fail(m_printer.outputFormat() == QPrinter::PdfFormat
                 ? pdfFileProblem(m_printer.outputFileName())
                 : QString());
        return false;
    }
    m_pages = 1;
    return true;
}

void PrinterTarget::fail(const QString &why)
{
    m_failed = true;
    m_error = why.isEmpty() ? u"The printer did not start the job."_s : why;
}

void PrinterTarget::changed(Change change)
{
    MeasuredTarget::changed(change);
    if (isFontChange(change))
        m_fontSet = false;
}

void PrinterTarget::drawText(double x, double y, const QString &text)
{
    if (!begin())
        return;
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
    const QPointF at = toDevice(x, y);
    m_painter.drawText(QPointF(at.x(), at.y() + measure().ascent()), text);
}

void PrinterTarget::newPage()
{
    if (!begin())
        return;
    // A page the printer did not open would take the rest of the catalogue unseen.
    if (!m_printer.newPage()) {
        fail(u"The printer refused page %1, so the pages after it were not printed."_s.arg(m_pages
                                                                                           + 1));
        return;
    }
    ++m_pages;
    home();
}

void PrinterTarget::endDoc()
{
    if (m_painter.isActive() && !m_painter.end() && !m_failed)
        fail(u"The printer could not finish the job."_s);
    m_ended = true;
}

} // namespace qm
