#include "CommandTable.h"

#include "ResourceIds.h"

#include <QCoreApplication>

namespace {

#define T(text) QT_TRANSLATE_NOOP("CommandTable", text)

using K = QKeySequence;
using M = CMenuPlace;
using B = CBarPlace;

QString Translated(const char* text)
{
    return QCoreApplication::translate("CommandTable", text);
}

// A button's tip names the key that does the same, as menus show it:
// "Save (Ctrl+S)", so the keyboard can be learnt from the mouse.
QString WithKey(const QString& tip, const QList<QKeySequence>& keys)
{
    if (keys.isEmpty())
        return tip;
    return QCoreApplication::translate("CommandTable", "%1 (%2)")
        .arg(tip, keys.front().toString(QKeySequence::NativeText));
}

// In menu order. The editor's own commands use their name as prompt; the
// standard ones carry the usual longer prompts.
QList<CCommandEntry> Build()
{
    return {
        {.id = ID_FILE_NEW, .text = T("&New"), .tip = T("New"), .prompt = T("Create a new document"),
         .keys = K::New, .menu = M::File, .onStartMenu = true, .bar = B::Main, .slot = 10},
        {.id = ID_FILE_OPEN, .text = T("&Open..."), .tip = T("Open"), .prompt = T("Open an existing document"),
         .keys = K::Open, .menu = M::File, .onStartMenu = true, .bar = B::Main, .slot = 11},
        {.id = ID_FILE_CLOSE, .text = T("&Close"), .tip = T("Close"), .prompt = T("Close the active document"),
         .menu = M::File},
        {.id = ID_FILE_SAVE, .text = T("&Save"), .tip = T("Save"), .prompt = T("Save the active document"),
         .keys = K::Save, .menu = M::File, .bar = B::Main, .slot = 12},
        {.id = ID_FILE_SAVE_AS, .text = T("Save &As..."), .tip = T("Save As"),
         .prompt = T("Save the active document with a new name"), .menu = M::File},
        {.id = ID_EXPORT, .text = T("&Export..."), .tip = T("Export"), .menu = M::File, .group = 1, .bar = B::Main,
         .slot = 13},
        {.id = ID_FILE_PRINT, .text = T("&Print..."), .tip = T("Print"), .prompt = T("Print the active document"),
         .keys = K::Print, .menu = M::File, .group = 1},
        {.id = ID_FILE_PRINT_PREVIEW, .text = T("Print Pre&view"), .tip = T("Print Preview"),
         .prompt = T("Show how the active document will print"), .menu = M::File, .group = 1},
        {.id = ID_FILE_MRU_FIRST, .count = 4, .text = T("Recent File"), .tip = T("Recent File"),
         .prompt = T("Open this document"), .menu = M::File, .group = 2, .onStartMenu = true},
        {.id = ID_APP_EXIT, .text = T("E&xit"), .tip = T("Exit"),
         .prompt = T("Quit the application; prompts to save documents"), .menu = M::File, .group = 3,
         .onStartMenu = true},

        // Without a template window nothing answers these, so they show disabled.
        {.id = ID_EDIT_UNDO, .text = T("&Undo"), .tip = T("Undo"), .prompt = T("Undo the last action"),
         .keys = K::Undo, .menu = M::Edit, .onStartMenu = true, .bar = B::Main, .slot = 20},
        {.id = ID_EDIT_REDO, .text = T("&Redo"), .tip = T("Redo"), .prompt = T("Redo the previously undone action"),
         .keys = K::Redo, .menu = M::Edit, .onStartMenu = true, .bar = B::Main, .slot = 21},
        {.id = ID_EDIT_COPY, .text = T("&Copy"), .tip = T("Copy"),
         .prompt = T("Copy the composed template to the Clipboard, as it is exported"), .keys = K::Copy,
         .menu = M::Edit, .group = 1, .onStartMenu = true},
        {.id = ID_EDIT_PASTE, .text = T("&Paste"), .tip = T("Paste"),
         .prompt = T("Use the picture on the Clipboard as the template's picture"), .keys = K::Paste,
         .menu = M::Edit, .group = 1, .onStartMenu = true},

        {.id = ID_SELECT_PICTURE, .text = T("Select picture"), .tip = T("Select picture"), .menu = M::Template,
         .bar = B::Main, .slot = 70},
        {.id = ID_CREATE_AREA, .text = T("Create area"), .tip = T("Create area"), .menu = M::Template,
         .bar = B::Main, .slot = 40},
        {.id = ID_DELETE_AREA, .text = T("Delete selected area"), .tip = T("Delete selected area"),
         .menu = M::Template, .bar = B::Main, .slot = 41},
        {.id = ID_CLEAR_SELECTION, .text = T("Clear selection"), .tip = T("Clear selection"), .menu = M::Template,
         .bar = B::Main, .slot = 60},
        {.id = ID_ADD_SELECTION_TO_AREA, .text = T("Add selection to existing area"),
         .tip = T("Add selection to existing area"), .menu = M::Template, .bar = B::Main, .slot = 50},
        {.id = ID_DELETE_SELECTION_FROM_AREA, .text = T("Delete selection from existing area"),
         .tip = T("Delete selection from existing area"), .menu = M::Template, .bar = B::Main, .slot = 51},
        {.id = ID_FIT_PERSPECTIVE, .text = T("Fit &Perspective"), .tip = T("Fit Perspective"),
         .prompt = T("Find the picked area's plane from the photo's straight edges"), .menu = M::Template,
         .group = 1},
        {.id = ID_REAL_SIZE, .text = T("Real &Size..."), .tip = T("Real Size"),
         .prompt = T("Show the picked area's texture at its real size"), .menu = M::Template, .group = 1},
        {.id = ID_RENDER_GROUP, .text = T("Render texture group..."), .tip = T("Render texture group"),
         .menu = M::Template, .group = 2},

        {.id = ID_SELECT_ALL, .text = T("&All"), .tip = T("Select all"), .prompt = T("Select the whole picture"),
         .keys = K::SelectAll, .menu = M::Select},
        {.id = ID_SELECT_NONE, .text = T("&None"), .tip = T("Select none"), .prompt = T("Clear the selection"),
         .ownKey = "Ctrl+Shift+A", .menu = M::Select},
        {.id = ID_SELECT_INVERT, .text = T("&Invert"), .tip = T("Invert selection"),
         .prompt = T("Select the picture outside the selection"), .ownKey = "Ctrl+I", .menu = M::Select},
        {.id = ID_SELECT_GROW, .text = T("&Grow..."), .tip = T("Grow selection"),
         .prompt = T("Grow the selection by a number of pixels"), .menu = M::Select, .group = 1},
        {.id = ID_SELECT_SHRINK, .text = T("&Shrink..."), .tip = T("Shrink selection"),
         .prompt = T("Shrink the selection by a number of pixels"), .menu = M::Select, .group = 1},
        {.id = ID_REFINE_EDGES, .text = T("&Refine Edges..."), .tip = T("Refine Edges"),
         .prompt = T("Snap the selection's boundary to the picture's edges"), .menu = M::Select, .group = 2},

        {.id = ID_ELLIPSE_SELECTION, .text = T("Elliptic selection"), .tip = T("Elliptic selection"),
         .ownKey = "E", .checkable = true, .menu = M::Tool, .bar = B::Tools, .slot = 10},
        {.id = ID_RECT_SELECTION, .text = T("Rectangular selection"), .tip = T("Rectangular selection"),
         .ownKey = "R", .checkable = true, .menu = M::Tool, .bar = B::Tools, .slot = 11},
        {.id = ID_POLYLINE_SELECTION, .text = T("Polyline selection"), .tip = T("Polyline selection"),
         .ownKey = "P", .checkable = true, .menu = M::Tool, .bar = B::Tools, .slot = 12},
        {.id = ID_FREEHAND_SELECTION, .text = T("Free-hand selection"), .tip = T("Free-hand selection"),
         .ownKey = "F", .checkable = true, .menu = M::Tool, .bar = B::Tools, .slot = 13},
        {.id = ID_MAGIC_WAND, .text = T("Magic wand selection"), .tip = T("Magic wand selection"),
         .prompt = T("Select the region of similar colour around a click; drag sideways to change the tolerance"),
         .ownKey = "W", .checkable = true, .menu = M::Tool, .bar = B::Tools, .slot = 14},
        {.id = ID_FIND_SURFACE, .text = T("Find surface"), .tip = T("Find surface"),
         .prompt = T("Select a whole floor or wall from a click inside it, or from a rough rectangle or loop "
                     "dragged around it"),
         .ownKey = "S", .checkable = true, .menu = M::Tool, .bar = B::Tools, .slot = 15},
        {.id = ID_HAND, .text = T("Hand"), .tip = T("Hand"), .ownKey = "H", .checkable = true, .menu = M::Tool,
         .group = 1,
         .bar = B::Tools, .slot = 20},
        {.id = ID_ZOOM_IN, .text = T("Zoom in"), .tip = T("Zoom in"), .ownKey = "Z", .checkable = true,
         .menu = M::Tool, .group = 2,
         .bar = B::Tools, .slot = 30},
        {.id = ID_ZOOM_OUT, .text = T("Zoom out"), .tip = T("Zoom out"), .menu = M::Tool, .group = 2,
         .bar = B::Tools, .slot = 31},
        {.id = ID_ORIGINAL_SIZE, .text = T("Original size"), .tip = T("Original size"), .menu = M::Tool,
         .group = 2, .bar = B::Tools, .slot = 32},
        {.id = ID_ZOOM_TO_FIT, .text = T("Zoom to Fit"), .tip = T("Zoom to Fit"),
         .prompt = T("Show the whole picture in the window"), .ownKey = "Ctrl+0", .menu = M::Tool, .group = 2,
         .bar = B::Tools, .slot = 33},

        {.id = ID_VIEW_TOOLBAR, .text = T("&Toolbar"), .tip = T("Toolbar"), .prompt = T("Show or hide the toolbar"),
         .checkable = true, .menu = M::View, .onStartMenu = true},
        {.id = ID_VIEW_STATUS_BAR, .text = T("&Status Bar"), .tip = T("Status Bar"),
         .prompt = T("Show or hide the status bar"), .checkable = true, .menu = M::View, .onStartMenu = true},
        {.id = ID_VIEW_BANNER, .text = T("&Banner"), .tip = T("Banner"), .prompt = T("Show or hide the banner"),
         .checkable = true, .menu = M::View, .onStartMenu = true},
        // The Areas panel and "Help..." have no prompt of their own.
        {.id = ID_VIEW_AREAS, .text = T("&Areas"), .tip = T("Areas"), .prompt = "", .checkable = true,
         .menu = M::View},
        {.id = ID_VIEW_KEEP_SHADING, .text = T("&Keep Shading"), .tip = T("Keep Shading"),
         .prompt = T("Show the picture's light and shadow on the textures"), .checkable = true, .menu = M::View,
         .group = 1},
        {.id = ID_VIEW_PERSPECTIVE_GRID, .text = T("&Perspective Grid"), .tip = T("Perspective Grid"),
         .prompt = T("Show the texture's tile grid while the skew corners are edited"), .checkable = true,
         .menu = M::View, .group = 1},
        {.id = ID_REFRESH, .text = T("&Refresh"), .tip = T("Refresh"), .menu = M::View, .group = 1,
         .bar = B::Main, .slot = 71},

        {.id = ID_WINDOW_NEW, .text = T("&New Window"), .tip = T("New Window"),
         .prompt = T("Open another window for the active document"), .menu = M::Window},
        {.id = ID_WINDOW_CASCADE, .text = T("&Cascade"), .tip = T("Cascade"),
         .prompt = T("Arrange windows so they overlap"), .menu = M::Window},
        {.id = ID_WINDOW_TILE_HORZ, .text = T("&Tile"), .tip = T("Tile"),
         .prompt = T("Arrange windows as non-overlapping tiles"), .menu = M::Window},
        {.id = ID_WINDOW_ARRANGE, .text = T("&Arrange Icons"), .tip = T("Arrange Icons"),
         .prompt = T("Arrange icons at the bottom of the window"), .menu = M::Window},
        {.id = ID_WINDOW_CHILD_FIRST, .count = ID_WINDOW_CHILD_LAST - ID_WINDOW_CHILD_FIRST + 1, .text = "",
         .tip = "", .prompt = T("Activate this window"), .checkable = true, .menu = M::Window, .group = 1},

        {.id = ID_HELP_CONTENTS, .text = T("&Help..."), .tip = T("Help"), .prompt = "", .menu = M::Help,
         .onStartMenu = true},
        {.id = ID_APP_ABOUT, .text = T("&About Tilemont..."), .tip = T("About"),
         .prompt = T("Display program information, version number and copyright"), .menu = M::Help,
         .onStartMenu = true, .bar = B::Main, .slot = 30},
    };
}

#undef T

} // namespace

const QList<CCommandEntry>& CommandTable::All()
{
    static const QList<CCommandEntry> all = Build();
    return all;
}

const CCommandEntry* CommandTable::Find(int id)
{
    for (const CCommandEntry& entry : All())
        if (id >= entry.id && id < entry.id + entry.count)
            return &entry;
    return nullptr;
}

QString CommandTable::MenuTitle(CMenuPlace menu)
{
    switch (menu) {
    case CMenuPlace::File: return QCoreApplication::translate("CommandTable", "&File");
    case CMenuPlace::Edit: return QCoreApplication::translate("CommandTable", "&Edit");
    case CMenuPlace::Template: return QCoreApplication::translate("CommandTable", "Template");
    case CMenuPlace::Select: return QCoreApplication::translate("CommandTable", "Select");
    case CMenuPlace::Tool: return QCoreApplication::translate("CommandTable", "Tool");
    case CMenuPlace::View: return QCoreApplication::translate("CommandTable", "&View");
    case CMenuPlace::Window: return QCoreApplication::translate("CommandTable", "&Window");
    case CMenuPlace::Help: return QCoreApplication::translate("CommandTable", "&Help");
    case CMenuPlace::None: break;
    }
    return QString();
}

QString CommandTable::Tip(const CCommandEntry& entry)
{
    return WithKey(Translated(entry.tip), Shortcuts(entry));
}

QString CommandTable::Prompt(const CCommandEntry& entry)
{
    return entry.prompt ? Translated(entry.prompt) : Translated(entry.tip);
}

QList<QKeySequence> CommandTable::Shortcuts(const CCommandEntry& entry)
{
    if (entry.ownKey)
        return {QKeySequence(QString::fromLatin1(entry.ownKey), QKeySequence::PortableText)};
    return entry.keys == QKeySequence::UnknownKey ? QList<QKeySequence>() : QKeySequence::keyBindings(entry.keys);
}

QString CommandTable::MenuText(const CCommandEntry& entry, const QString& detail)
{
    QString text = Translated(entry.text);
    if (!detail.isEmpty())
        text += u' ' + detail;
    const QList<QKeySequence> keys = Shortcuts(entry);
    if (!keys.isEmpty())
        text += u'\t' + keys.front().toString(QKeySequence::NativeText);
    return text;
}

QString CommandTable::TipOfMenuText(const QString& menuText)
{
    const QString name = QString(menuText).remove(u'&').section(u'\t', 0, 0);
    const QString key = menuText.section(u'\t', 1);
    return key.isEmpty() ? name : QCoreApplication::translate("CommandTable", "%1 (%2)").arg(name, key);
}
