#pragma once

#include <QtGlobal>

namespace qm {

/// Line and column geometry of the last catalogue target measured, in twips.
/// Recomputed by every run of the writer; reused by the selection redraw.
struct LineMetrics
{
    int columnGap = 0; // average character width of the catalogue font
    int lineHeight = 0; // distance from one catalogue line to the next
    int lineLeft = 0; // x of the name column: 0 on paper, 100 on the preview
    int nameWidth = 0;
    int sizeWidth = 0;
    int dateWidth = 0;
    int printHeight = 0; // page height less top and bottom margins
    qint64 refreshDepth = 0; // visible preview depth plus two lines
    qint64 pageCount = 0; // pages announced on printed pages
    int nameLimit = 0;
    int nameFit = 0;
    int sizeLimit = 0;
    int sizeFit = 0;
    int dateLimit = 0;
    int dateFit = 0;
};

} // namespace qm
