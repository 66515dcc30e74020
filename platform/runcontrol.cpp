#include "platform/runcontrol.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace qm {

namespace {

bool isKey(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

bool isPointer(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

} // namespace

RunControl::RunControl(QObject *window, QObject *exitButton)
    : m_window(window)
    , m_exitButton(exitButton)
{
}

RunControl::Run::Run(RunControl &control)
    : m_control(control)
{
    if (m_control.m_depth++ > 0)
        return;
    m_control.m_stop = false;
    m_control.m_close = false;
    // The first step takes in at once what came before it.
    m_control.m_sincePump.invalidate();
}

RunControl::Run::~Run()
{
    if (--m_control.m_depth > 0)
        return;
    // What came in during the last steps is dropped too rather than acted upon once the run
    // has ended; a close among it is still heard.
    m_control.pump(Input::Taken);
    m_control.m_stop = false;
}

bool RunControl::poll()
{
    if (m_depth > 0 && !m_pumping && (!m_sincePump.isValid() || m_sincePump.hasExpired(IntervalMs)))
        pump(Input::Taken);
    return m_stop;
}

void RunControl::keepPainted()
{
    if (!m_sincePump.isValid() || m_sincePump.hasExpired(IntervalMs))
        pump(Input::Deferred);
}

void RunControl::pump(Input input)
{
    if (m_pumping || !QCoreApplication::instance())
        return;
    m_pumping = true;
    m_input = input;
    QCoreApplication::instance()->installEventFilter(this);
    QCoreApplication::processEvents(input == Input::Taken ? QEventLoop::AllEvents
                                                          : QEventLoop::ExcludeUserInputEvents);
    QCoreApplication::instance()->removeEventFilter(this);
    m_pumping = false;
    m_sincePump.start();
}

bool RunControl::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Close) {
        if (watched != m_window)
            return false;
        // Not now, with the command half done: once it has stopped.
        m_stop = m_close = true;
        event->ignore();
        return true;
    }
    if (m_input == Input::Deferred)
        return false; // input stays queued for later
    if (isKey(type)) {
        if (type == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            m_stop = true;
        return true;
    }
    if (isPointer(type)) {
        // A window hands its pointer events on to the widget under the pointer, where they
        // are sorted out; only the Exit button takes them.
        return !watched->isWindowType() && watched != m_exitButton;
    }
    return false;
}

} // namespace qm
