#pragma once

#include "app/toolbuttons.h"

#include <QString>

namespace qm {

/// The delayed tool tip under the tool buttons, without a window: the main window feeds it
/// mouse moves and timer ticks and shows what it says.
class ToolTipLogic
{
public:
    static constexpr int IntervalMs = 500;
    /// Where the tip stands, in twips of the client area, before it has been under a button.
    static constexpr int StartLeft = 6840;
    static constexpr int StartTop = 3720;

    /// The mouse moved over a tool button. Returns true when the timer must be started; a
    /// running timer is left alone so that a moving mouse does not postpone the tip.
    bool buttonMoved(ToolButton button);
    /// The mouse moved over the window background, the tool bar or the preview.
    void surfaceMoved();
    /// A timer tick: the tip is placed under the last button and shown.
    void tick();
    /// A tool button was clicked: the tip hides, but stays armed while the mouse rests there.
    void buttonClicked() { m_visible = false; }

    bool timerRunning() const { return m_timerRunning; }
    bool visible() const { return m_visible; }
    ToolButton hotButton() const { return m_hot; }
    /// Place of the tip's top-left corner and its text, in twips of the client area.
    int left() const { return m_left; }
    int top() const { return m_top; }
    QString text() const { return m_text; }

private:
    ToolButton m_hot = ToolButton::None;
    bool m_timerRunning = false;
    bool m_visible = false;
    int m_left = StartLeft;
    int m_top = StartTop;
    QString m_text;
};

} // namespace qm
