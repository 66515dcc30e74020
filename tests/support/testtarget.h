#pragma once

#include "catalogue/outputtarget.h"

#include <QStringList>

namespace qm {

/// An output target with fixed, known metrics that writes down every call that changes or
/// draws something, one text line each, so a test compares a run as text:
///   fontName "Arial", fontSize 10, fontBold 0, foreColor &H00800080,
///   text 100,0 "alpha.txt", width 9000, scaleLeft -2268, cls, refresh, newPage, endDoc.
/// Every character (code point) is charWidth twips wide; every line is lineHeight tall,
/// whatever the font. Queries are not written down.
class TestTarget : public OutputTarget
{
public:
    explicit TestTarget(double charWidth = 100, double lineHeight = 200);

    QStringList calls() const { return m_calls; }
    /// Texts measured so far (textWidth calls).
    qint64 measurements() const { return m_measurements; }
    /// Only the calls that begin with \a prefix ("text ", "font").
    QStringList calls(QStringView prefix) const;

    /// A printable area smaller than the page, as a printer has. Until this is called the
    /// scale size follows width and height.
    using OutputTarget::setScaleSize;

    double textWidth(const QString &text) const override;
    double textHeight(const QString &) const override { return m_lineHeight; }

    void cls() override;
    void refresh() override { m_calls << QStringLiteral("refresh"); }
    void newPage() override;
    void endDoc() override { m_calls << QStringLiteral("endDoc"); }

protected:
    void changed(Change change) override;
    void drawText(double x, double y, const QString &text) override;

private:
    double m_charWidth;
    double m_lineHeight;
    mutable qint64 m_measurements = 0;
    QStringList m_calls;
};

} // namespace qm
