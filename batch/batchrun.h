#pragma once

#include <functional>

namespace qm {

struct BatchOptions;
struct CatalogueState;

/// Puts the stored page setup (margins, column shares, font, colour, unit) into a run's state.
using PageSetupLoader = std::function<void(CatalogueState &state)>;

/// Makes the output that \a options ask for without a window and returns the exit status.
/// The folder is listed by the file list's own rules (or every folder of the tree), then
/// saved by the Save command's writer or printed by the Print command's run; the page setup is
/// loaded only to print. Makes the application object itself, before anything of Qt runs: a
/// plain one to save, an offscreen one to print, so that no display is needed. Problems, the
/// progress line and the summary go to standard error.
int runBatch(int argc, char *argv[], const BatchOptions &options,
             const PageSetupLoader &loadPageSetup);

} // namespace qm
