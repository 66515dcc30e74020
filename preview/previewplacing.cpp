#include "preview/previewplacing.h"

#include "catalogue/outputtarget.h"
#include "catalogue/previewviewport.h"
#include "platform/numbers.h"

#include <QtNumeric>

#include <limits>

using namespace Qt::StringLiterals;

namespace qm {

qint64 scrolledPosition(qint64 value, qint64 step, qint64 extent)
{
    // Both factors are small in practice; saturate rather than wrap if they are not.
    qint64 offset = 0;
    if (qMulOverflow(value, step, &offset))
        offset = (value < 0) != (step < 0) ? std::numeric_limits<qint64>::min()
                                           : std::numeric_limits<qint64>::max();
    if (offset > extent)
        return -extent;
    return -offset;
}

void emptyPicture(OutputTarget &picture, const PreviewViewport &viewport)
{
    const qint32 colour = picture.foreColor();
    const bool bold = picture.fontBold();

    picture.setForeColor(0x00FF0000); // pure blue, &H00BBGGRR
    picture.setFontBold(true);
    const QString invitation = u"Click on Preview to Display Quillmark"_s;
    picture.setCurrentX(
        double(roundHalfEven((viewport.viewScaleWidth() - picture.textWidth(invitation)) / 2)));
    picture.setCurrentY(
        double(roundHalfEven((viewport.viewScaleHeight() - picture.textHeight(invitation)) / 2)));
    picture.print(invitation);

    picture.setForeColor(colour);
    picture.setFontBold(bold);
}

} // namespace qm
