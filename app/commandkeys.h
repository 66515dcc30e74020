#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QWidget;

namespace qm {

/// Gives a window's commands their keys wherever the focus is in it. A line edit or a list
/// claims its own Ctrl+A and Ctrl+C before any shortcut is tried; while the command of such
/// a key is enabled, the key runs the command instead, and a disabled command leaves the
/// key to the focused control. Watches the whole application, so controls made later are
/// covered too; it goes when the window does.
class CommandKeys : public QObject
{
public:
    /// \a beforeDeciding runs first whenever a command's key is pressed, so that a command's
    /// state is current (a pattern typed just before has been applied).
    CommandKeys(QWidget *window, QList<QAction *> commands, std::function<void()> beforeDeciding);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QList<QAction *> m_commands;
    std::function<void()> m_beforeDeciding;
};

} // namespace qm
