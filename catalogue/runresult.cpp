#include "catalogue/runresult.h"

#include "platform/numbers.h"

using namespace Qt::StringLiterals;

namespace qm {

QString vanishedText(qint64 vanished)
{
    if (vanished <= 0)
        return QString();
    if (vanished == 1)
        return u"1 file had vanished; its line has empty fields"_s;
    return u"%1 files had vanished; their lines have empty fields"_s.arg(groupedNumber(vanished));
}

} // namespace qm
