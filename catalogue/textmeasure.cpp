#include "catalogue/textmeasure.h"

#include "catalogue/linegeometry.h"
#include "platform/uifonts.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Characters measured one by one: beyond this the table would grow for little gain.
constexpr char16_t TableEnd = 0x20D0;

// Scripts and symbols that the font system never shapes when optional shaping is off:
// Basic Latin, Latin-1, Latin Extended A and B, IPA, spacing modifiers, Greek, Cyrillic,
// Latin Extended Additional, general punctuation without the invisible controls, and the
// currency signs. Combining marks and everything else are measured whole.
bool measuredAlone(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c < 0x300) || (c >= 0x370 && c < 0x500)
        || (c >= 0x1E00 && c < 0x1F00) || (c >= 0x2000 && c < 0x200B) || (c >= 0x2010 && c < 0x2028)
        || c == 0x202F || (c >= 0x2030 && c < 0x205F) || (c >= 0x20A0 && c < TableEnd);
}

} // namespace

QFont outputFont(const QString &name, double points, bool bold, bool italic, bool underline,
                 bool strikethru)
{
    // Sizes the font system cannot render are brought into range.
    const double size = std::isfinite(points) ? std::clamp(points, 1.0, 2048.0) : 1.0;
    QFont font = designFont(name, size, bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikethru);
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QFont outputFont(const CatalogueFont &font)
{
    return outputFont(font.name, font.size, font.bold, font.italic, font.underline,
                      font.strikethru);
}

TextMeasure::TextMeasure(const QFont &font, const QPaintDevice *device)
    : m_font(font)
    , m_metrics(device ? QFontMetricsF(font, device) : QFontMetricsF(font))
    , m_height(m_metrics.height())
    , m_ascent(m_metrics.ascent())
{
    if (font.kerning() || !(font.styleStrategy() & QFont::PreferNoShaping))
        return;
    m_advances.reset(new double[TableEnd]);
    std::fill_n(m_advances.get(), TableEnd, std::numeric_limits<double>::quiet_NaN());
    // Trust adding up only where it agrees with the whole measurement.
    m_additive = true;
    for (const QString &probe : { MetricsSample.toString(), u"fi fl ffi AV To 11 W.,"_s }) {
        double sum = 0;
        if (!addUp(probe, sum) || sum != m_metrics.horizontalAdvance(probe)) {
            m_additive = false;
            break;
        }
    }
}

TextMeasure::~TextMeasure() = default;

bool TextMeasure::addUp(const QString &text, double &width) const
{
    double sum = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (!measuredAlone(c))
            return false;
        double &advance = m_advances[c];
        if (std::isnan(advance))
            advance = m_metrics.horizontalAdvance(ch);
        sum += advance;
    }
    width = sum;
    return true;
}

double TextMeasure::horizontalAdvance(const QString &text) const
{
    double width = 0;
    if (m_additive && addUp(text, width))
        return width;
    return m_metrics.horizontalAdvance(text);
}

const TextMeasure &TextMeasures::of(const QFont &font)
{
    const auto found = std::find_if(
        m_measures.begin(), m_measures.end(),
        [&](const std::unique_ptr<TextMeasure> &measure) { return measure->font() == font; });
    if (found != m_measures.end())
        return **found;
    if (m_measures.size() >= Kept)
        m_measures.erase(m_measures.begin());
    m_measures.push_back(std::make_unique<TextMeasure>(font, m_device));
    return *m_measures.back();
}

} // namespace qm
