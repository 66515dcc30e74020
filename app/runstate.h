#pragma once

#include "catalogue/cataloguestate.h"

namespace qm {

/// Everything a run of the program shares between its parts. Owned by the main window and
/// handed by reference to the parts that read or write it; all of it is the catalogue's
/// and the page's, so it lives with the catalogue.
using RunState = CatalogueState;

} // namespace qm
