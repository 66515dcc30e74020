#pragma once

#include <QFont>
#include <QStringList>

namespace qm {

/// A font asked for by its Windows name. Old Windows faces are not on a Linux desktop, so
/// metric-compatible faces are named after them before fontconfig's own guess (often a much
/// wider face that would clip captions).
inline QFont designFont(const QString &name, double points, bool bold = false)
{
    QFont font(name);
    QStringList families { name };
    if (name == u"MS Sans Serif" || name == u"Microsoft Sans Serif")
        families << QStringLiteral("Microsoft Sans Serif") << QStringLiteral("Liberation Sans")
                 << QStringLiteral("Arial");
    families << QStringLiteral("Liberation Sans") << QStringLiteral("Sans Serif");
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace qm
