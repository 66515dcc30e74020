#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>

class QPainter;

namespace qm {

/// The splash picture, designed at 300 × 227 pixels and drawn to fill \a logicalSize at the
/// screen's \a devicePixelRatio. Its lower part (from about 165 of 227) is kept plain, since
/// the title and a notice line are written over it.
QPixmap splashPicture(QSize logicalSize = QSize(300, 227), qreal devicePixelRatio = 1.0);

/// The About box picture on white, designed at 150 × 148 pixels, drawn like the splash.
QPixmap aboutPicture(QSize logicalSize = QSize(150, 148), qreal devicePixelRatio = 1.0);

/// The program's icon at every size of applicationIconSizes().
QIcon applicationIcon();
/// The icon installed under the program's desktop id, which is the same picture; the drawn
/// one when the program runs uninstalled.
QIcon programIcon();
QList<int> applicationIconSizes();

/// The icon as a square image of \a size pixels; 16 and below is redrawn on the pixel grid.
QImage applicationIconImage(int size);

/// The icon's motif in full detail filling \a box, for scalable output.
void drawScalableIcon(QPainter &painter, const QRectF &box);

} // namespace qm
