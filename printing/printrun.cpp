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
    if (header.isEmpty())
        header = folderPrefix;
    if (m_questions)
        header = m_questions->askText(HeaderBoxTitle, HeaderBoxPrompt, header, HeaderBoxPlace);
    if (header.isEmpty())
        header = folderPrefix;
}

void PrintRun::pageHead(OutputTarget &printer, qint64 pageNumber)
{
    const double top = -2.0 * m_state.metrics.lineHeight;
    printer.setFontBold(true);
    const QString page = pageText(pageNumber, m_state.metrics.pageCount);
    const double pageLeft = PageTextRight - printer.textWidth(page);

    // Centred on the paper, whose left edge lies the left margin left of x = 0. A header
    // too long for that would run into the page text: it then ends a column gap before it,
    // and one too long even for the room left of it loses its start.
    QString header = m_state.listHeader;
    double width = printer.textWidth(header);
    double left = double(printer.width()) / 2 - m_state.printSettings.leftMargin - width / 2;
    const double end = pageLeft - std::max(m_state.metrics.columnGap, 1);
    if (left + width > end) {
        left = end - width;
        if (left < 0) {
            const int room = int(std::floor(end));
            header = cutAtStart(header, printer, room, room - int(printer.textWidth(u"..."_s)),
                                u"...");
            left = std::max(0.0, end - printer.textWidth(header));
        }
    }
    printer.setCurrentY(top);
    printer.setCurrentX(left);
    printer.print(header);

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
