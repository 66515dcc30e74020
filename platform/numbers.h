#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <limits>
#include <optional>

namespace qm {

/// Nearest whole number, a half going to the even neighbour (2.5 → 2, 3.5 → 4, -2.5 → -2).
/// NaN gives 0; values beyond the 64-bit range saturate.
qint64 roundHalfEven(double value);

/// \a value taken to the nearest end of int's range when it lies beyond.
constexpr int clampToInt(qint64 value)
{
    return value < std::numeric_limits<int>::min() ? std::numeric_limits<int>::min()
        : value > std::numeric_limits<int>::max()  ? std::numeric_limits<int>::max()
                                                   : int(value);
}

/// \a total + \a more, or the largest quint64 where the sum would wrap: byte totals saturate.
constexpr quint64 saturatingAdd(quint64 total, quint64 more)
{
    return more > std::numeric_limits<quint64>::max() - total ? std::numeric_limits<quint64>::max()
                                                              : total + more;
}

/// Like roundHalfEven(), but nullopt when the value is NaN or its rounded value lies outside
/// lowest..highest, so a caller can fall back instead of wrapping or clamping.
std::optional<qint64> roundHalfEvenIn(double value, qint64 lowest, qint64 highest);

/// The leading numeric part of a typed or stored text: leading blanks skipped, an optional
/// sign, digits with "." as decimal point and an optional exponent ("1.5e3"). Text without
/// a number reads as 0 ("abc", "", "-", "."). A number too large for a double reads as ±infinity.
double leadingNumber(QStringView text);

/// The leading numeric part as leadingNumber() reads it, or nullopt when the text does not
/// start with a number at all, so that a caller can tell "0" from garbage.
std::optional<double> leadingNumberIfAny(QStringView text);

/// The number that \a text holds in full (blanks around it allowed), read as leadingNumber()
/// reads it; nullopt when anything else is in the text or there is no number.
std::optional<double> numberText(QStringView text);

/// Number text in sign-position form: one blank before a non-negative number, "-" before a
/// negative one, no digit grouping, "." as point, no trailing zeros and no zero before the
/// point below 1 (" 1134", " .6", "-.5", " 0"). Doubles keep 15 significant digits, floats 7,
/// so 0.15f gives " .15". Very large or small magnitudes use an exponent (" 1e+20"), which
/// leadingNumber() reads back. A value that is not finite gives " 0".
QString signPositionText(double value);
QString signPositionText(float value);

/// "#,##0": ASCII digits in groups of three joined by QLocale()'s group separator. Grouping
/// is applied even where the locale would omit it (the C locale groups with ",").
QString groupedNumber(qint64 value);
QString groupedNumber(quint64 value);

/// "#0.00" and "#0". These are the forms a user types back into number fields, which are read
/// with "." as decimal point whatever the locale, so they are written with "." too. Halves go
/// to the even neighbour; a negative value that rounds to zero shows no minus sign; a value
/// that is not finite shows as zero.
QString fixed2Text(double value);
QString wholeText(double value);

} // namespace qm
