#include "app/windowwriterhost.h"

#include "browse/statusstrip.h"

namespace qm {

WindowWriterHost::WindowWriterHost(StatusStrip &statusStrip,
                                   std::function<void()> previewedCommands)
    : m_statusStrip(statusStrip)
    , m_previewedCommands(std::move(previewedCommands))
{
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
