#pragma once

#include <QColor>
#include <QtGlobal>

namespace qm {

/// The colour of a stored &H00BBGGRR value. &H800000xx names system colour xx and follows the
/// application palette (window background → Base, window text → Text, button face → Button,
/// …); an unknown system colour number gives the window text colour.
QColor colourFromBgr(qint32 bgr);

/// The &H00BBGGRR value of a colour; an invalid colour gives 0 (black).
qint32 bgrFromColour(const QColor &colour);

/// True for the &H800000xx system colour values.
bool isSystemColour(qint32 bgr);

} // namespace qm
