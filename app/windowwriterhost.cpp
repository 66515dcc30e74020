#include "app/windowwriterhost.h"

#include "browse/statusstrip.h"

#include <QApplication>

namespace qm {

WindowWriterHost::WindowWriterHost(StatusStrip &statusStrip,
                                   std::function<void()> previewedCommands)
    : m_statusStrip(statusStrip)
    , m_previewedCommands(std::move(previewedCommands))
{
}

WindowWriterHost::~WindowWriterHost()
{
    // Never leave the hourglass behind, whatever ended the run.
    while (m_busyDepth > 0) {
        QApplication::restoreOverrideCursor();
        --m_busyDepth;
    }
}

void WindowWriterHost::setBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busyDepth;
    } else if (m_busyDepth > 0) {
        QApplication::restoreOverrideCursor();
        --m_busyDepth;
    }
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
