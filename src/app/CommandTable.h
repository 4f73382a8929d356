#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// The menus an entry can sit in, in the menu bar's order.
enum class CMenuPlace { None, File, Edit, Template, Select, Tool, View, Window, Help };
// The toolbars an entry can sit on.
enum class CBarPlace { None, Main, Tools };

// Everything the editor shows for one command, in one place: the menus,
// toolbars, shortcuts, tooltips and status-bar prompts are all built from
// these entries. Texts are untranslated source texts of the "CommandTable"
// context; the functions below hand them out translated.
struct CCommandEntry
{
    int id = 0;
    // The ids id .. id + count - 1 share the entry (the recent files, the
    // Window menu's list of windows).
    int count = 1;
    // Menu text with its mnemonic, without keys: "&Save".
    const char* text = nullptr;
    // The menu text while the command names what it acts on, %1 being that:
    // "&Undo %1". Null for commands that never say.
    const char* textWithDetail = nullptr;
    // The short name: the toolbar button's tooltip.
    const char* tip = nullptr;
    // The status-bar prompt; null means the short name, "" none.
    const char* prompt = nullptr;
    // Qt's standard keys for the command; UnknownKey for none.
    QKeySequence::StandardKey keys = QKeySequence::UnknownKey;
    // A key of the editor's own where Qt has no standard one: "Ctrl+I".
    const char* ownKey = nullptr;
    // Keys the guide promises beside the standard ones, which differ
    // between desktops (Redo's Ctrl+Y is Windows', Ctrl+Shift+Z the
    // others'): "Ctrl+Y; Ctrl+Shift+Z". They work on every desktop.
    const char* alsoKeys = nullptr;
    bool checkable = false;
    // Where the item sits: items of one menu keep the table's order, with a
    // separator where the group changes. onStartMenu: also in the menu bar
    // shown while no template window is open.
    CMenuPlace menu = CMenuPlace::None;
    int group = 0;
    bool onStartMenu = false;
    // Toolbar buttons go in slot order, with a separator where the slot's
    // tens change. A button's icon is the icon engine's drawing for the id.
    CBarPlace bar = CBarPlace::None;
    int slot = 0;
};

namespace CommandTable {

const QList<CCommandEntry>& All();
// The entry whose ids hold id, or null.
const CCommandEntry* Find(int id);

// The menu's title, "&File".
QString MenuTitle(CMenuPlace menu);
// The toolbar tooltip: the short name and the first key, "Save (Ctrl+S)".
QString Tip(const CCommandEntry& entry);
QString Prompt(const CCommandEntry& entry);
QList<QKeySequence> Shortcuts(const CCommandEntry& entry);
// The item's text as menus show it: the text, then what the command acts on
// now when it says so ("&Undo Create area"), then a tab and the first key.
QString MenuText(const CCommandEntry& entry, const QString& detail = QString());
// The toolbar tooltip for a menu text: no mnemonic, the key in brackets
// ("Undo Create area (Ctrl+Z)").
QString TipOfMenuText(const QString& menuText);

} // namespace CommandTable
