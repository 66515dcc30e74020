#include "platform/attributes.h"

#include "platform/fileentry.h"

namespace qm {

bool attributesMatch(quint8 attributes, const AttributeSwitches &switches)
{
    if (!switches.normal && !switches.hidden && !switches.system && !switches.readOnly
        && !switches.archive)
        return false;
    if (attributes == 0)
        return switches.normal;
    quint8 allowed = 0;
    if (switches.hidden)
        allowed |= AttrHidden;
    if (switches.readOnly)
        allowed |= AttrReadOnly;
    if (switches.system)
        allowed |= AttrSystem;
    if (switches.archive)
        allowed |= AttrArchive;
    return (attributes & ~allowed) == 0;
}

} // namespace qm
