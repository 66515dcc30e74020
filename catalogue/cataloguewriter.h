#pragma once

#include "catalogue/runresult.h"

namespace qm {

class CatalogueSource;
class OutputTarget;
class PreviewViewport;
class PrintHooks;
class WriterHost;
struct CatalogueState;

/// Writes the catalogue of the file list, one line per file in three columns with the meter
/// running, on the preview picture or on paper: one walk over the list, two entry points.
/// On either, an empty list changes nothing but the preview; otherwise the geometry is
/// measured, every line (on paper those the print hooks choose) is written, and PreviewReady
/// ends on. Between lines the host is asked whether the user wants the run stopped; a stopped
/// run ends as a finished one does, with the lines written so far. The pointer, status text
/// and meter are restored on every way out. Both entry points say how the walk ended.
class CatalogueWriter
{
public:
    CatalogueWriter(CatalogueState &state, const CatalogueSource &source, PreviewViewport &viewport,
                    WriterHost &host);

    /// Draws the catalogue on the preview \a picture: the selection is dropped, the picture
    /// and the scroll bars are sized, and the first screenful is shown while the rest is
    /// drawn. An empty list only clears the picture.
    RunResult writePreview(OutputTarget &picture);
    /// Prints the catalogue on \a printer, page by page, with the heads and breaks that
    /// \a hooks supply; the preview's selection stays. An empty list prints nothing. A
    /// printer that fails ends the walk.
    RunResult writePages(OutputTarget &printer, PrintHooks &hooks);

private:
    CatalogueState &m_state;
    const CatalogueSource &m_source;
    PreviewViewport &m_viewport;
    WriterHost &m_host;
};

} // namespace qm
