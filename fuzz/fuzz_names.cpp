// The one text form of names: whatever bytes a name holds, its text never breaks a line,
// never hides a character, never starts or ends with a blank, and (without backslashes in
// the name) can be read back to the exact bytes.

#include "platform/filenames.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isInvisible(char32_t c)
{
    return c == 0x00AD || c == 0x034F || c == 0x061C || (c >= 0x115F && c <= 0x1160)
        || (c >= 0x17B4 && c <= 0x17B5) || (c >= 0x180B && c <= 0x180F)
        || (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E)
        || (c >= 0x2060 && c <= 0x206F) || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F)
        || c == 0xFEFF || c == 0xFFA0 || (c >= 0xFFF0 && c <= 0xFFF8)
        || (c >= 0x1BCA0 && c <= 0x1BCA3) || (c >= 0x1D173 && c <= 0x1D17A)
        || (c >= 0xE0000 && c <= 0xE0FFF) || (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

bool isSpace(char32_t c)
{
    return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F
        || c == 0x205F || c == 0x3000;
}

void appendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::optional<char32_t> hexValue(const QList<uint> &text, qsizetype from, int digits)
{
    if (from + digits > text.size())
        return std::nullopt;
    char32_t value = 0;
    for (int i = 0; i < digits; ++i) {
        const uint c = text[from + i];
        const int digit = (c >= '0' && c <= '9') ? int(c - '0')
            : (c >= 'a' && c <= 'f')             ? int(c - 'a' + 10)
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + char32_t(digit);
    }
    return value;
}

// The bytes a text form stands for, escapes undone.
QByteArray readBack(const QList<uint> &text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            appendUtf8(bytes, text[i]);
            continue;
        }
        const uint kind = text[i + 1];
        const int digits = kind == 'x' ? 2 : kind == 'u' ? 4 : kind == 'U' ? 8 : 0;
        if (kind == 'n' || kind == 't') {
            bytes += kind == 'n' ? '\n' : '\t';
            ++i;
        } else if (const std::optional<char32_t> value
                   = digits ? hexValue(text, i + 2, digits) : std::nullopt) {
            if (kind == 'x')
                bytes += char(*value);
            else
                appendUtf8(bytes, *value);
            i += 1 + digits;
        } else {
            require(false); // a backslash the name did not hold
        }
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray name(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = qm::displayName(name);

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        require(c.unicode() >= 0x20 && c.unicode() != 0x7F);
        require(!(c.unicode() >= 0x80 && c.unicode() <= 0x9F));
        if (c.isHighSurrogate())
            require(i + 1 < text.size() && text[++i].isLowSurrogate());
        else
            require(!c.isLowSurrogate());
    }
    const QList<uint> codePoints = text.toUcs4();
    for (const uint c : codePoints)
        require(!isInvisible(c));
    if (!codePoints.isEmpty())
        require(!isSpace(codePoints.first()) && !isSpace(codePoints.last()));

    if (qm::isPlainAscii(name))
        require(text == QString::fromLatin1(name));
    if (!name.contains('\\'))
        require(readBack(codePoints) == name);
    return 0;
}
