#include "preview/selection.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/linegeometry.h"
#include "catalogue/writerhost.h"
#include "platform/busypointer.h"
#include "platform/datetext.h"
#include "preview/previewpicture.h"

#include <algorithm>
#include <cmath>

namespace qm {

qint32 highlightColour(qint32 textColour)
{
    return (textColour ^ 0x00FFFFFF) & 0x000000FF;
}

qint64 lineAt(double yTwips, int lineHeight, qint64 lineCount)
{
    if (lineHeight <= 0 || !std::isfinite(yTwips) || yTwips < 0)
        return -1;
    const double line = std::floor(yTwips / lineHeight);
    return line < double(lineCount) ? qint64(line) : -1;
}

std::vector<LineRun> pressLine(Selection &selection, qint64 line, bool shiftAlone)
{
    selection.clickedLine = line;
    if (selection.selFirst < 0) {
        selection.selFirst = selection.selLast = line;
        return { { line, line, true } };
    }

    std::vector<LineRun> runs;
    if (selection.selLast > selection.selFirst) {
        runs.push_back({ selection.selFirst, selection.selLast, false });
        runs.push_back({ line, line, true });
    }
    if (line == selection.selFirst) {
        selection.selLast = line;
    } else if (shiftAlone) {
        if (line > selection.selFirst) {
            selection.selLast = line;
        } else {
            selection.selLast = selection.selFirst;
            selection.selFirst = line;
        }
        runs.push_back({ selection.selFirst, selection.selLast, true });
    } else {
        runs.push_back({ selection.selFirst, selection.selFirst, false });
        selection.selFirst = selection.selLast = line;
        runs.push_back({ line, line, true });
    }
    return runs;
}

std::vector<LineRun> selectAllLines(Selection &selection, qint64 lineCount)
{
    selection.selFirst = 0;
    selection.selLast = lineCount - 1;
    return { { 0, lineCount - 1, true } };
}

PreviewSelection::PreviewSelection(CatalogueState &state, const CatalogueSource &source,
                                   PreviewPicture &picture, WriterHost &host)
    : m_state(state)
    , m_source(source)
    , m_picture(picture)
    , m_host(host)
{
}

void PreviewSelection::previewDrawn()
{
    m_metrics = m_state.metrics;
}

bool PreviewSelection::press(double yTwips, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (!m_state.previewReady || button != Qt::LeftButton)
        return false;
    BusyPointer busy(m_host);
    lineParameters(m_picture, m_state, OutputMedium::Preview);
    const qint64 line = lineAt(yTwips, m_metrics.lineHeight, m_source.count());
    if (line < 0)
        return false;
    const Qt::KeyboardModifiers held
        = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const qint32 textColour = m_picture.foreColor();
    draw(pressLine(m_state.selection, line, held == Qt::ShiftModifier), textColour);
    m_state.selection.selectionMade = true;
    return true;
}

bool PreviewSelection::selectAll()
{
    const qint64 count = m_source.count();
    if (!m_state.previewReady || count <= 0)
        return false;
    BusyPointer busy(m_host);
    lineParameters(m_picture, m_state, OutputMedium::Preview);
    const qint32 textColour = m_picture.foreColor();
    draw(selectAllLines(m_state.selection, count), textColour);
    m_state.selection.selectionMade = true;
    return true;
}

void PreviewSelection::draw(const std::vector<LineRun> &runs, qint32 textColour)
{
    const int lineHeight = m_metrics.lineHeight;
    const qint64 count = m_source.count();
    if (lineHeight <= 0 || count <= 0)
        return;
    // The picture shows the selection highlighted as it paints, so a range of any length
    // costs what is visible. Only the lines in view are read and drawn again, so that a file
    // changed since the preview shows as it is now.
    const double viewTop = -double(m_picture.top());
    const qint64 firstVisible = std::max<qint64>(qint64(viewTop / lineHeight), 0);
    const qint64 lastVisible
        = std::min(qint64((viewTop + double(m_metrics.refreshDepth)) / lineHeight), count - 1);
    DateTimeFormatter dates;
    m_picture.setForeColor(textColour);
    for (const LineRun &run : runs) {
        const qint64 last = std::min(run.last, lastVisible);
        for (qint64 line = std::max(run.first, firstVisible); line <= last; ++line) {
            const qint64 lineTop = line * lineHeight;
            m_picture.beginRowRewrite(double(lineTop));
            displayLine(line, lineTop, m_picture, m_source, m_metrics, dates);
            m_picture.endRowRewrite();
        }
    }
    const Selection &selection = m_state.selection;
    if (selection.selFirst < 0)
        m_picture.clearHighlight();
    else
        m_picture.setHighlight(double(selection.selFirst) * lineHeight,
                               double(selection.selLast + 1) * lineHeight,
                               highlightColour(textColour));
}

} // namespace qm
