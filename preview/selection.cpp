#include "preview/selection.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/linegeometry.h"
#include "catalogue/writerhost.h"
#include "platform/busypointer.h"
#include "platform/datetext.h"
#include "preview/previewpicture.h"

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
    DateTimeFormatter dates;
    for (const LineRun &run : runs) {
        m_picture.setForeColor(run.highlighted ? highlightColour(textColour) : textColour);
        for (qint64 line = run.first; line <= run.last && line < m_source.count(); ++line) {
            const qint64 lineTop = line * m_metrics.lineHeight;
            m_picture.beginRowRewrite(double(lineTop));
            displayLine(line, lineTop, m_picture, m_source, m_metrics, dates);
            m_picture.endRowRewrite();
        }
    }
    m_picture.setForeColor(textColour);
}

} // namespace qm
