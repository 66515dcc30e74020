#include "browse/nameorder.h"

#include "platform/asciibytes.h"
#include "platform/filenames.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace qm {

namespace {

/// The key of a name that is not all printable ASCII: its case-folded text form in UTF-8.
/// A printable ASCII name is its own key, its letters lowered as it is compared.
QByteArray foldedKey(QByteArrayView name)
{
    return displayName(name).toCaseFolded().toUtf8();
}

int compareLowered(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    const auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    for (qsizetype i = 0; i < common; ++i) {
        const unsigned char ca = ascii::lower(pa[i]);
        const unsigned char cb = ascii::lower(pb[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareExact(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    const int c = common ? std::memcmp(a.data(), b.data(), size_t(common)) : 0;
    if (c != 0)
        return c;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

/// Key bytes [offset, offset + 8), ASCII letters lowered and big-endian, so that most
/// comparisons are integer comparisons.
quint64 keyWord(QByteArrayView key, qsizetype offset)
{
    unsigned char bytes[8] = {};
    if (offset < key.size())
        std::memcpy(bytes, key.data() + offset,
                    size_t(std::min<qsizetype>(8, key.size() - offset)));
    quint64 word;
    std::memcpy(&word, bytes, sizeof word);
    // Lower 'A'..'Z' in all eight bytes at once; bytes with the high bit set stay as they are.
    using ascii::EachByte, ascii::HighBits;
    const quint64 low7 = word & ~HighBits;
    const quint64 atLeastA = low7 + EachByte * (0x80 - 'A');
    const quint64 aboveZ = low7 + EachByte * (0x7F - 'Z');
    const quint64 upper = (atLeastA ^ aboveZ) & ~word & HighBits;
    return qFromBigEndian(word | (upper >> 2));
}

constexpr qsizetype PrefixBytes = 16;

struct SortItem
{
    quint64 high;
    quint64 low;
    quint32 index;
};

SortItem sortItem(QByteArrayView key, size_t index)
{
    return SortItem { keyWord(key, 0), keyWord(key, 8), quint32(index) };
}

/// Sorts \a count names given by \a nameAt and returns the order as indices.
template<typename NameAt> std::vector<SortItem> sortedOrder(size_t count, NameAt nameAt)
{
    std::vector<QByteArray> folded; // only filled when some name is not plain ASCII
    std::vector<SortItem> items(count);
    for (size_t i = 0; i < count; ++i) {
        const QByteArrayView name = nameAt(i);
        if (!ascii::isPrintable(name)) {
            if (folded.empty())
                folded.resize(count);
            folded[i] = foldedKey(name);
            items[i] = sortItem(folded[i], i);
        } else {
            items[i] = sortItem(name, i);
        }
    }
    auto keyOf = [&](quint32 i) -> QByteArrayView {
        if (!folded.empty() && !folded[i].isNull())
            return folded[i];
        return nameAt(i);
    };
    std::sort(items.begin(), items.end(), [&](const SortItem &a, const SortItem &b) {
        if (a.high != b.high)
            return a.high < b.high;
        if (a.low != b.low)
            return a.low < b.low;
        const QByteArrayView keyA = keyOf(a.index);
        const QByteArrayView keyB = keyOf(b.index);
        // Equal words mean equal first bytes (names hold no NUL), so both keys are at least
        // this long or equally short.
        const qsizetype skip = std::min({ keyA.size(), keyB.size(), PrefixBytes });
        const int c = compareLowered(keyA.sliced(skip), keyB.sliced(skip));
        if (c != 0)
            return c < 0;
        return compareExact(nameAt(a.index), nameAt(b.index)) < 0;
    });
    return items;
}

template<typename T, typename NameAt> void applyOrder(std::vector<T> &values, NameAt nameAt)
{
    const std::vector<SortItem> order = sortedOrder(values.size(), nameAt);
    std::vector<T> sorted;
    sorted.reserve(values.size());
    for (const SortItem &item : order)
        sorted.push_back(std::move(values[item.index]));
    values = std::move(sorted);
}

} // namespace

bool nameLess(QByteArrayView a, QByteArrayView b)
{
    const QByteArray keyA = ascii::isPrintable(a) ? a.toByteArray() : foldedKey(a);
    const QByteArray keyB = ascii::isPrintable(b) ? b.toByteArray() : foldedKey(b);
    const int c = compareLowered(keyA, keyB);
    if (c != 0)
        return c < 0;
    return compareExact(a, b) < 0;
}

void sortByName(std::vector<FileEntry> &files)
{
    applyOrder(files, [&files](size_t i) { return QByteArrayView(files[i].name); });
}

void sortByName(std::vector<QByteArray> &names)
{
    applyOrder(names, [&names](size_t i) { return QByteArrayView(names[i]); });
}

} // namespace qm
