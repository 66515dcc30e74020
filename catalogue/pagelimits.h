#pragma once

namespace qm {

// What Page Setup lets the page settings be, and so what the stored settings are brought
// back into when they are read.

/// The largest margin, in twips, unless the printer's own minimum is larger.
inline constexpr int LargestMargin = 3000;

/// The name column's share of the print width.
inline constexpr double SmallestNameShare = 0.2;
inline constexpr double LargestNameShare = 0.7;
/// The least share of the size column and of the date column.
inline constexpr double SmallestOtherShare = 0.15;

} // namespace qm
