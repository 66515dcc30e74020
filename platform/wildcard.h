#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <string>
#include <vector>

namespace qm {

/// The file list's pattern text, prepared once and matched against many names.
///
/// The text holds wildcards separated by ";", blanks around each ignored. "*" matches any
/// run of characters, "?" exactly one, every other character (brackets included) only
/// itself, ignoring case; a wildcard must cover the whole name. "*.*" and "*" match every
/// name, dot or not, and so does a text with no wildcard in it at all.
class PatternMatcher
{
public:
    explicit PatternMatcher(const QString &text = QString());

    /// True when every name matches, so callers may skip matching altogether.
    bool matchesAll() const { return m_matchesAll; }

    /// Matches a name in its text form (see displayName()).
    bool matches(QStringView displayName) const;
    /// Matches a name given as its bytes; the same answer as matching its text form.
    bool matches(QByteArrayView rawName) const;

private:
    struct Wildcard
    {
        std::u32string folded; // case-folded code points
        QByteArray ascii; // lower-case bytes when the wildcard is plain ASCII
        bool isAscii = false;
    };

    bool matchesFolded(const std::u32string &name) const;

    std::vector<Wildcard> m_wildcards;
    bool m_matchesAll = false;
    bool m_allAscii = true;
};

} // namespace qm
