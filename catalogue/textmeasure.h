#pragma once

#include "catalogue/cataloguestate.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <memory>
#include <vector>

class QPaintDevice;

namespace qm {

/// The font catalogue text is set in on screen and paper: the named face (or its
/// metric-compatible stand-in), without kerning and without optional shaping. A column listing
/// gains nothing from kerning or ligatures, and without them a text is exactly as wide as its
/// characters together, which lets a million-line catalogue be measured quickly. Scripts
/// that cannot be read unshaped are still shaped.
QFont outputFont(const QString &name, double points, bool bold, bool italic, bool underline,
                 bool strikethru);
QFont outputFont(const CatalogueFont &font);

/// Measures text in one font on one device (the screen when none is given), in the
/// device's pixels, exactly as QFontMetricsF does. Characters of the common alphabetic
/// scripts, digits and punctuation are measured once each and added up; any other text is
/// measured whole.
class TextMeasure
{
public:
    explicit TextMeasure(const QFont &font, const QPaintDevice *device = nullptr);
    ~TextMeasure();
    TextMeasure(const TextMeasure &) = delete;
    TextMeasure &operator=(const TextMeasure &) = delete;

    double horizontalAdvance(const QString &text) const;
    double height() const { return m_height; }
    double ascent() const { return m_ascent; }
    const QFont &font() const { return m_font; }

private:
    bool addUp(const QString &text, double &width) const;

    QFont m_font;
    QFontMetricsF m_metrics;
    double m_height;
    double m_ascent;
    bool m_additive = false;
    std::unique_ptr<double[]> m_advances; // by UTF-16 code, NaN until measured
};

/// The measurements of the few fonts a target uses in turn (the catalogue font, the bold one
/// of a header or the invitation), kept so that switching back and forth measures nothing
/// twice.
class TextMeasures
{
public:
    explicit TextMeasures(const QPaintDevice *device = nullptr)
        : m_device(device)
    {
    }

    /// The measure of \a font on the device, made on first use.
    const TextMeasure &of(const QFont &font);

private:
    static constexpr size_t Kept = 4;
    const QPaintDevice *m_device;
    std::vector<std::unique_ptr<TextMeasure>> m_measures;
};

} // namespace qm
