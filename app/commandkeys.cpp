#include "app/commandkeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace qm {

CommandKeys::CommandKeys(QWidget *window, QList<QAction *> commands,
                         std::function<void()> beforeDeciding)
    : QObject(window)
    , m_window(window)
    , m_commands(std::move(commands))
    , m_beforeDeciding(std::move(beforeDeciding))
{
    qApp->installEventFilter(this);
}

bool CommandKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(
        QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    for (QAction *command : std::as_const(m_commands)) {
        if (command->shortcut().isEmpty() || command->shortcut() != pressed)
            continue;
        if (m_beforeDeciding)
            m_beforeDeciding();
        if (!command->isEnabled())
            return false;
        // Left unclaimed, the key goes to the window's shortcut and runs the command. The
        // same is done for each widget the override travels up through.
        event->ignore();
        return true;
    }
    return false;
}

} // namespace qm
