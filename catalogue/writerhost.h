#pragma once

#include <QColor>
#include <QString>

namespace qm {

/// What the catalogue writer shows in the main window while it runs. The main window
/// implements it; tests record the calls.
class WriterHost
{
public:
    virtual ~WriterHost() = default;

    /// The hourglass pointer on (true) or back to normal (false).
    virtual void setBusy(bool busy) = 0;
    /// One word in the status panel, or empty.
    virtual void setStatusText(const QString &text) = 0;
    /// The progress meter: frame style 0, 1 or 2, bar and background colour, percent done.
    virtual void drawMeter(int style, const QColor &bar, const QColor &background, int percent) = 0;
    /// Copy off; Save, Print and Select All on: a catalogue is (being) drawn.
    virtual void setPreviewedCommands() = 0;
};

} // namespace qm
