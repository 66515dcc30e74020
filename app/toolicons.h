#pragma once

#include <QIcon>

namespace qm {

/// The pictures of the tool buttons.
enum class ToolIcon { Save, Print, Copy, PageSetup, Preview, Help };

/// The desktop theme's icon for \a icon, or a drawn picture when the theme has none:
/// toolPictureSize() pixels, with copies drawn for the common screen densities up to four.
QIcon toolIcon(ToolIcon icon);

/// The drawn picture alone, at \a scale times its size (for the fallback and for tests).
QPixmap drawnToolPicture(ToolIcon icon, qreal scale = 1.0);

/// The size of the drawn picture at 96 dots per inch: 16 × 16 pixels, Preview 16 × 15.
QSize toolPictureSize(ToolIcon icon);

} // namespace qm
