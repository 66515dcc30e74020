#pragma once

#include <QIcon>
#include <QPixmap>

namespace qm {

/// The splash picture, 300 × 227 pixels. Its lower part (from about y = 165) is kept plain,
/// since the title and a notice line are written over it.
QPixmap splashPicture();

/// The About box picture, 150 × 148 pixels, on white.
QPixmap aboutPicture();

/// The program's icon at 16, 32, 48 and 64 pixels.
QIcon applicationIcon();

} // namespace qm
