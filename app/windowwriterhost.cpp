#include "app/windowwriterhost.h"

#include "browse/statusstrip.h"
#include "platform/runcontrol.h"

namespace qm {

WindowWriterHost::WindowWriterHost(StatusStrip &statusStrip,
                                   std::function<void()> previewedCommands, RunControl &runControl)
    : m_statusStrip(statusStrip)
    , m_previewedCommands(std::move(previewedCommands))
    , m_runControl(runControl)
{
}

bool WindowWriterHost::stopRequested()
{
    return m_runControl.poll();
}

void WindowWriterHost::setBusy(bool busy)
{
    applicationPointer().setBusy(busy);
}

void WindowWriterHost::setStatusText(const QString &text)
{
    m_statusStrip.setStatusText(text);
}

void WindowWriterHost::drawMeter(int style, const QColor &bar, const QColor &background,
                                 int percent)
{
    m_statusStrip.drawMeter(style, bar, background, percent);
}

void WindowWriterHost::setPreviewedCommands()
{
    m_previewedCommands();
}

} // namespace qm
