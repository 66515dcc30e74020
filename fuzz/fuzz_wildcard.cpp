// The wildcard matcher against a plain dynamic-programming match of the same rules, on raw
// names and on their text form alike. Input: the pattern text, a zero byte, the name's bytes.

#include "platform/filenames.h"
#include "platform/wildcard.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<uint> folded(QStringView text)
{
    const QList<uint> ucs4 = text.toString().toCaseFolded().toUcs4();
    return std::vector<uint>(ucs4.cbegin(), ucs4.cend());
}

bool matchOne(const std::vector<uint> &pattern, const std::vector<uint> &name)
{
    // reach[j]: the pattern so far matches the first j characters of the name.
    std::vector<char> reach(name.size() + 1, 0);
    reach[0] = 1;
    for (const uint p : pattern) {
        std::vector<char> next(name.size() + 1, 0);
        if (p == '*') {
            char any = 0;
            for (size_t j = 0; j <= name.size(); ++j) {
                any = char(any | reach[j]);
                next[j] = any;
            }
        } else {
            for (size_t j = 1; j <= name.size(); ++j)
                next[j] = char(reach[j - 1] && (p == '?' || p == name[j - 1]));
        }
        reach.swap(next);
    }
    return reach[name.size()];
}

bool referenceMatch(const QString &patternText, const QString &nameText)
{
    const std::vector<uint> name = folded(nameText);
    bool anyWildcard = false;
    for (QStringView part : QStringView(patternText).split(u';')) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        anyWildcard = true;
        if (part == u"*.*" || matchOne(folded(part), name))
            return true;
    }
    return !anyWildcard;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    if (split < 0 || input.size() > 600)
        return 0;
    const QString patternText = QString::fromUtf8(input.left(split));
    const QByteArray name = input.mid(split + 1);
    const QString nameText = qm::displayName(name);

    const qm::PatternMatcher matcher(patternText);
    const bool raw = matcher.matches(QByteArrayView(name));
    require(raw == matcher.matches(QStringView(nameText)));
    require(raw == referenceMatch(patternText, nameText));
    if (matcher.matchesAll())
        require(raw);
    return 0;
}
