#include "catalogue/printrun.h"

#include "catalogue/cataloguestate.h"
#include "catalogue/outputtarget.h"
#include "platform/numbers.h"
#include "platform/questions.h"

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

LineRange PrintRun::startPrintRun(OutputTarget &printer, const QString &folderPrefix,
                                  LineRange whole)
{
    openPage(printer);
    if (printer.failed())
        return { 0, -1 }; // nothing can be printed: no header to ask for
    QString &header = m_state.listHeader;
    if (header.isEmpty())
        header = folderPrefix;
    if (m_questions)
        header = m_questions->askText(HeaderBoxTitle, HeaderBoxPrompt, header, HeaderBoxPlace);
    if (header.isEmpty())
        header = folderPrefix;

    const Selection &selection = m_state.selection;
    if (m_state.printSelection && selection.selFirst >= 0
        && selection.selLast >= selection.selFirst)
        return { selection.selFirst, selection.selLast };
    return whole;
}

void PrintRun::pageHead(OutputTarget &printer, qint64 pageNumber)
{
    const double top = -2.0 * m_state.metrics.lineHeight;
    const QString &header = m_state.listHeader;
    printer.setFontBold(true);
    // Centred on the paper, whose left edge lies the left margin left of x = 0.
    printer.setCurrentY(top);
    printer.setCurrentX(double(printer.width()) / 2 - m_state.printSettings.leftMargin
                        - printer.textWidth(header) / 2);
    printer.print(header);

    const QString page = pageText(pageNumber, m_state.metrics.pageCount);
    printer.setCurrentY(top);
    printer.setCurrentX(PageTextRight - printer.textWidth(page));
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
