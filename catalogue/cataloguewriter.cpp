#include "catalogue/cataloguewriter.h"

#include "app/runstate.h"
#include "catalogue/cataloguesource.h"
#include "catalogue/linegeometry.h"
#include "catalogue/outputtarget.h"
#include "catalogue/previewviewport.h"
#include "catalogue/printhooks.h"
#include "catalogue/runguard.h"
#include "catalogue/writerhost.h"
#include "platform/datetext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qm {

CatalogueWriter::CatalogueWriter(RunState &state, const CatalogueSource &source,
                                 PreviewViewport &viewport, WriterHost &host)
    : m_state(state)
    , m_source(source)
    , m_viewport(viewport)
    , m_host(host)
{
}

void CatalogueWriter::writePreview(OutputTarget &target, PrintHooks *hooks)
{
    const qint64 count = m_source.count();
    const bool printing = m_state.printMode;
    if (count <= 0) {
        if (!printing)
            target.cls();
        return;
    }

    NoPrintHooks noHooks;
    PrintHooks &paper = (printing && hooks) ? *hooks : noHooks;

    RunGuard guard(m_host, MeterBar);
    m_host.setStatusText(printing ? u"Printing"_s : u"Writing"_s);
    if (!printing) {
        Selection &selection = m_state.selection;
        selection.selectionMade = false;
        selection.selFirst = -1;
        selection.selLast = -1;
        selection.clickedLine = -1;
    }
    m_host.setPreviewedCommands();

    pageParameters(target, m_state, count, m_viewport);
    const QString folderPrefix = m_source.folderPrefix();

    qint64 first = 0;
    qint64 last = count - 1;
    if (!printing)
        target.cls();
    else
        paper.startPrintRun(target, folderPrefix, first, last);
    // A range from an old selection may reach past a list that has since become shorter.
    first = std::max<qint64>(first, 0);
    last = std::min(last, count - 1);

    target.setCurrentY(0);
    LineMetrics &metrics = m_state.metrics;
    setTruncationLimits(metrics);
    bool firstShown = false;
    metrics.lineTop = 0;

    // The meter always measures the position in the whole list.
    MeterSteps meter(count);

    m_state.pageNumber = 1;
    if (printing)
        paper.pageHead(target);

    DateTimeFormatter dates;
    for (qint64 line = first; line <= last; ++line) {
        if (const int percent = meter.percentAt(line); percent >= 0)
            m_host.drawMeter(2, MeterBar, MeterBackground, percent);
        displayLine(line, target, m_source, metrics, dates);
        metrics.lineTop += metrics.lineHeight;
        if (!printing && !firstShown && metrics.lineTop > metrics.refreshDepth) {
            target.refresh();
            firstShown = true;
        }
        if (printing && metrics.lineTop >= metrics.printHeight)
            paper.pageBreak(target);
    }

    guard.resetMeter();
    if (!printing) {
        target.setCurrentX(0);
        target.setCurrentY(0);
    }
    guard.finish();
    m_state.previewReady = true;
}

} // namespace qm
