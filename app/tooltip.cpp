#include "app/tooltip.h"

namespace qm {

namespace {
constexpr int TipBelowButton = 500;
} // namespace

bool ToolTipLogic::buttonMoved(ToolButton button)
{
    m_hot = button;
    if (m_timerRunning)
        return false;
    m_timerRunning = true;
    return true;
}

void ToolTipLogic::surfaceMoved()
{
    m_visible = false;
    m_timerRunning = false;
}

void ToolTipLogic::tick()
{
    if (const ToolButtonEntry *tool = toolButtonEntry(m_hot)) {
        m_top = ToolButtonTop + TipBelowButton;
        m_left = tool->left;
        m_text = tool->tip.toString();
    }
    m_visible = true;
}

} // namespace qm
