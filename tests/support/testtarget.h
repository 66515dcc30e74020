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
    void clearCalls() { m_calls.clear(); }

    /// A printable area smaller than the page, as a printer has. Until this is called the
    /// scale size follows width and height.
    void setScaleSize(qint64 width, qint64 height);
    double scaleLeft() const { return m_scaleLeft; }
    double scaleTop() const { return m_scaleTop; }

    double textWidth(const QString &text) const override;
    double textHeight(const QString &text) const override;

    void setCurrentX(double x) override { m_x = x; }
    void setCurrentY(double y) override { m_y = y; }
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void print(const QString &text) override;

    qint64 width() const override { return m_width; }
    qint64 height() const override { return m_height; }
    void setWidth(qint64 twips) override;
    void setHeight(qint64 twips) override;
    qint64 scaleWidth() const override;
    qint64 scaleHeight() const override;
    void setScaleLeft(double twips) override;
    void setScaleTop(double twips) override;

    void cls() override;
    void refresh() override;
    void newPage() override;
    void endDoc() override;

protected:
    void styleChanged(StyleChange change) override;

private:
    double m_charWidth;
    double m_lineHeight;
    mutable qint64 m_measurements = 0;
    QStringList m_calls;
    double m_x = 0;
    double m_y = 0;
    qint64 m_width = 0;
    qint64 m_height = 0;
    qint64 m_scaleWidth = -1;
    qint64 m_scaleHeight = -1;
    double m_scaleLeft = 0;
    double m_scaleTop = 0;
};

} // namespace qm
