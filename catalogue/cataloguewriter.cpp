#include "catalogue/cataloguewriter.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
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

namespace {

// Everything the walk does differently on the preview and on paper, in one place: the
// walk calls these at its steps and never asks which one it has.
class Medium
{
public:
    virtual ~Medium() = default;

    virtual QString statusWord() const = 0;
    /// The list is empty: this is all that happens.
    virtual void emptyList(OutputTarget &target) = 0;
    /// Before the geometry is measured.
    virtual void beforeGeometry(Selection &) { }
    /// After the geometry: the lines to write, out of the whole list.
    virtual LineRange openRun(OutputTarget &target, const QString &folderPrefix, LineRange whole)
        = 0;
    virtual void pageHead(OutputTarget &, qint64) { }
    /// After a line, with \a lineTop already moved below it: the top of the next line.
    /// \a more tells whether another line follows.
    virtual qint64 afterLine(OutputTarget &target, qint64 lineTop, bool more) = 0;
    virtual void closeRun(OutputTarget &) { }
};

class Screen final : public Medium
{
public:
    explicit Screen(const LineMetrics &metrics)
        : m_metrics(metrics)
    {
    }

    QString statusWord() const override { return u"Writing"_s; }
    void emptyList(OutputTarget &target) override { target.cls(); }
    void beforeGeometry(Selection &selection) override
    {
        // A new drawing has nothing selected.
        selection.selectionMade = false;
        selection.selFirst = -1;
        selection.selLast = -1;
        selection.clickedLine = -1;
    }
    LineRange openRun(OutputTarget &target, const QString &, LineRange whole) override
    {
        target.cls();
        return whole;
    }
    qint64 afterLine(OutputTarget &target, qint64 lineTop, bool) override
    {
        // The first screenful reaches the screen while the rest is still drawn.
        if (!m_firstShown && lineTop > m_metrics.refreshDepth) {
            target.refresh();
            m_firstShown = true;
        }
        return lineTop;
    }
    void closeRun(OutputTarget &target) override
    {
        target.setCurrentX(0);
        target.setCurrentY(0);
    }

private:
    const LineMetrics &m_metrics;
    bool m_firstShown = false;
};

class Paper final : public Medium
{
public:
    Paper(CatalogueState &state, PrintHooks &hooks)
        : m_state(state)
        , m_hooks(hooks)
    {
    }

    QString statusWord() const override { return u"Printing"_s; }
    void emptyList(OutputTarget &) override { }
    LineRange openRun(OutputTarget &printer, const QString &folderPrefix, LineRange whole) override
    {
        return m_hooks.startPrintRun(printer, folderPrefix, whole);
    }
    void pageHead(OutputTarget &printer, qint64 pageNumber) override
    {
        m_hooks.pageHead(printer, pageNumber);
    }
    qint64 afterLine(OutputTarget &printer, qint64 lineTop, bool more) override
    {
        // No page after the last line: it would carry only its head, and a number beyond
        // the count that the heads announce.
        if (lineTop < m_state.metrics.printHeight || !more)
            return lineTop;
        ++m_state.pageNumber;
        return m_hooks.pageBreak(printer, m_state.pageNumber);
    }

private:
    CatalogueState &m_state;
    PrintHooks &m_hooks;
};

} // namespace

CatalogueWriter::CatalogueWriter(CatalogueState &state, const CatalogueSource &source,
                                 PreviewViewport &viewport, WriterHost &host)
    : m_state(state)
    , m_source(source)
    , m_viewport(viewport)
    , m_host(host)
{
}

void CatalogueWriter::writePreview(OutputTarget &target, PrintHooks *hooks)
{
    PlainPages plainPages;
    Screen screen(m_state.metrics);
    Paper paper(m_state, hooks ? *hooks : plainPages);
    Medium &medium = m_state.printMode ? static_cast<Medium &>(paper) : screen;

    const qint64 count = m_source.count();
    if (count <= 0) {
        medium.emptyList(target);
        return;
    }

    RunGuard guard(m_host, MeterBar);
    m_host.setStatusText(medium.statusWord());
    medium.beforeGeometry(m_state.selection);
    m_host.setPreviewedCommands();

    pageParameters(target, m_state, count, m_viewport);
    const QString folderPrefix = m_source.folderPrefix();

    LineRange range = medium.openRun(target, folderPrefix, { 0, count - 1 });
    // A range from an old selection may reach past a list that has since become shorter.
    range.first = std::max<qint64>(range.first, 0);
    range.last = std::min(range.last, count - 1);

    target.setCurrentY(0);
    LineMetrics &metrics = m_state.metrics;
    setTruncationLimits(metrics);
    qint64 lineTop = 0;

    // The meter always measures the position in the whole list.
    MeterSteps meter(count);

    m_state.pageNumber = 1;
    medium.pageHead(target, m_state.pageNumber);

    DateTimeFormatter dates;
    for (qint64 line = range.first; line <= range.last; ++line) {
        if (const int percent = meter.percentAt(line); percent >= 0)
            m_host.drawMeter(2, MeterBar, MeterBackground, percent);
        displayLine(line, lineTop, target, m_source, metrics, dates);
        if (target.failed())
            break; // a printer that stopped takes nothing more
        lineTop = medium.afterLine(target, lineTop + metrics.lineHeight, line < range.last);
    }

    guard.resetMeter();
    medium.closeRun(target);
    guard.finish();
    m_state.previewReady = true;
}

} // namespace qm
