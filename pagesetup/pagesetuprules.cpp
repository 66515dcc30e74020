#include "pagesetup/pagesetuprules.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qm {

namespace {

// Half of the paper beyond the printable area; kept inside what a 16-bit margin can hold.
double halfExcess(double paper, double printable)
{
    const double excess = (paper - printable) / 2;
    if (!std::isfinite(excess) || excess <= 0)
        return 0;
    return std::min(excess, double(std::numeric_limits<qint16>::max()));
}

} // namespace

MarginMinimums marginMinimums(QSizeF paperTwips, QSizeF printableTwips)
{
    return { halfExcess(paperTwips.width(), printableTwips.width()),
             halfExcess(paperTwips.height(), printableTwips.height()) };
}

QString marginText(double twips, float unitFactor)
{
    // The value in the unit is single precision, as the unit factor is: 2268 twips are
    // 1.575 in, which a double holds a hair below the half and would show as 1.57.
    // A factor of 0 cannot come from the selector; show the twips rather than infinity.
    const float value = unitFactor != 0 ? float(twips) / unitFactor : float(twips);
    return fixed2Text(double(value));
}

qint16 committedMargin(double valueInUnit, float unitFactor, double minimum)
{
    const double twips = valueInUnit * double(unitFactor);
    // NaN (0 × infinity) fails every comparison; it reads as nothing typed.
    double margin = std::isnan(twips) ? 0 : twips;
    if (margin > LargestMargin)
        margin = LargestMargin;
    else
        margin = double(roundHalfEven(margin));
    if (margin < minimum)
        margin = double(roundHalfEven(minimum));
    // Only a value below every minimum can still be out of range; the smallest minimum is 0.
    return qint16(std::clamp(margin, 0.0, double(std::numeric_limits<qint16>::max())));
}

QString shareText(float share)
{
    return wholeText(double(share * 100.0f));
}

ColumnShares committedShare(ColumnShares shares, PageSetupField field, double share)
{
    const auto limited = [](double value) {
        if (std::isnan(value))
            return 0.0f;
        return float(std::clamp(value, -double(std::numeric_limits<float>::max()),
                                double(std::numeric_limits<float>::max())));
    };
    switch (field) {
    case PageSetupField::Name: {
        float name = limited(share);
        if (name > float(LargestNameShare))
            name = float(LargestNameShare);
        if (name < float(SmallestNameShare))
            name = float(SmallestNameShare);
        shares.name = name;
        shares.size = shares.dateTime = (1 - name) / 2;
        break;
    }
    case PageSetupField::Size:
    case PageSetupField::DateTime: {
        float value = limited(share);
        constexpr float smallest = float(SmallestOtherShare);
        const float upper = 1 - shares.name - smallest;
        if (value < smallest)
            value = smallest;
        else if (value > upper)
            value = upper;
        const float rest = 1 - shares.name - value;
        if (field == PageSetupField::Size) {
            shares.size = value;
            shares.dateTime = rest;
        } else {
            shares.dateTime = value;
            shares.size = rest;
        }
        break;
    }
    default:
        break;
    }
    return shares;
}

FontChoice fontChoiceOf(const CatalogueFont &font, qint32 colour)
{
    FontChoice choice;
    choice.name = font.name;
    choice.size = font.size;
    choice.bold = font.bold;
    choice.italic = font.italic;
    choice.underline = font.underline;
    choice.strikethru = font.strikethru;
    choice.colour = colour;
    return choice;
}

void applyFontChoice(const FontChoice &choice, CatalogueFont &font, qint32 &colour)
{
    colour = choice.colour;
    font.name = choice.name;
    font.bold = choice.bold;
    font.italic = choice.italic;
    font.underline = choice.underline;
    font.strikethru = choice.strikethru;
    // A chooser never offers a size of 0 or less; should one come, the old size stays.
    if (choice.size > 0)
        font.size = std::min(choice.size, LargestCatalogueFontSize);
}

bool pageSetupKeyPasses(int key, Qt::KeyboardModifiers modifiers)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return true;
    switch (key) {
    case Qt::Key_Period:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    case Qt::Key_Comma:
        return modifiers.testFlag(Qt::KeypadModifier);
    default:
        return false;
    }
}

} // namespace qm
