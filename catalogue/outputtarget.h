#pragma once

#include <QString>
#include <QtGlobal>

namespace qm {

/// A surface the catalogue writer draws on: the preview picture, a printer page, or a
/// recording test double. Every length is in twips, in the target's own user scale.
/// Each target measures text on the device that draws it.
class OutputTarget
{
public:
    virtual ~OutputTarget() = default;

    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool on) = 0;
    virtual void setFontItalic(bool on) = 0;
    virtual void setFontUnderline(bool on) = 0;
    virtual void setFontStrikethru(bool on) = 0;
    virtual bool fontBold() const = 0;
    virtual double fontSize() const = 0;
    /// Colour as &H00BBGGRR.
    virtual void setForeColor(qint32 colour) = 0;
    virtual qint32 foreColor() const = 0;

    /// Advance width of \a text in twips.
    virtual double textWidth(const QString &text) const = 0;
    /// Line height of the current font in twips, whatever the text.
    virtual double textHeight(const QString &text) const = 0;

    virtual void setCurrentX(double x) = 0;
    virtual void setCurrentY(double y) = 0;
    virtual double currentX() const = 0;
    virtual double currentY() const = 0;
    /// Draws \a text with the top of its line box at (currentX, currentY), then moves
    /// to the start of the next line.
    virtual void print(const QString &text) = 0;

    virtual qint64 width() const = 0;
    virtual qint64 height() const = 0;
    virtual void setWidth(qint64 twips) = 0;
    virtual void setHeight(qint64 twips) = 0;
    virtual qint64 scaleWidth() const = 0;
    virtual qint64 scaleHeight() const = 0;
    virtual void setScaleLeft(double twips) = 0;
    virtual void setScaleTop(double twips) = 0;

    virtual void cls() = 0;
    virtual void refresh() = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
};

} // namespace qm
