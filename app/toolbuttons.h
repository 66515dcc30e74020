#pragma once

#include "app/toolicons.h"

#include <QStringView>

#include <array>

namespace qm {

/// The tool buttons, numbered as the tool tip knows them.
enum class ToolButton { None = 0, Save = 1, Print, Copy, Preview, Help, PageSetup };

/// The window's commands; a tool button runs one of them.
enum class Command { Preview, Save, PageSetup, Print, Copy, SelectAll, Help, About };

/// Everything there is to know about one tool button, in one place.
struct ToolButtonEntry
{
    ToolButton button;
    Command command;
    int left; // twips from the tool bar's left edge
    QStringView tip; // blanks included: the tip is drawn with them
    ToolIcon picture;
};

/// All tool buttons share one top and one size, in twips.
inline constexpr int ToolButtonTop = 60;
inline constexpr int ToolButtonSide = 375;

/// The tool buttons in tool bar order.
inline constexpr std::array<ToolButtonEntry, 6> ToolButtons { {
    { ToolButton::Save, Command::Save, 135, u" Save ", ToolIcon::Save },
    { ToolButton::Print, Command::Print, 615, u" Print ", ToolIcon::Print },
    { ToolButton::Copy, Command::Copy, 1095, u" Copy ", ToolIcon::Copy },
    { ToolButton::PageSetup, Command::PageSetup, 1545, u" Page Setup ", ToolIcon::PageSetup },
    { ToolButton::Preview, Command::Preview, 2025, u" Preview ", ToolIcon::Preview },
    { ToolButton::Help, Command::Help, 6720, u" Help ", ToolIcon::Help },
} };

/// The entry of \a button, or nullptr for ToolButton::None.
constexpr const ToolButtonEntry *toolButtonEntry(ToolButton button)
{
    for (const ToolButtonEntry &tool : ToolButtons) {
        if (tool.button == button)
            return &tool;
    }
    return nullptr;
}

} // namespace qm
