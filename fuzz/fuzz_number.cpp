// The leading-number reader against the C library's own reading of the same digits, and
// the sign-position text read back.

#include "platform/numbers.h"

#include <QString>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The number the text starts with, spelled out for strtod; empty when there is none.
std::string leadingToken(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && isBlank(text[at].unicode()))
        ++at;
    std::string token;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        token += char(text[at++].unicode());
    int digits = 0;
    while (at < text.size() && isDigit(text[at].unicode())) {
        token += char(text[at++].unicode());
        ++digits;
    }
    if (at < text.size() && text[at] == u'.') {
        token += '.';
        ++at;
        while (at < text.size() && isDigit(text[at].unicode())) {
            token += char(text[at++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return {};
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        std::string exponent = "e";
        qsizetype look = at + 1;
        if (look < text.size() && (text[look] == u'+' || text[look] == u'-'))
            exponent += char(text[look++].unicode());
        if (look < text.size() && isDigit(text[look].unicode())) {
            while (look < text.size() && isDigit(text[look].unicode()))
                exponent += char(text[look++].unicode());
            token += exponent;
        }
    }
    return token;
}

void check(QStringView text)
{
    const double value = qm::leadingNumber(text);
    require(!std::isnan(value));
    const std::optional<double> any = qm::leadingNumberIfAny(text);
    const std::optional<double> whole = qm::numberText(text);
    const std::string token = leadingToken(text);
    if (token.empty()) {
        require(value == 0 && !any && !whole);
        return;
    }
    require(any && (*any == value || (std::isnan(*any) && std::isnan(value))));
    if (whole)
        require(*whole == value);

    const double expected = std::strtod(token.c_str(), nullptr);
    if (std::fabs(expected) < DBL_MIN) // beneath the normal range either 0 or the tiny value
        require(value == 0 || value == expected);
    else
        require(value == expected);

    const qint64 rounded = qm::roundHalfEven(value);
    if (std::isfinite(value) && std::fabs(value) < 1e18)
        require(std::fabs(double(rounded) - value) <= 0.5);
    if (const std::optional<qint64> inRange = qm::roundHalfEvenIn(value, -32768, 32767))
        require(*inRange >= -32768 && *inRange <= 32767 && *inRange == rounded);

    // Fifteen digits read back to within their last place.
    if (std::isfinite(value) && std::fabs(value) < 1e300) {
        const double back = qm::leadingNumber(qm::signPositionText(value));
        require(std::fabs(back - value) <= std::fabs(value) * 1e-14);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto *bytes = reinterpret_cast<const char *>(data);
    check(QString::fromUtf8(bytes, qsizetype(size)));
    check(QString::fromLatin1(bytes, qsizetype(size)));
    return 0;
}
