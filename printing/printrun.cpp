#include "printing/printrun.h"

#include "catalogue/cataloguestate.h"
#include "catalogue/linegeometry.h"
#include "catalogue/outputtarget.h"
#include "platform/numbers.h"
#include "platform/questions.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace qm {

QString pageText(qint64 pageNumber, qint64 pageCount)
{
    return u"Page "_s + signPositionText(double(pageNumber)) + u" of "_s
        + signPositionText(double(pageCount));
}

PrintRun::PrintRun(CatalogueState &state, Questions *questions)
    : m_state(state)
    , m_questions(questions)
{
}

void PrintRun::openPage(OutputTarget &printer)
{
    // Something is written before the header box shows, so the page is open by then.
    const double size = m_state.catalogueFont.size;
    printer.setFontSize(size + 2);
    printer.print(u"             "_s);
    printer.setFontSize(size);
}

LineRange PrintRun::printedRange(LineRange whole) const
{
    const Selection &selection = m_state.selection;
    if (m_state.printSelection && selection.selFirst >= 0
        && selection.selLast >= selection.selFirst)
        return { selection.selFirst, selection.selLast };
    return whole;
}

void PrintRun::startPrintRun(OutputTarget &printer, const QString &folderPrefix)
{
    openPage(printer);
    if (printer.failed())
        return; // nothing can be printed: no header to ask for
    QString &header = m_state.listHeader;
    if (header.isEmpty() || header == m_state.listHeaderFolder)
        header = folderPrefix;
    m_state.listHeaderFolder = folderPrefix;
    if (m_questions)
        header = m_questions->askText(HeaderBoxTitle, HeaderBoxPrompt, header, HeaderBoxPlace);
    if (header.isEmpty())
        header = folderPrefix;
}

double PrintRun::pageTextRight(const OutputTarget &printer) const
{
    const PrintSettings &page = m_state.printSettings;
    // The printable area's right edge, in the scale whose x = 0 is the left margin.
    const double printableRight = printer.scaleLeft() + double(printer.scaleWidth());
    if (PageTextRight <= printableRight)
        return PageTextRight;
    const double rightMargin = double(m_state.pageWidth) - page.leftMargin - page.rightMargin;
    return std::min(rightMargin, printableRight);
}

const PrintRun::PlacedHeader &PrintRun::placeHeader(OutputTarget &printer, double end)
{
    // The page text is as wide on most pages, so the header is fitted once for each place it
    // gets rather than on every page: a pasted header of thousands of characters costs a
    // print what a short one does.
    if (m_placed.placed && m_placed.end == end)
        return m_placed;
    QString header = m_state.listHeader;
    if (!m_headerWidth)
        m_headerWidth = printer.textWidth(header);
    const double width = *m_headerWidth;

    // Centred on the paper, whose left edge lies the left margin left of x = 0. A header
    // too long for that would run into the page text: it then ends a column gap before it,
    // and one too long even for the room left of it loses its start.
    double left = double(printer.width()) / 2 - m_state.printSettings.leftMargin - width / 2;
    if (left + width > end) {
        left = end - width;
        if (left < 0) {
            const int room = int(std::floor(end));
            header = cutAtStart(header, printer, room, room - int(printer.textWidth(u"..."_s)),
                                u"...");
            left = std::max(0.0, end - printer.textWidth(header));
        }
    }
    m_placed = { true, end, std::move(header), left };
    return m_placed;
}

void PrintRun::pageHead(OutputTarget &printer, qint64 pageNumber)
{
    const double top = -2.0 * m_state.metrics.lineHeight;
    printer.setFontBold(true);
    const QString page = pageText(pageNumber, m_state.metrics.pageCount);
    const double pageLeft = pageTextRight(printer) - printer.textWidth(page);
    const PlacedHeader &header
        = placeHeader(printer, pageLeft - std::max(m_state.metrics.columnGap, 1));

    printer.setCurrentY(top);
    printer.setCurrentX(header.left);
    printer.print(header.text);

    printer.setCurrentY(top);
    printer.setCurrentX(pageLeft);
    printer.print(page);

    printer.setFontBold(m_state.catalogueFont.bold);
    printer.setCurrentY(0);
}

qint64 PrintRun::pageBreak(OutputTarget &printer, qint64 nextPageNumber)
{
    printer.newPage();
    openPage(printer);
    pageHead(printer, nextPageNumber);
    return 0;
}

} // namespace qm
