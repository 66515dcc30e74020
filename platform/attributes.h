#pragma once

#include <QtGlobal>

namespace qm {

/// The five attribute switches of the file list; a greyed box counts as on.
struct AttributeSwitches
{
    bool normal = true;
    bool hidden = true;
    bool system = true;
    bool readOnly = true;
    bool archive = true;
};

/// A file is listed when every attribute it has (FileAttribute bits) is switched on and, when
/// it has none, Normal is on. With all five switches off nothing is listed.
bool attributesMatch(quint8 attributes, const AttributeSwitches &switches);

} // namespace qm
