#pragma once

#include "catalogue/runguard.h"

#include <QColor>

namespace qm {

class CatalogueSource;
class OutputTarget;
class PreviewViewport;
class PrintHooks;
class WriterHost;
struct CatalogueState;

/// Writes the catalogue of the file list on the preview picture or, with state.printMode
/// on, on the printer: one line per file, three columns, the meter running.
class CatalogueWriter
{
public:
    static inline const QColor MeterBar = qm::MeterBar;
    static inline const QColor MeterBackground = qm::MeterBackground;

    CatalogueWriter(CatalogueState &state, const CatalogueSource &source, PreviewViewport &viewport,
                    WriterHost &host);

    /// An empty list only clears the preview and changes nothing else. Otherwise the
    /// selection is dropped (preview only), the geometry is measured, every line of the list
    /// (or of the range the print hooks choose) is written, and PreviewReady ends on.
    /// On paper \a hooks supply the heads and breaks (plain pages without them).
    /// The pointer, status text and meter are restored on every way out.
    void writePreview(OutputTarget &target, PrintHooks *hooks = nullptr);

private:
    CatalogueState &m_state;
    const CatalogueSource &m_source;
    PreviewViewport &m_viewport;
    WriterHost &m_host;
};

} // namespace qm
