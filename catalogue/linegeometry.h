#pragma once

#include "catalogue/linemetrics.h"

#include <QPointF>
#include <QString>
#include <QStringView>

namespace qm {

class CatalogueSource;
class DateTimeFormatter;
class OutputTarget;
class PreviewViewport;
struct CatalogueState;
struct PrintSettings;

/// Measured to find the average character width (divided by one more than its 65
/// characters) and the line height.
inline constexpr QStringView MetricsSample
    = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/; ";

/// What the writer draws on. The geometry differs in two ways only: the name column starts
/// a little inside the picture but at the left margin on paper, and the picture is sized
/// and scrolled where a page is placed on its paper.
enum class OutputMedium { Preview, Paper };

/// Puts the catalogue font and colour on \a target and measures columnGap, lineHeight and
/// lineLeft into state.metrics.
void lineParameters(OutputTarget &target, CatalogueState &state, OutputMedium medium);

/// The viewing window of the preview as the geometry needs it, in twips.
struct ViewSize
{
    qint64 width = 0; // outside, frame included
    qint64 height = 0;
    qint64 scaleWidth = 0; // inside: what can be seen at once
    qint64 scaleHeight = 0;
};

/// The geometry of one run of the writer, from the page, the margins, the shares, the font's
/// measurements and the viewing window. Computed as a value; pageParameters() applies it.
struct PageGeometry
{
    qint64 refreshDepth = 0;
    int printHeight = 0;
    int nameWidth = 0;
    int sizeWidth = 0;
    int dateWidth = 0;
    qint64 pageCount = 0;
    // The preview's picture and scroll bars (not used on paper).
    qint64 pictureWidth = 0;
    qint64 pictureHeight = 0;
    qint64 horizontalMaximum = 0;
    qint64 verticalMaximum = 0;
    qint64 horizontalPageStep = 1;
    qint64 verticalPageStep = 1;
};

/// The geometry of \a lines catalogue lines with \a measured's column gap and line height.
PageGeometry pageGeometry(const CatalogueState &state, const LineMetrics &measured, qint64 lines,
                          const ViewSize &view);

/// lineParameters(), then the print area, the column widths and the page count of \a lines
/// catalogue lines; on the preview also the picture's size and the scroll ranges, on paper
/// the origin at the top-left corner of the margins.
void pageParameters(OutputTarget &target, CatalogueState &state, OutputMedium medium, qint64 lines,
                    PreviewViewport &viewport);

/// ScaleLeft and ScaleTop of \a printer that put (0, 0) at the top-left corner of the
/// margins: the printer's scale starts at its printable area, taken as centred on the paper,
/// so half of the paper beyond that area is added to the margins.
QPointF paperOrigin(const PrintSettings &page, const OutputTarget &printer);

/// Pages that \a lines catalogue lines fill when a page takes lines while their top is above
/// \a printHeight, so that its last line may reach into the bottom margin. Counted by the
/// same rule as the pages are broken: the heads never announce a page that is not printed.
/// A page without print height takes one line.
qint64 pageCount(qint64 lines, qint64 lineHeight, qint64 printHeight);

/// The six truncation limits from the column widths and the column gap.
void setTruncationLimits(LineMetrics &metrics);

/// \a text as it fits a column: unchanged unless its width, taken to a whole twip, exceeds
/// \a limit; otherwise characters come off its end (at least one) until it is narrower than
/// \a fit, and \a tail is appended; should the whole still exceed \a limit, more characters
/// go until it does not or nothing but the tail is left.
QString cutAtEnd(const QString &text, const OutputTarget &target, int limit, int fit,
                 QStringView tail);

/// The same, taking characters off the front and putting \a head before what is left, so
/// the rightmost characters stay.
QString cutAtStart(const QString &text, const OutputTarget &target, int limit, int fit,
                   QStringView head);

/// Writes the catalogue line of entry \a index at y = \a lineTop: the name from the
/// left edge, the grouped size right-aligned on the size column's right edge, the date and
/// time right-aligned on the date column's. A file that cannot be read now shows an empty
/// size and the empty date form, and false is returned.
bool displayLine(qint64 index, qint64 lineTop, OutputTarget &target, const CatalogueSource &source,
                 const LineMetrics &metrics, DateTimeFormatter &dates);

} // namespace qm
