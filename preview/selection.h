#pragma once

#include "catalogue/linemetrics.h"

#include <QtCore/qnamespace.h>
#include <QtGlobal>

#include <vector>

namespace qm {

class CatalogueSource;
class PreviewPicture;
class WriterHost;
struct CatalogueState;
struct Selection;

/// Lines to draw again, in the text colour or highlighted.
struct LineRun
{
    qint64 first = 0;
    qint64 last = 0;
    bool highlighted = false;
    friend bool operator==(const LineRun &, const LineRun &) = default;
};

/// The highlight for text colour \a textColour (&H00BBGGRR): the red part of its inverse,
/// so black text is highlighted in pure red.
qint32 highlightColour(qint32 textColour);

/// The catalogue line under \a yTwips (picture coordinates), or -1 when there is none of the
/// \a lineCount lines there.
qint64 lineAt(double yTwips, int lineHeight, qint64 lineCount);

/// A left press on catalogue line \a line: selects it alone, or with \a shiftAlone (Shift
/// without Ctrl or Alt) extends the selection from its first line, which moves to \a line
/// when that lies above. Returns the lines to draw again, in order.
std::vector<LineRun> pressLine(Selection &selection, qint64 line, bool shiftAlone);

/// Selects every one of \a lineCount lines; returns the lines to draw again.
std::vector<LineRun> selectAllLines(Selection &selection, qint64 lineCount);

/// Picking catalogue lines in the preview with the mouse or Select All, and showing the
/// pick highlighted. The picture paints the selected lines in the highlight colour, so a pick
/// costs what is visible however many lines it covers; the lines in view whose highlight
/// changed are read and drawn again over themselves, so any number of picks leaves the
/// picture's size as it was.
class PreviewSelection
{
public:
    PreviewSelection(CatalogueState &state, const CatalogueSource &source, PreviewPicture &picture,
                     WriterHost &host);

    /// A preview was drawn: the line geometry of this drawing is what redraws use, whatever
    /// is measured later (a print run measures the paper).
    void previewDrawn();

    /// A mouse press at \a yTwips in the picture. True when it picked a line.
    bool press(double yTwips, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    /// Every line of the preview. True when there was a preview to select in.
    bool selectAll();

private:
    void draw(const std::vector<LineRun> &runs, qint32 textColour);

    CatalogueState &m_state;
    const CatalogueSource &m_source;
    PreviewPicture &m_picture;
    WriterHost &m_host;
    LineMetrics m_metrics;
};

} // namespace qm
