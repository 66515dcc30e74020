#include "platform/numbers.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace qm {

namespace {

// Rounds without depending on the floating-point environment's rounding mode.
double roundHalfEvenToDouble(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down; // exact for every finite double
    if (fraction > 0.5)
        return down + 1.0;
    if (fraction < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
        || c == QLatin1Char('\n');
}

// "%.*g"-like text: locale-independent, trailing zeros dropped.
template<typename Float> QString generalText(Float value, int significantDigits)
{
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, significantDigits);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

template<typename Float> QString signPosition(Float value, int significantDigits)
{
    if (!std::isfinite(value) || value == 0)
        return QStringLiteral(" 0");
    QString digits = generalText(std::fabs(value), significantDigits);
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    return (value < 0 ? QLatin1Char('-') : QLatin1Char(' ')) + digits;
}

QString groupDigits(QString digits, bool negative)
{
    QString separator = QLocale().groupSeparator();
    if (separator.isEmpty())
        separator = QStringLiteral(",");
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, separator);
    return negative ? QLatin1Char('-') + digits : digits;
}

QString fixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        value = 0;
    // Enough room for the largest double written out in full.
    std::array<char, 400> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    QString text = QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (const QChar c : text)
            allZero = allZero
                && (c == QLatin1Char('-') || c == QLatin1Char('0') || c == QLatin1Char('.'));
        if (allZero)
            text.remove(0, 1);
    }
    return text;
}

// The power of ten of the first significant digit of a well-formed number text; tells an
// overflow (positive) from an underflow when the text does not fit a double.
long long decimalMagnitude(const std::string &number)
{
    const auto ePos = number.find('e');
    const std::string mantissa = number.substr(0, ePos);
    long long exponent = 0;
    if (ePos != std::string::npos) {
        const char *first = number.data() + ePos + 1;
        if (*first == '+')
            ++first;
        const auto parsed = std::from_chars(first, number.data() + number.size(), exponent);
        if (parsed.ec == std::errc::result_out_of_range)
            exponent = *first == '-' ? -1'000'000'000LL : 1'000'000'000LL;
        exponent = std::clamp(exponent, -1'000'000'000LL, 1'000'000'000LL);
    }
    const auto point = std::min(mantissa.find('.'), mantissa.size());
    const auto firstDigit = mantissa.find_first_of("123456789");
    if (firstDigit == std::string::npos)
        return std::numeric_limits<long long>::min();
    const long long position = firstDigit < point ? static_cast<long long>(point - firstDigit - 1)
                                                  : -static_cast<long long>(firstDigit - point);
    return position + exponent;
}

// Reads the number at the start of \a text (after blanks); \a end receives the position just
// after it, or 0 when there is no number.
double scanNumber(QStringView text, qsizetype *end)
{
    *end = 0;
    qsizetype at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;

    std::string number;
    if (at < text.size() && (text[at] == QLatin1Char('+') || text[at] == QLatin1Char('-'))) {
        if (text[at] == QLatin1Char('-'))
            number += '-';
        ++at;
    }
    qsizetype digitCount = 0;
    while (at < text.size() && isAsciiDigit(text[at])) {
        number += static_cast<char>(text[at++].unicode());
        ++digitCount;
    }
    if (at < text.size() && text[at] == QLatin1Char('.')) {
        number += '.';
        ++at;
        while (at < text.size() && isAsciiDigit(text[at])) {
            number += static_cast<char>(text[at++].unicode());
            ++digitCount;
        }
    }
    if (digitCount == 0)
        return 0;

    // An exponent counts only when it has digits; "2e" reads as 2.
    if (at < text.size() && (text[at] == QLatin1Char('e') || text[at] == QLatin1Char('E'))) {
        qsizetype look = at + 1;
        std::string exponent = "e";
        if (look < text.size()
            && (text[look] == QLatin1Char('+') || text[look] == QLatin1Char('-')))
            exponent += static_cast<char>(text[look++].unicode());
        if (look < text.size() && isAsciiDigit(text[look])) {
            while (look < text.size() && isAsciiDigit(text[look]))
                exponent += static_cast<char>(text[look++].unicode());
            number += exponent;
            at = look;
        }
    }

    *end = at;
    double value = 0;
    const char *first = number.data();
    const char *last = first + number.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        const bool negative = number.front() == '-';
        if (decimalMagnitude(number) > 0)
            return negative ? -std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::infinity();
        return negative ? -0.0 : 0.0;
    }
    return value;
}

} // namespace

qint64 roundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = roundHalfEvenToDouble(value);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (rounded >= limit)
        return std::numeric_limits<qint64>::max();
    if (rounded < -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(rounded);
}

std::optional<qint64> roundHalfEvenIn(double value, qint64 lowest, qint64 highest)
{
    if (std::isnan(value))
        return std::nullopt;
    const double rounded = roundHalfEvenToDouble(value);
    if (rounded < static_cast<double>(lowest) || rounded > static_cast<double>(highest))
        return std::nullopt;
    const qint64 whole = roundHalfEven(value);
    if (whole < lowest || whole > highest)
        return std::nullopt;
    return whole;
}

double leadingNumber(QStringView text)
{
    qsizetype end = 0;
    return scanNumber(text, &end);
}

std::optional<double> leadingNumberIfAny(QStringView text)
{
    qsizetype end = 0;
    const double value = scanNumber(text, &end);
    if (end == 0)
        return std::nullopt;
    return value;
}

std::optional<double> numberText(QStringView text)
{
    qsizetype end = 0;
    const double value = scanNumber(text, &end);
    if (end == 0)
        return std::nullopt;
    while (end < text.size() && isBlank(text[end]))
        ++end;
    if (end != text.size())
        return std::nullopt;
    return value;
}

QString signPositionText(double value)
{
    return signPosition(value, 15);
}

QString signPositionText(float value)
{
    return signPosition(value, 7);
}

QString groupedNumber(qint64 value)
{
    const bool negative = value < 0;
    // Negate in unsigned arithmetic so the most negative value has a magnitude too.
    const quint64 magnitude
        = negative ? quint64(0) - static_cast<quint64>(value) : static_cast<quint64>(value);
    return groupDigits(QString::number(magnitude), negative);
}

QString groupedNumber(quint64 value)
{
    return groupDigits(QString::number(value), false);
}

QString fixed2Text(double value)
{
    return fixedText(value, 2);
}

QString wholeText(double value)
{
    return fixedText(value, 0);
}

} // namespace qm
