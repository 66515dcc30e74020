#pragma once

#include "catalogue/cataloguestate.h"

#include <QString>
#include <QtGlobal>

namespace qm {

/// How text is set on a target: the six font attributes and the colour.
struct TextStyle
{
    CatalogueFont font;
    qint32 colour = 0; // &H00BBGGRR

    friend bool operator==(const TextStyle &, const TextStyle &) = default;
};

/// A surface the catalogue writer draws on: the preview picture, a printer page, or a
/// recording test double. Every length is in twips, in the target's own user scale.
/// Each target measures text on the device that draws it.
class OutputTarget
{
public:
    virtual ~OutputTarget() = default;

    // The text style lives here once, for every target; a target hears of each change
    // through styleChanged().
    void setFontName(const QString &name);
    void setFontSize(double points);
    void setFontBold(bool on);
    void setFontItalic(bool on);
    void setFontUnderline(bool on);
    void setFontStrikethru(bool on);
    /// Colour as &H00BBGGRR.
    void setForeColor(qint32 colour);
    const TextStyle &textStyle() const { return m_style; }
    bool fontBold() const { return m_style.font.bold; }
    double fontSize() const { return m_style.font.size; }
    qint32 foreColor() const { return m_style.colour; }

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
    /// True once the target can take no more output (a printer that could not start).
    virtual bool failed() const { return false; }

protected:
    enum class StyleChange {
        FontName,
        FontSize,
        FontBold,
        FontItalic,
        FontUnderline,
        FontStrikethru,
        ForeColor
    };

    explicit OutputTarget(const TextStyle &initial = {})
        : m_style(initial)
    {
    }
    /// After every setter, also one that sets the value the style already had.
    virtual void styleChanged(StyleChange change) = 0;

private:
    TextStyle m_style;
};

inline void OutputTarget::setFontName(const QString &name)
{
    m_style.font.name = name;
    styleChanged(StyleChange::FontName);
}

inline void OutputTarget::setFontSize(double points)
{
    m_style.font.size = points;
    styleChanged(StyleChange::FontSize);
}

inline void OutputTarget::setFontBold(bool on)
{
    m_style.font.bold = on;
    styleChanged(StyleChange::FontBold);
}

inline void OutputTarget::setFontItalic(bool on)
{
    m_style.font.italic = on;
    styleChanged(StyleChange::FontItalic);
}

inline void OutputTarget::setFontUnderline(bool on)
{
    m_style.font.underline = on;
    styleChanged(StyleChange::FontUnderline);
}

inline void OutputTarget::setFontStrikethru(bool on)
{
    m_style.font.strikethru = on;
    styleChanged(StyleChange::FontStrikethru);
}

inline void OutputTarget::setForeColor(qint32 colour)
{
    m_style.colour = colour;
    styleChanged(StyleChange::ForeColor);
}

} // namespace qm
