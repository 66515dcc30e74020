#pragma once

#include "catalogue/cataloguestate.h"
#include "catalogue/pagelimits.h"
#include "platform/questions.h"
#include "platform/units.h"

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtCore/qnamespace.h>

#include <optional>

namespace qm {

/// The seven number fields of Page Setup, in their tab order.
enum class PageSetupField { Left, Right, Top, Bottom, Name, Size, DateTime };
inline constexpr int PageSetupFieldCount = 7;

inline bool isMarginField(PageSetupField field)
{
    return field <= PageSetupField::Bottom;
}

/// The least margin the printer can print to, per side, in twips: half of what its paper has
/// beyond the printable area along each axis. Zero when no printer is known.
struct MarginMinimums
{
    double horizontal = 0; // left and right
    double vertical = 0; // top and bottom
    friend bool operator==(const MarginMinimums &, const MarginMinimums &) = default;
};

/// The minimums of a printer whose paper and printable area measure \a paperTwips and
/// \a printableTwips. A printable area larger than the paper (a confused driver) gives 0.
MarginMinimums marginMinimums(QSizeF paperTwips, QSizeF printableTwips);

/// A chosen catalogue font larger than this many points is taken at this size.
inline constexpr double LargestCatalogueFontSize = 48;

/// A margin as shown in its field: \a twips in the unit of \a unitFactor, "#0.00".
QString marginText(double twips, float unitFactor);

/// The margin set by a typed \a valueInUnit: at most LargestMargin twips (tested before any
/// narrowing, so no value overflows), else the nearest whole twip, halves to even; then at least \a
/// minimum, taken to the nearest whole twip.
qint16 committedMargin(double valueInUnit, float unitFactor, double minimum);

/// A column share as shown in its field: percent, "#0".
QString shareText(float share);

struct ColumnShares
{
    float name = 0; // Column0
    float size = 0; // Column1
    float dateTime = 0; // Column2
    friend bool operator==(const ColumnShares &, const ColumnShares &) = default;
};

/// The shares after \a share (a fraction, not percent) is committed in the column field
/// \a field: clamped to that field's limits, tested in their order, and the others balanced
/// so that the three add up to 1.
ColumnShares committedShare(ColumnShares shares, PageSetupField field, double share);

/// The font chooser's preset from the catalogue font and colour.
FontChoice fontChoiceOf(const CatalogueFont &font, qint32 colour);

/// Takes a chosen font and colour; a size above 48 points becomes 48.
void applyFontChoice(const FontChoice &choice, CatalogueFont &font, qint32 &colour);

/// Whether a key reaches the dialog's controls. Digits (main keyboard and keypad), the
/// decimal point, Enter, Backspace, Delete, Insert, Home, End, Left and Right do; Tab and
/// Shift+Tab move the focus and pass too; every other key is discarded. The keypad's decimal
/// key passes whichever sign the keyboard layout gives it.
bool pageSetupKeyPasses(int key, Qt::KeyboardModifiers modifiers);

} // namespace qm
