#include "platform/helpwindow.h"

#include "platform/helppage.h"

#include <QKeySequence>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace qm {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Quillmark Help"));
    // An open help window must not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(12);
    m_browser->setSource(pageUrl());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 600);

    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

QUrl HelpWindow::pageUrl()
{
    // The page installed beside the program; the copy built into it when there is none.
    const QString installed = installedHelpPage();
    return installed.isEmpty() ? QUrl(QStringLiteral("qrc:/help/quillmark.html"))
                               : QUrl::fromLocalFile(installed);
}

void HelpWindow::showContents()
{
    // Back to the top of the page, even when the reader had followed a link within it.
    if (m_browser->source() != pageUrl())
        m_browser->setSource(pageUrl());
    m_browser->verticalScrollBar()->setValue(0);
    m_browser->horizontalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
}

} // namespace qm
