#include "platform/colour.h"

#include <QGuiApplication>
#include <QPalette>

#include <iterator>

namespace qm {

namespace {

struct SystemRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Indexed by the system colour number xx of &H800000xx.
constexpr SystemRole systemRoles[] = {
    { QPalette::Active, QPalette::Button }, // 0x00 scroll bars
    { QPalette::Active, QPalette::Dark }, // 0x01 desktop
    { QPalette::Active, QPalette::Highlight }, // 0x02 active title bar
    { QPalette::Inactive, QPalette::Highlight }, // 0x03 inactive title bar
    { QPalette::Active, QPalette::Window }, // 0x04 menu background
    { QPalette::Active, QPalette::Base }, // 0x05 window background
    { QPalette::Active, QPalette::Shadow }, // 0x06 window frame
    { QPalette::Active, QPalette::WindowText }, // 0x07 menu text
    { QPalette::Active, QPalette::Text }, // 0x08 window text
    { QPalette::Active, QPalette::HighlightedText }, // 0x09 title bar text
    { QPalette::Active, QPalette::Button }, // 0x0A active border
    { QPalette::Inactive, QPalette::Button }, // 0x0B inactive border
    { QPalette::Active, QPalette::Dark }, // 0x0C application workspace
    { QPalette::Active, QPalette::Highlight }, // 0x0D highlight
    { QPalette::Active, QPalette::HighlightedText }, // 0x0E highlighted text
    { QPalette::Active, QPalette::Button }, // 0x0F button face
    { QPalette::Active, QPalette::Dark }, // 0x10 button shadow
    { QPalette::Disabled, QPalette::Text }, // 0x11 grey text
    { QPalette::Active, QPalette::ButtonText }, // 0x12 button text
    { QPalette::Inactive, QPalette::HighlightedText }, // 0x13 inactive title bar text
    { QPalette::Active, QPalette::Light }, // 0x14 button highlight
    { QPalette::Active, QPalette::Shadow }, // 0x15 3-D dark shadow
    { QPalette::Active, QPalette::Midlight }, // 0x16 3-D light
    { QPalette::Active, QPalette::ToolTipText }, // 0x17 tool tip text
    { QPalette::Active, QPalette::ToolTipBase }, // 0x18 tool tip background
};

constexpr quint32 SystemColourFlag = 0x80000000u;

} // namespace

bool isSystemColour(qint32 bgr)
{
    return (static_cast<quint32>(bgr) & 0xFF000000u) == SystemColourFlag;
}

QColor colourFromBgr(qint32 bgr)
{
    const auto bits = static_cast<quint32>(bgr);
    if (isSystemColour(bgr)) {
        const QPalette palette = qGuiApp ? QGuiApplication::palette() : QPalette();
        const quint32 index = bits & 0x00FFFFFFu;
        if (index < std::size(systemRoles))
            return palette.color(systemRoles[index].group, systemRoles[index].role);
        return palette.color(QPalette::Active, QPalette::WindowText);
    }
    // Only the three colour bytes count; the top byte of other values carries no colour.
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

qint32 bgrFromColour(const QColor &colour)
{
    if (!colour.isValid())
        return 0;
    const QColor rgb = colour.toRgb();
    return qint32(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}

} // namespace qm
