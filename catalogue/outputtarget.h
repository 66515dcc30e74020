#pragma once

#include "catalogue/cataloguestate.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>

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
///
/// What every target keeps alike lives here once: the text style, the current position,
/// the size, the part of it that is drawn on and the origin of the scale. A target hears of
/// each change through changed().
class OutputTarget
{
public:
    virtual ~OutputTarget() = default;

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

    void setCurrentX(double x) { m_x = x; }
    void setCurrentY(double y) { m_y = y; }
    double currentX() const { return m_x; }
    double currentY() const { return m_y; }
    /// Draws \a text with the top of its line box at (currentX, currentY), then moves
    /// to the start of the next line.
    void print(const QString &text);

    qint64 width() const { return m_width; }
    qint64 height() const { return m_height; }
    /// Sizes a picture; a page keeps the size of its paper.
    void setWidth(qint64 twips);
    void setHeight(qint64 twips);
    /// The part that is drawn on: all of a picture, the printable area of a page.
    qint64 scaleWidth() const { return m_scaleFollowsSize ? m_width : m_scaleWidth; }
    qint64 scaleHeight() const { return m_scaleFollowsSize ? m_height : m_scaleHeight; }
    /// The coordinates of that part's top-left corner.
    double scaleLeft() const { return m_scaleLeft; }
    double scaleTop() const { return m_scaleTop; }
    void setScaleLeft(double twips);
    void setScaleTop(double twips);

    virtual void cls() = 0;
    virtual void refresh() = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
    /// True once the target can take no more output (a printer that could not start).
    virtual bool failed() const { return false; }

protected:
    enum class Change {
        FontName,
        FontSize,
        FontBold,
        FontItalic,
        FontUnderline,
        FontStrikethru,
        ForeColor,
        Width,
        Height,
        ScaleLeft,
        ScaleTop,
    };
    static bool isFontChange(Change change) { return change <= Change::FontStrikethru; }

    explicit OutputTarget(const TextStyle &initial = {}, qint64 width = 0, qint64 height = 0)
        : m_style(initial)
        , m_width(width)
        , m_height(height)
    {
    }

    /// After every setter, also one that sets the value already there. Not called for
    /// the current position, which only print() reads.
    virtual void changed(Change) { }
    /// Draws \a text with the top of its line box at (\a x, \a y).
    virtual void drawText(double x, double y, const QString &text) = 0;

    /// The next text at the top-left corner of the drawn part: after clearing, on a new page.
    void home()
    {
        m_x = m_scaleLeft;
        m_y = m_scaleTop;
    }
    /// A drawn part smaller than the size, as a printer's printable area; until this is
    /// called it is the whole size.
    void setScaleSize(qint64 width, qint64 height)
    {
        m_scaleFollowsSize = false;
        m_scaleWidth = width;
        m_scaleHeight = height;
    }
    /// The size is the paper's: setWidth() and setHeight() leave it as it is.
    void fixSize(qint64 width, qint64 height, qint64 scaleWidth, qint64 scaleHeight)
    {
        m_width = width;
        m_height = height;
        setScaleSize(scaleWidth, scaleHeight);
        m_sizeFixed = true;
    }

private:
    TextStyle m_style;
    double m_x = 0;
    double m_y = 0;
    qint64 m_width;
    qint64 m_height;
    qint64 m_scaleWidth = 0;
    qint64 m_scaleHeight = 0;
    bool m_scaleFollowsSize = true;
    bool m_sizeFixed = false;
    double m_scaleLeft = 0;
    double m_scaleTop = 0;
};

inline void OutputTarget::setFontName(const QString &name)
{
    m_style.font.name = name;
    changed(Change::FontName);
}

inline void OutputTarget::setFontSize(double points)
{
    m_style.font.size = points;
    changed(Change::FontSize);
}

inline void OutputTarget::setFontBold(bool on)
{
    m_style.font.bold = on;
    changed(Change::FontBold);
}

inline void OutputTarget::setFontItalic(bool on)
{
    m_style.font.italic = on;
    changed(Change::FontItalic);
}

inline void OutputTarget::setFontUnderline(bool on)
{
    m_style.font.underline = on;
    changed(Change::FontUnderline);
}

inline void OutputTarget::setFontStrikethru(bool on)
{
    m_style.font.strikethru = on;
    changed(Change::FontStrikethru);
}

inline void OutputTarget::setForeColor(qint32 colour)
{
    m_style.colour = colour;
    changed(Change::ForeColor);
}

inline void OutputTarget::print(const QString &text)
{
    drawText(m_x, m_y, text);
    m_x = m_scaleLeft;
    m_y += textHeight(text);
}

inline void OutputTarget::setWidth(qint64 twips)
{
    if (m_sizeFixed)
        return;
    m_width = std::max<qint64>(twips, 0);
    changed(Change::Width);
}

inline void OutputTarget::setHeight(qint64 twips)
{
    if (m_sizeFixed)
        return;
    m_height = std::max<qint64>(twips, 0);
    changed(Change::Height);
}

inline void OutputTarget::setScaleLeft(double twips)
{
    m_scaleLeft = twips;
    changed(Change::ScaleLeft);
}

inline void OutputTarget::setScaleTop(double twips)
{
    m_scaleTop = twips;
    changed(Change::ScaleTop);
}

} // namespace qm
