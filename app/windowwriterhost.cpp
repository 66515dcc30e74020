#include "app/windowwriterhost.h"

#include "browse/folderbrowserview.h"

#include <QApplication>

namespace qm {

WindowWriterHost::WindowWriterHost(FolderBrowserView &browser,
                                   std::function<void()> previewedCommands)
    : m_browser(browser)
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
    m_browser.setStatusText(text);
}

void WindowWriterHost::drawMeter(int style, const QColor &bar, const QColor &background,
                                 int percent)
{
    m_browser.drawMeter(style, bar, background, percent);
}

void WindowWriterHost::setPreviewedCommands()
{
    m_previewedCommands();
}

} // namespace qm
