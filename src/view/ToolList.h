#pragma once

#include "view/ViewTools.h"

#include <memory>
#include <vector>

class CTool;

// What a mouse tool is to the user and to the window: the command that
// picks it, the texts and key the Tool menu and the tools bar show, where
// it sits there, and how to make one. The menu, the bar and each view's
// tool slots are all made from this list; the tool itself draws its
// feedback and sets its cursor, and the icon is the icon engine's drawing
// for the command.
struct CToolDescription
{
    CViewTools::Slot slot;
    // 0 for a tool its mode picks (the handle tools, the reference line),
    // which has no menu item.
    int command = 0;
    // Untranslated texts of the "CommandTable" context, as the command
    // table's own: the menu text, the button's short name, the status-bar
    // prompt (null: the short name).
    const char* text = nullptr;
    const char* tip = nullptr;
    const char* prompt = nullptr;
    // The key that picks it.
    const char* key = nullptr;
    // The Tool menu's group (a separator where it changes) and the button's
    // place on the tools bar.
    int group = 0;
    int barSlot = 0;
    std::unique_ptr<CTool> (*make)() = nullptr;
};

namespace ToolList {

// Every tool, in the Tool menu's order.
const std::vector<CToolDescription>& All();
// The tool a command picks, or null.
const CToolDescription* ForCommand(int command);

} // namespace ToolList
