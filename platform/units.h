#pragma once

#include <QPageSize>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace qm {

// Twips in the units that margins are shown in. The millimetre here is a tenth of the
// centimetre, as Page Setup has always counted it; a length on paper takes the true one.
inline constexpr double TwipsPerInch = 1440.0;
inline constexpr double TwipsPerCm = 567.0;
inline constexpr double TwipsPerMm = 56.7;

/// A true millimetre, 1440 / 25.4 twips: a page size defined in millimetres needs it exact
/// (A4 is 210 mm, 11,906 twips, wide).
inline constexpr double TwipsPerTrueMm = TwipsPerInch / 25.4;
/// A typographic point, exactly.
inline constexpr double TwipsPerPoint = 20.0;

/// The units Page Setup offers, in its selector's order: "cm", "mm", "in".
QStringList measurementUnits();

/// Twips per \a unit for the offered units; nullopt for any other text (case matters).
std::optional<float> unitFactorOf(QStringView unit);

/// Twips per unit of a page size or page layout measured in \a unit, exactly.
double twipsPer(QPageSize::Unit unit);

} // namespace qm
