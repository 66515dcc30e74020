#include "catalogue/linegeometry.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
#include "catalogue/outputtarget.h"
#include "catalogue/previewviewport.h"
#include "platform/datetext.h"
#include "platform/numbers.h"

#include <algorithm>
#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// The average character width is the sample's width over one more than its length.
constexpr double ColumnGapDivisor = 66;
// Ten per cent of leading between lines.
constexpr double LeadingDivisor = 10;
// The name column starts this far into the preview picture; on paper at the left margin.
constexpr int PreviewLineLeft = 100;
// A picture wider than the window gets this much room beyond the print width.
constexpr qint64 PictureExtraWidth = 400;
// The scroll bars reach this many steps beyond the picture's end.
constexpr double ExtraScrollColumns = 10;
constexpr double ExtraScrollLines = 2;
// A page step keeps this much of the last view in sight.
constexpr qint64 PageStepKeptColumns = 3;
constexpr qint64 PageStepKeptLines = 2;

int wholeInt(double value)
{
    return clampToInt(roundHalfEven(value));
}

// Divisors measured from a font are never below one twip, so a degenerate font cannot
// divide by zero.
double atLeastOne(qint64 value)
{
    return value < 1 ? 1.0 : double(value);
}

// ends[k] is the length of the first k code points of text; ends.back() is the whole text.
std::vector<qsizetype> codePointEnds(const QString &text)
{
    std::vector<qsizetype> ends { 0 };
    ends.reserve(size_t(text.size()) + 1);
    for (qsizetype i = 0; i < text.size();) {
        i += (text.at(i).isHighSurrogate() && i + 1 < text.size()
              && text.at(i + 1).isLowSurrogate())
            ? 2
            : 1;
        ends.push_back(i);
    }
    return ends;
}

// The largest k below n for which keeps(k) holds, where keeps holds up to some k and for none
// beyond; 0 needs no asking. Halving: a text is never narrower than a shorter part of it, so a
// 32,767-character text takes 15 measurements, not thousands.
template<typename Keeps> size_t lastKept(size_t n, Keeps keeps)
{
    size_t low = 0;
    size_t high = n;
    while (high > low + 1) {
        const size_t middle = low + (high - low) / 2;
        if (keeps(middle))
            low = middle;
        else
            high = middle;
    }
    return low;
}

bool fitsLimit(double width, int limit)
{
    return roundHalfEven(width) <= limit;
}

struct Fitted
{
    QString text;
    double width = 0;
};

// Characters come off the end (at least one) until the rest is narrower than fit; then, so
// that the tail cannot carry the text out of its column, more come off until the whole fits
// limit. A text that fits is left as it is.
Fitted cutEnd(const QString &text, const OutputTarget &target, int limit, int fit, QStringView tail)
{
    const double width = target.textWidth(text);
    if (fitsLimit(width, limit))
        return { text, width };
    const std::vector<qsizetype> ends = codePointEnds(text);
    const auto kept = [&](size_t k) {
        return text.left(ends[k]);
    };
    const auto withTail = [&](size_t k) {
        return kept(k).append(tail);
    };
    size_t k = lastKept(ends.size() - 1, [&](size_t n) { return target.textWidth(kept(n)) < fit; });
    if (!fitsLimit(target.textWidth(withTail(k)), limit))
        k = lastKept(k, [&](size_t n) { return fitsLimit(target.textWidth(withTail(n)), limit); });
    QString cut = withTail(k);
    const double cutWidth = target.textWidth(cut);
    return { std::move(cut), cutWidth };
}

// The same from the front, with head put before what is left: the rightmost characters stay.
Fitted cutStart(const QString &text, const OutputTarget &target, int limit, int fit,
                QStringView head)
{
    const double width = target.textWidth(text);
    if (fitsLimit(width, limit))
        return { text, width };
    const std::vector<qsizetype> ends = codePointEnds(text);
    const size_t whole = ends.size() - 1;
    const auto kept = [&](size_t k) {
        return text.mid(ends[whole - k]);
    };
    const auto withHead = [&](size_t k) {
        return kept(k).prepend(head);
    };
    size_t k = lastKept(whole, [&](size_t n) { return target.textWidth(kept(n)) < fit; });
    if (!fitsLimit(target.textWidth(withHead(k)), limit))
        k = lastKept(k, [&](size_t n) { return fitsLimit(target.textWidth(withHead(n)), limit); });
    QString cut = withHead(k);
    const double cutWidth = target.textWidth(cut);
    return { std::move(cut), cutWidth };
}

} // namespace

void lineParameters(OutputTarget &target, CatalogueState &state, OutputMedium medium)
{
    const CatalogueFont &font = state.catalogueFont;
    target.setFontName(font.name);
    target.setFontSize(font.size);
    target.setFontBold(font.bold);
    target.setFontItalic(font.italic);
    target.setFontUnderline(font.underline);
    target.setFontStrikethru(font.strikethru);
    target.setForeColor(state.catalogueColour);

    LineMetrics &metrics = state.metrics;
    const QString sample = MetricsSample.toString();
    metrics.columnGap = wholeInt(target.textWidth(sample) / ColumnGapDivisor);
    const int height = wholeInt(target.textHeight(sample));
    metrics.lineHeight = wholeInt(height + height / LeadingDivisor);
    metrics.lineLeft = medium == OutputMedium::Paper ? 0 : PreviewLineLeft;
}

QPointF paperOrigin(const PrintSettings &page, const OutputTarget &printer)
{
    // The half difference makes up for the printer's unprintable border.
    return { -page.leftMargin + double(printer.width() - printer.scaleWidth()) / 2,
             -page.topMargin + double(printer.height() - printer.scaleHeight()) / 2 };
}

qint64 pageCount(qint64 lines, qint64 lineHeight, qint64 printHeight)
{
    if (lines <= 0)
        return 0;
    if (printHeight <= 0)
        return lines; // every line breaks the page
    if (lineHeight <= 0)
        return 1;
    // Dividing the depth by the print height would count a page too many whenever the
    // print height is not a whole number of lines.
    const qint64 linesPerPage = (printHeight + lineHeight - 1) / lineHeight;
    return (lines + linesPerPage - 1) / linesPerPage;
}

PageGeometry pageGeometry(const CatalogueState &state, const LineMetrics &measured, qint64 lines,
                          const ViewSize &view)
{
    PageGeometry g;
    const PrintSettings &page = state.printSettings;
    g.refreshDepth = roundHalfEven(double(view.scaleHeight) + 2.0 * measured.lineHeight);

    const qint64 printWidth = qint64(state.pageWidth) - page.leftMargin - page.rightMargin;
    g.printHeight = clampToInt(qint64(state.pageHeight) - page.topMargin - page.bottomMargin);
    // The shares are single precision, and so is their product with the width: a product
    // that lands on a half in single precision rounds to even.
    const float width = float(printWidth);
    g.nameWidth = wholeInt(double(width * page.column0));
    g.sizeWidth = wholeInt(double(width * page.column1));
    g.dateWidth = wholeInt(double(width * page.column2));

    const qint64 depth = lines * measured.lineHeight;
    g.pageCount = pageCount(lines, measured.lineHeight, g.printHeight);

    // The picture is the window's inside, or wide enough for the print width and a margin.
    g.pictureWidth = printWidth > view.width ? printWidth + PictureExtraWidth : view.scaleWidth;
    g.pictureHeight = std::max(depth, view.height);
    // One horizontal step is a column gap, one vertical step a line; both bars reach a little
    // beyond the picture's end.
    const double gap = atLeastOne(measured.columnGap);
    const double lineHeight = atLeastOne(measured.lineHeight);
    g.horizontalMaximum = std::max<qint64>(
        roundHalfEven(double(g.pictureWidth - view.scaleWidth) / gap + ExtraScrollColumns), 0);
    g.verticalMaximum = std::max<qint64>(
        roundHalfEven(double(g.pictureHeight - view.scaleHeight) / lineHeight + ExtraScrollLines),
        0);
    // A page step keeps a few columns or lines of the last view in sight.
    const qint64 columns = roundHalfEven(double(view.scaleWidth) / gap);
    g.horizontalPageStep = columns <= PageStepKeptColumns ? 1 : columns - PageStepKeptColumns;
    const qint64 rows = roundHalfEven(double(view.scaleHeight) / lineHeight);
    g.verticalPageStep = rows <= PageStepKeptLines ? 1 : rows - PageStepKeptLines;
    return g;
}

void pageParameters(OutputTarget &target, CatalogueState &state, OutputMedium medium, qint64 lines,
                    PreviewViewport &viewport)
{
    lineParameters(target, state, medium);

    const ViewSize view { viewport.viewWidth(), viewport.viewHeight(), viewport.viewScaleWidth(),
                          viewport.viewScaleHeight() };
    const PageGeometry g = pageGeometry(state, state.metrics, lines, view);

    LineMetrics &metrics = state.metrics;
    metrics.refreshDepth = g.refreshDepth;
    metrics.printHeight = g.printHeight;
    metrics.nameWidth = g.nameWidth;
    metrics.sizeWidth = g.sizeWidth;
    metrics.dateWidth = g.dateWidth;
    metrics.pageCount = g.pageCount;

    if (medium == OutputMedium::Paper) {
        const QPointF origin = paperOrigin(state.printSettings, target);
        target.setScaleLeft(origin.x());
        target.setScaleTop(origin.y());
        return;
    }
    target.setWidth(g.pictureWidth);
    target.setHeight(g.pictureHeight);
    viewport.setScrollMaximum(Qt::Horizontal, g.horizontalMaximum);
    viewport.setScrollMaximum(Qt::Vertical, g.verticalMaximum);
    viewport.setScrollMinimum(Qt::Horizontal, 0);
    viewport.setScrollMinimum(Qt::Vertical, 0);
    viewport.setScrollSteps(Qt::Horizontal, g.horizontalPageStep, 1);
    viewport.setScrollSteps(Qt::Vertical, g.verticalPageStep, 1);
}

void setTruncationLimits(LineMetrics &metrics)
{
    // In 64 bits: a width at either end of int must not overflow on the way.
    const qint64 gap = metrics.columnGap;
    metrics.nameLimit = metrics.nameWidth;
    metrics.nameFit = clampToInt(metrics.nameWidth - 2 * gap);
    metrics.sizeLimit = clampToInt(metrics.sizeWidth - gap);
    metrics.sizeFit = clampToInt(metrics.sizeWidth - 2 * gap);
    metrics.dateLimit = clampToInt(metrics.dateWidth - gap);
    metrics.dateFit = clampToInt(metrics.dateWidth - 2 * gap);
}

QString cutAtEnd(const QString &text, const OutputTarget &target, int limit, int fit,
                 QStringView tail)
{
    return cutEnd(text, target, limit, fit, tail).text;
}

QString cutAtStart(const QString &text, const OutputTarget &target, int limit, int fit,
                   QStringView head)
{
    return cutStart(text, target, limit, fit, head).text;
}

bool displayLine(qint64 index, qint64 lineTop, OutputTarget &target, const CatalogueSource &source,
                 const LineMetrics &metrics, DateTimeFormatter &dates)
{
    const double x0 = metrics.lineLeft;
    const double y = double(lineTop);

    const Fitted name
        = cutEnd(source.displayName(index), target, metrics.nameLimit, metrics.nameFit, u"... ");
    target.setCurrentY(y);
    target.setCurrentX(x0);
    target.print(name.text);

    // Read afresh: a file that vanished since listing still gets its line.
    const std::optional<FileStat> stat = source.stat(index);

    const Fitted size = cutStart(stat ? groupedNumber(stat->size) : QString(), target,
                                 metrics.sizeLimit, metrics.sizeFit, u"...");
    target.setCurrentX(x0 + metrics.nameWidth + metrics.sizeWidth - size.width);
    target.setCurrentY(y);
    target.print(size.text);

    const Fitted date
        = cutEnd(stat ? dates.columnText(stat->modified) : DateTimeFormatter::emptyColumnText(),
                 target, metrics.dateLimit, metrics.dateFit, u"... ");
    target.setCurrentX(x0 + metrics.nameWidth + metrics.sizeWidth + metrics.dateWidth - date.width);
    target.setCurrentY(y);
    target.print(date.text);
    return stat.has_value();
}

} // namespace qm
