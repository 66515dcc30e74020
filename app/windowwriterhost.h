#pragma once

#include "catalogue/writerhost.h"

#include <functional>

namespace qm {

class RunControl;
class StatusStrip;

/// Shows the catalogue writer's progress in the main window: the hourglass, the status
/// word and the meter of the status strip, and the previewed state of the commands; and
/// lets the window take in a request to stop.
class WindowWriterHost final : public WriterHost
{
public:
    WindowWriterHost(StatusStrip &statusStrip, std::function<void()> previewedCommands,
                     RunControl &runControl);

    void setBusy(bool busy) override;
    void setStatusText(const QString &text) override;
    void drawMeter(int style, const QColor &bar, const QColor &background, int percent) override;
    void setPreviewedCommands() override;
    bool stopRequested() override;

private:
    StatusStrip &m_statusStrip;
    std::function<void()> m_previewedCommands;
    RunControl &m_runControl;
};

} // namespace qm
