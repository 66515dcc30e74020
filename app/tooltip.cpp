#include "app/tooltip.h"

namespace qm {

namespace {
constexpr int ButtonTop = 60;
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
    if (m_hot != ToolButton::None) {
        m_top = ButtonTop + TipBelowButton;
        m_left = buttonLeft(m_hot);
        m_text = tipText(m_hot);
    }
    m_visible = true;
}

int ToolTipLogic::buttonLeft(ToolButton button)
{
    switch (button) {
    case ToolButton::Save:
        return 135;
    case ToolButton::Print:
        return 615;
    case ToolButton::Copy:
        return 1095;
    case ToolButton::PageSetup:
        return 1545;
    case ToolButton::Preview:
        return 2025;
    case ToolButton::Help:
        return 6720;
    case ToolButton::None:
        break;
    }
    return 0;
}

QString ToolTipLogic::tipText(ToolButton button)
{
    switch (button) {
    case ToolButton::Save:
        return QStringLiteral(" Save ");
    case ToolButton::Print:
        return QStringLiteral(" Print ");
    case ToolButton::Copy:
        return QStringLiteral(" Copy ");
    case ToolButton::Preview:
        return QStringLiteral(" Preview ");
    case ToolButton::Help:
        return QStringLiteral(" Help ");
    case ToolButton::PageSetup:
        return QStringLiteral(" Page Setup ");
    case ToolButton::None:
        break;
    }
    return QString();
}

} // namespace qm
