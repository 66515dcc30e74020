#pragma once

#include "catalogue/measuredtarget.h"

#include <QPainter>
#include <QPointF>
#include <QSizeF>

#include <optional>

class QPrinter;

namespace qm {

/// The paper's size in twips, from the exact definition of the page size (A4 is 210 × 297 mm)
/// in the printer's orientation; not rounded.
QSizeF paperTwips(const QPrinter &printer);

/// The printer page as an output target. Lengths are twips: the page size is the paper,
/// the scale size the printable area, and (0, 0) lies where ScaleLeft/ScaleTop put it
/// relative to the printable area's top-left corner, taking that area as centred on the
/// paper. A printer whose unprintable border is wider on one side than on the other still
/// gets every point at its place measured from the paper's edges: the target makes up the
/// difference. Text is measured on the printer. The document starts with the first thing
/// drawn, so a run that draws nothing prints nothing.
class PrinterTarget : public MeasuredTarget
{
public:
    explicit PrinterTarget(QPrinter &printer);
    ~PrinterTarget() override;

    /// False once the printer failed: it did not start the document (a file that cannot be
    /// written, a printer that refused the job), refused a page, or could not end the job.
    bool ok() const { return !m_failed; }
    bool failed() const override { return m_failed; }
    /// Why it failed, as a sentence.
    QString error() const { return m_error; }
    /// Pages begun so far.
    int pageCount() const { return m_pages; }
    /// Where a point in twips lands on the printer, in device dots from the printable
    /// area's corner.
    QPointF toDevice(double x, double y) const;
    /// Where a point in twips lands on the paper, in twips from its top-left corner.
    QPointF onPaper(double x, double y) const;

    void cls() override { }
    void refresh() override { }
    void newPage() override;
    void endDoc() override;

protected:
    void changed(Change change) override;
    void drawText(double x, double y, const QString &text) override;

private:
    bool begin();
    void fail(const QString &why);

    QPrinter &m_printer;
    QPainter m_painter;
    bool m_failed = false;
    QString m_error;
    bool m_ended = false;
    bool m_fontSet = false; // the painter has the measured font
    std::optional<qint32> m_penColour;
    int m_pages = 0;
    // Where the printable area really starts, and where the origin formula takes it to.
    QPointF m_printableCorner;
    QPointF m_centredCorner;
};

} // namespace qm
