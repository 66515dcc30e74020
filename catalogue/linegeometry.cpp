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

int clampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

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

qsizetype lastCodePointSize(const QString &text)
{
    const qsizetype n = text.size();
    if (n >= 2 && text.at(n - 1).isLowSurrogate() && text.at(n - 2).isHighSurrogate())
        return 2;
    return n > 0 ? 1 : 0;
}

qsizetype firstCodePointSize(const QString &text)
{
    if (text.size() >= 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        return 2;
    return text.isEmpty() ? 0 : 1;
}

struct Fitted
{
    QString text;
    double width = 0;
};

// The longest prefix of text (shorter than all of it) narrower than fit, found by halving:
// a prefix is never narrower than a shorter one, so this ends where removing one character
// at a time would, in far fewer measurements for a long text in a narrow column.
QString longestPrefixBelow(const QString &text, const OutputTarget &target, int fit)
{
    std::vector<qsizetype> ends { 0 };
    for (qsizetype i = 0; i < text.size();) {
        i += (text.at(i).isHighSurrogate() && i + 1 < text.size()
              && text.at(i + 1).isLowSurrogate())
            ? 2
            : 1;
        ends.push_back(i);
    }
    // ends.back() is the whole text, known to be too wide.
    size_t low = 0;
    size_t high = ends.size() - 1;
    while (high - low > 1) {
        const size_t middle = low + (high - low) / 2;
        if (target.textWidth(QStringView(text).left(ends[middle]).toString()) < fit)
            low = middle;
        else
            high = middle;
    }
    return text.left(ends[low]);
}

Fitted cutEnd(QString text, const OutputTarget &target, int limit, int fit, QStringView tail)
{
    double width = target.textWidth(text);
    if (roundHalfEven(width) <= limit)
        return { std::move(text), width };
    constexpr int StepsBeforeHalving = 3;
    int steps = 0;
    do {
        text.chop(lastCodePointSize(text));
        if (text.isEmpty())
            break;
        if (++steps == StepsBeforeHalving) {
            if (target.textWidth(text) >= fit)
                text = longestPrefixBelow(text, target, fit);
            break;
        }
        width = target.textWidth(text);
    } while (width >= fit);
    text += tail;
    width = target.textWidth(text);
    return { std::move(text), width };
}

Fitted cutStart(QString text, const OutputTarget &target, int limit, int fit, QStringView head)
{
    double width = target.textWidth(text);
    if (roundHalfEven(width) <= limit)
        return { std::move(text), width };
    do {
        text.remove(0, firstCodePointSize(text));
    } while (!text.isEmpty() && target.textWidth(text) >= fit);
    text.prepend(head);
    width = target.textWidth(text);
    return { std::move(text), width };
}

} // namespace

void lineParameters(OutputTarget &target, CatalogueState &state)
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
    metrics.columnGap = wholeInt(target.textWidth(sample) / 66);
    const int height = wholeInt(target.textHeight(sample));
    metrics.lineHeight = wholeInt(height + height / 10.0);
    metrics.lineLeft = state.printMode ? 0 : 100;
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

void pageParameters(OutputTarget &target, CatalogueState &state, qint64 entryCount,
                    PreviewViewport &viewport)
{
    lineParameters(target, state);

    LineMetrics &metrics = state.metrics;
    const PrintSettings &page = state.printSettings;
    metrics.refreshDepth
        = roundHalfEven(double(viewport.viewScaleHeight()) + 2.0 * metrics.lineHeight);

    const qint64 printWidth = qint64(state.pageWidth) - page.leftMargin - page.rightMargin;
    metrics.printHeight = clampToInt(qint64(state.pageHeight) - page.topMargin - page.bottomMargin);
    // The shares are single precision, and so is their product with the width: a product
    // that lands on a half in single precision rounds to even.
    const float width = float(printWidth);
    metrics.nameWidth = wholeInt(double(width * page.column0));
    metrics.sizeWidth = wholeInt(double(width * page.column1));
    metrics.dateWidth = wholeInt(double(width * page.column2));

    if (!state.printMode) {
        target.setWidth(printWidth > viewport.viewWidth() ? printWidth + 400
                                                          : viewport.viewScaleWidth());
    } else {
        // The half difference makes up for the printer's unprintable border.
        target.setScaleLeft(-page.leftMargin + double(target.width() - target.scaleWidth()) / 2);
        target.setScaleTop(-page.topMargin + double(target.height() - target.scaleHeight()) / 2);
    }

    const Selection &selection = state.selection;
    qint64 lines = entryCount;
    if (state.printMode && state.printSelection && selection.selFirst >= 0
        && selection.selLast >= selection.selFirst)
        lines = selection.selLast - selection.selFirst + 1;
    const qint64 depth = lines * metrics.lineHeight;
    metrics.pageCount = pageCount(lines, metrics.lineHeight, metrics.printHeight);

    if (state.printMode)
        return;

    target.setHeight(depth > viewport.viewHeight() ? depth : viewport.viewHeight());

    const double gap = atLeastOne(metrics.columnGap);
    const double lineHeight = atLeastOne(metrics.lineHeight);
    viewport.setScrollMaximum(
        Qt::Horizontal,
        roundHalfEven(double(target.scaleWidth() - viewport.viewScaleWidth()) / gap + 10));
    if (viewport.scrollMaximum(Qt::Horizontal) < 0)
        viewport.setScrollMaximum(Qt::Horizontal, 0);
    viewport.setScrollMaximum(
        Qt::Vertical,
        roundHalfEven(double(target.scaleHeight() - viewport.viewScaleHeight()) / lineHeight + 2));
    if (viewport.scrollMaximum(Qt::Vertical) < 0)
        viewport.setScrollMaximum(Qt::Vertical, 0);
    viewport.setScrollMinimum(Qt::Horizontal, 0);
    viewport.setScrollMinimum(Qt::Vertical, 0);

    const qint64 columns = roundHalfEven(double(viewport.viewScaleWidth()) / gap);
    viewport.setScrollSteps(Qt::Horizontal, columns < 4 ? 1 : columns - 3, 1);
    const qint64 rows = roundHalfEven(double(viewport.viewScaleHeight()) / lineHeight);
    viewport.setScrollSteps(Qt::Vertical, rows < 3 ? 1 : rows - 2, 1);
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

void displayLine(qint64 index, qint64 lineTop, OutputTarget &target, const CatalogueSource &source,
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
}

} // namespace qm
