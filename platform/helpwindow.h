#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace qm {

/// The program's help page in a window of its own, not modal, so the user can read it beside
/// the main window.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    /// The page that the window shows first.
    static QUrl pageUrl();

    /// Shows the page at its contents, reusing the window when it is already open.
    void showContents();

    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};

} // namespace qm
