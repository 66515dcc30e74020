#pragma once

#include "platform/busypointer.h"

#include <QColor>
#include <QString>

namespace qm {

/// What the catalogue writer shows in the main window while it runs: besides the hourglass,
/// the status word, the meter and the commands. The main window implements it; tests record
/// the calls.
class WriterHost : public BusyIndicator
{
public:
    /// One word in the status panel, or empty.
    virtual void setStatusText(const QString &text) = 0;
    /// The progress meter: frame style 0, 1 or 2, bar and background colour, percent done.
    virtual void drawMeter(int style, const QColor &bar, const QColor &background, int percent) = 0;
    /// Copy off; Save, Print and Select All on: a catalogue is (being) drawn.
    virtual void setPreviewedCommands() = 0;
    /// Asked between the lines of a long run, so the window can take in a request to stop
    /// it; true once the user made one.
    virtual bool stopRequested() { return false; }
};

} // namespace qm
