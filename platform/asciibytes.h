#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <cstring>

namespace qm::ascii {

/// 'A'..'Z' lowered; every other byte as it is.
constexpr unsigned char lower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Eight bytes at a time: one in every byte, and every byte's high bit.
inline constexpr quint64 EachByte = 0x0101010101010101ULL;
inline constexpr quint64 HighBits = 0x8080808080808080ULL;

/// True when every byte is printable ASCII (0x20..0x7E). Every listed name passes through
/// here, so it looks at eight bytes at a time.
inline bool isPrintable(QByteArrayView bytes)
{
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, sizeof word);
        const quint64 belowBlank = (word - EachByte * 0x20) & ~word & HighBits;
        const quint64 del = word ^ (EachByte * 0x7F);
        const quint64 isDel = (del - EachByte) & ~del & HighBits;
        if ((word & HighBits) | belowBlank | isDel)
            return false;
    }
    for (; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b < 0x20 || b > 0x7E)
            return false;
    }
    return true;
}

} // namespace qm::ascii
