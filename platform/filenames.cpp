#include "platform/filenames.h"

#include "platform/asciibytes.h"

#include <QVarLengthArray>

#include <cstring>

namespace qm {

namespace {

void appendHexEscape(QString &out, char kind, char32_t value, int digits)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += QLatin1Char('\\');
    out += QLatin1Char(kind);
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += QLatin1Char(hex[(value >> shift) & 0xf]);
}

/// Characters that reorder text or end a line, which a name must never do to an output.
bool isLayoutControl(char32_t c)
{
    if (c == 0x2028 || c == 0x2029) // line and paragraph separators
        return true;
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E
        || c == 0x200F || c == 0x061C;
}

/// Code points that draw nothing (Unicode's default-ignorable set): a name made of them
/// looks blank, or exactly like the name without them.
bool isDefaultIgnorable(char32_t c)
{
    struct Range
    {
        char32_t first, last;
    };
    static constexpr Range ranges[] = {
        { 0x00AD, 0x00AD },   { 0x034F, 0x034F }, { 0x061C, 0x061C },   { 0x115F, 0x1160 },
        { 0x17B4, 0x17B5 },   { 0x180B, 0x180F }, { 0x200B, 0x200F },   { 0x202A, 0x202E },
        { 0x2060, 0x206F },   { 0x3164, 0x3164 }, { 0xFE00, 0xFE0F },   { 0xFEFF, 0xFEFF },
        { 0xFFA0, 0xFFA0 },   { 0xFFF0, 0xFFF8 }, { 0x1BCA0, 0x1BCA3 }, { 0x1D173, 0x1D17A },
        { 0xE0000, 0xE0FFF },
    };
    if (c < 0xAD)
        return false;
    for (const Range &range : ranges) {
        if (c < range.first)
            return false;
        if (c <= range.last)
            return true;
    }
    return false;
}

/// Code points that Unicode promises never to assign: no font draws them.
bool isNoncharacter(char32_t c)
{
    return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

/// Blanks that are easy to miss at either end of a name ("a.txt " passes for "a.txt").
bool isSpace(char32_t c)
{
    return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F
        || c == 0x205F || c == 0x3000;
}

void appendUnicodeEscape(QString &out, char32_t c)
{
    if (c > 0xFFFF)
        appendHexEscape(out, 'U', c, 8);
    else
        appendHexEscape(out, 'u', c, 4);
}

void appendCodePoint(QString &out, char32_t c, bool atEdge)
{
    if (c < 0x20 || c == 0x7F || (c == 0x20 && atEdge)) {
        switch (c) {
        case U'\n':
            out += QLatin1String("\\n");
            return;
        case U'\t':
            out += QLatin1String("\\t");
            return;
        default:
            appendHexEscape(out, 'x', c, 2);
            return;
        }
    }
    if ((c >= 0x80 && c <= 0x9F) || isLayoutControl(c) || isDefaultIgnorable(c) || isNoncharacter(c)
        || (atEdge && isSpace(c))) {
        appendUnicodeEscape(out, c);
        return;
    }
    if (c > 0xFFFF) {
        out += QChar(QChar::highSurrogate(c));
        out += QChar(QChar::lowSurrogate(c));
    } else {
        out += QChar(char16_t(c));
    }
}

/// Length of the valid UTF-8 sequence at \a p (overlong forms, surrogates and values beyond
/// U+10FFFF are invalid), or 0.
int utf8Sequence(const unsigned char *p, qsizetype left, char32_t *value)
{
    const unsigned char b0 = p[0];
    int length;
    char32_t c;
    char32_t minimum;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        c = b0 & 0x1F;
        minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        c = b0 & 0x0F;
        minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        c = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *value = c;
    return length;
}

} // namespace

bool isPlainAscii(QByteArrayView name)
{
    // A blank at either end is shown escaped.
    const qsizetype size = name.size();
    if (size > 0 && (name.front() == ' ' || name.back() == ' '))
        return false;
    return ascii::isPrintable(name);
}

QString displayName(QByteArrayView name)
{
    if (isPlainAscii(name))
        return QString::fromLatin1(name.data(), name.size());

    // Decoded first, so that blanks at the ends are known before anything is written.
    struct Unit
    {
        char32_t value;
        bool invalidByte;
    };
    QVarLengthArray<Unit, 256> units;
    const auto *p = reinterpret_cast<const unsigned char *>(name.data());
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char b = p[i];
        char32_t c = b;
        const int length = b < 0x80 ? 1 : utf8Sequence(p + i, size - i, &c);
        if (length == 0) {
            units.append({ b, true });
            ++i;
        } else {
            units.append({ c, false });
            i += length;
        }
    }
    const auto isEdgeSpace = [](const Unit &unit) {
        return !unit.invalidByte && isSpace(unit.value);
    };
    qsizetype first = 0;
    while (first < units.size() && isEdgeSpace(units[first]))
        ++first;
    qsizetype last = units.size() - 1;
    while (last >= first && isEdgeSpace(units[last]))
        --last;

    QString out;
    out.reserve(name.size() + 8);
    for (qsizetype i = 0; i < units.size(); ++i) {
        const Unit &unit = units[i];
        if (unit.invalidByte)
            appendHexEscape(out, 'x', unit.value, 2);
        else
            appendCodePoint(out, unit.value, i < first || i > last);
    }
    return out;
}

} // namespace qm
