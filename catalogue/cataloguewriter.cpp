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

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Everything the walk does differently on the preview and on paper, in one place: the
// entry point chooses one, and the walk calls it at its steps without asking which it is.
class Medium
{
public:
    virtual ~Medium() = default;

    virtual OutputMedium kind() const = 0;
    virtual QString statusWord() const = 0;
    /// The list is empty: this is all that happens.
    virtual void emptyList(OutputTarget &) { }
    /// Before the geometry is measured.
    virtual void beforeGeometry(Selection &) { }
    /// The lines to write, out of the whole list.
    virtual LineRange lines(LineRange whole) const { return whole; }
    /// After the geometry, before the first line.
    virtual void openRun(OutputTarget &target, const QString &folderPrefix) = 0;
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

    OutputMedium kind() const override { return OutputMedium::Preview; }
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
    void openRun(OutputTarget &target, const QString &) override { target.cls(); }
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

    OutputMedium kind() const override { return OutputMedium::Paper; }
    QString statusWord() const override { return u"Printing"_s; }
    LineRange lines(LineRange whole) const override { return m_hooks.printedRange(whole); }
    void openRun(OutputTarget &printer, const QString &folderPrefix) override
    {
        m_hooks.startPrintRun(printer, folderPrefix);
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

// The one walk over the list, whatever the medium.
RunResult walk(CatalogueState &state, const CatalogueSource &source, PreviewViewport &viewport,
               WriterHost &host, OutputTarget &target, Medium &medium)
{
    RunResult result;
    const qint64 count = source.count();
    if (count <= 0) {
        medium.emptyList(target);
        return result;
    }

    RunGuard guard(host, MeterBar);
    host.setStatusText(medium.statusWord());
    medium.beforeGeometry(state.selection);
    host.setPreviewedCommands();

    const LineRange range = medium.lines({ 0, count - 1 }).within(count);
    pageParameters(target, state, medium.kind(), range.size(), viewport);

    medium.openRun(target, source.folderPrefix());

    target.setCurrentY(0);
    LineMetrics &metrics = state.metrics;
    setTruncationLimits(metrics);
    qint64 lineTop = 0;

    // The meter always measures the position in the whole list.
    MeterSteps meter(count);

    state.pageNumber = 1;
    medium.pageHead(target, state.pageNumber);

    DateTimeFormatter dates;
    // A printer that stopped takes nothing more.
    for (qint64 line = range.first; line <= range.last && !target.failed(); ++line) {
        if (host.stopRequested()) {
            result.stopped = true;
            break;
        }
        if (const int percent = meter.percentAt(line); percent >= 0)
            host.drawMeter(2, MeterBar, MeterBackground, percent);
        result.count(displayLine(line, lineTop, target, source, metrics, dates));
        lineTop = medium.afterLine(target, lineTop + metrics.lineHeight, line < range.last);
    }

    guard.resetMeter();
    medium.closeRun(target);
    guard.finish();
    // A stopped preview is a preview too, of the lines it got to: they can be picked, and
    // Save and Print walk the list itself.
    state.previewReady = true;
    return result;
}

} // namespace

CatalogueWriter::CatalogueWriter(CatalogueState &state, const CatalogueSource &source,
                                 PreviewViewport &viewport, WriterHost &host)
    : m_state(state)
    , m_source(source)
    , m_viewport(viewport)
    , m_host(host)
{
}

RunResult CatalogueWriter::writePreview(OutputTarget &picture)
{
    Screen screen(m_state.metrics);
    return walk(m_state, m_source, m_viewport, m_host, picture, screen);
}

RunResult CatalogueWriter::writePages(OutputTarget &printer, PrintHooks &hooks)
{
    Paper paper(m_state, hooks);
    return walk(m_state, m_source, m_viewport, m_host, printer, paper);
}

} // namespace qm
