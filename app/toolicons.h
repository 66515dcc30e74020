#pragma once

#include <QIcon>

namespace qm {

/// The pictures of the tool buttons.
enum class ToolIcon { Save, Print, Copy, PageSetup, Preview, Help };

/// The desktop theme's icon for \a icon, or a drawn picture when the theme has none:
/// 16 × 16 pixels (Preview 16 × 15), with a double-size copy for high-density screens.
QIcon toolIcon(ToolIcon icon);

/// The drawn picture alone, at \a scale times its size (for the fallback and for tests).
QPixmap drawnToolPicture(ToolIcon icon, int scale = 1);

} // namespace qm
