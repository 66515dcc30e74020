#include "platform/wildcard.h"

#include "platform/asciibytes.h"

#include "platform/filenames.h"

#include <QList>

#include <algorithm>

namespace qm {

namespace {

std::u32string foldedCodePoints(QStringView text)
{
    const QList<uint> ucs4 = text.toString().toCaseFolded().toUcs4();
    return std::u32string(ucs4.cbegin(), ucs4.cend());
}

/// Classic wildcard walk: on a mismatch after a "*", let that star swallow one more
/// character and try again. Linear in practice, never exponential.
template<typename Char, typename Equal>
bool wildcardMatch(const Char *pattern, size_t patternLength, const Char *name, size_t nameLength,
                   Equal equal)
{
    size_t p = 0;
    size_t n = 0;
    size_t star = size_t(-1);
    size_t resume = 0;
    while (n < nameLength) {
        if (p < patternLength && pattern[p] == Char('*')) {
            star = p++;
            resume = n;
        } else if (p < patternLength && (pattern[p] == Char('?') || equal(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (star != size_t(-1)) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < patternLength && pattern[p] == Char('*'))
        ++p;
    return p == patternLength;
}

bool isMatchAll(QStringView wildcard)
{
    if (wildcard == u"*.*")
        return true;
    for (const QChar c : wildcard) {
        if (c != u'*')
            return false;
    }
    return true;
}

} // namespace

PatternMatcher::PatternMatcher(const QString &text)
{
    for (QStringView part : QStringView(text).split(u';')) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        if (isMatchAll(part)) {
            m_matchesAll = true;
            m_wildcards.clear();
            return;
        }
        Wildcard wildcard;
        wildcard.folded = foldedCodePoints(part);
        wildcard.isAscii = std::all_of(part.begin(), part.end(), [](QChar c) {
            return c.unicode() >= 0x20 && c.unicode() < 0x7F;
        });
        if (wildcard.isAscii) {
            wildcard.ascii = part.toLatin1();
            for (char &c : wildcard.ascii)
                c = static_cast<char>(ascii::lower(static_cast<unsigned char>(c)));
        } else {
            m_allAscii = false;
        }
        m_wildcards.push_back(std::move(wildcard));
    }
    m_matchesAll = m_wildcards.empty();
}

bool PatternMatcher::matchesFolded(const std::u32string &name) const
{
    for (const Wildcard &wildcard : m_wildcards) {
        if (wildcardMatch(wildcard.folded.data(), wildcard.folded.size(), name.data(), name.size(),
                          [](char32_t a, char32_t b) { return a == b; }))
            return true;
    }
    return false;
}

bool PatternMatcher::matches(QStringView displayName) const
{
    if (m_matchesAll)
        return true;
    return matchesFolded(foldedCodePoints(displayName));
}

bool PatternMatcher::matches(QByteArrayView rawName) const
{
    if (m_matchesAll)
        return true;
    if (!m_allAscii || !isPlainAscii(rawName))
        return matches(QStringView(displayName(rawName)));

    const auto *name = reinterpret_cast<const unsigned char *>(rawName.data());
    for (const Wildcard &wildcard : m_wildcards) {
        const auto *pattern = reinterpret_cast<const unsigned char *>(wildcard.ascii.constData());
        if (wildcardMatch(pattern, size_t(wildcard.ascii.size()), name, size_t(rawName.size()),
                          [](unsigned char p, unsigned char c) { return p == ascii::lower(c); }))
            return true;
    }
    return false;
}

} // namespace qm
