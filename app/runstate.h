#pragma once

#include "catalogue/cataloguestate.h"

namespace qm {

/// Everything a run of the program shares between its parts: the catalogue's state and what
/// only the application shell needs. Owned by the main window and handed by reference to
/// the parts that read or write it.
struct RunState : CatalogueState
{
    bool settingsChanged = false; // settings must be written at shut-down
};

} // namespace qm
