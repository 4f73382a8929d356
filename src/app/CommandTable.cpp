#include "CommandTable.h"

#include "ResourceIds.h"
#include "view/ToolList.h"

#include <QCoreApplication>

// The table's texts are marked in the CommandTable namespace, which is the
// context the translation tools give them (lupdate remarks that a namespace
// has no Q_OBJECT, and files the texts rightly all the same).
namespace CommandTable {
namespace {

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
QList<CCommandEntry> Listed()
{
    return {
        {.id = ID_FILE_NEW, .text = QT_TR_NOOP("&New"), .tip = QT_TR_NOOP("New"),
         .prompt = QT_TR_NOOP("Create a new document"), .keys = K::New, .menu = M::File, .onStartMenu = true,
         .bar = B::Main, .slot = 10},
        {.id = ID_FILE_OPEN, .text = QT_TR_NOOP("&Open..."), .tip = QT_TR_NOOP("Open"),
         .prompt = QT_TR_NOOP("Open an existing document"), .keys = K::Open, .menu = M::File, .onStartMenu = true,
         .bar = B::Main, .slot = 11},
        {.id = ID_FILE_CLOSE, .text = QT_TR_NOOP("&Close"), .tip = QT_TR_NOOP("Close"),
         .prompt = QT_TR_NOOP("Close the active document"), .keys = K::Close, .alsoKeys = "Ctrl+W; Ctrl+F4",
         .menu = M::File},
        {.id = ID_FILE_SAVE, .text = QT_TR_NOOP("&Save"), .tip = QT_TR_NOOP("Save"),
         .prompt = QT_TR_NOOP("Save the active document"), .keys = K::Save, .menu = M::File, .bar = B::Main,
         .slot = 12},
        {.id = ID_FILE_SAVE_AS, .text = QT_TR_NOOP("Save &As..."), .tip = QT_TR_NOOP("Save As"),
         .prompt = QT_TR_NOOP("Save the active document with a new name"), .keys = K::SaveAs,
         .alsoKeys = "Ctrl+Shift+S", .menu = M::File},
        {.id = ID_EXPORT, .text = QT_TR_NOOP("&Export..."), .tip = QT_TR_NOOP("Export"), .menu = M::File, .group = 1,
         .bar = B::Main, .slot = 13},
        {.id = ID_FILE_PRINT, .text = QT_TR_NOOP("&Print..."), .tip = QT_TR_NOOP("Print"),
         .prompt = QT_TR_NOOP("Print the active document"), .keys = K::Print, .menu = M::File, .group = 1},
        {.id = ID_FILE_PRINT_PREVIEW, .text = QT_TR_NOOP("Print Pre&view"), .tip = QT_TR_NOOP("Print Preview"),
         .prompt = QT_TR_NOOP("Show how the active document will print"), .menu = M::File, .group = 1},
        {.id = ID_FILE_MRU_FIRST, .count = 4, .text = QT_TR_NOOP("Recent File"), .tip = QT_TR_NOOP("Recent File"),
         .prompt = QT_TR_NOOP("Open this document"), .menu = M::File, .group = 2, .onStartMenu = true},
        {.id = ID_APP_EXIT, .text = QT_TR_NOOP("E&xit"), .tip = QT_TR_NOOP("Exit"),
         .prompt = QT_TR_NOOP("Quit the application; prompts to save documents"), .keys = K::Quit,
         .alsoKeys = "Ctrl+Q", .menu = M::File, .group = 3,
         .onStartMenu = true},

        // Without a template window nothing answers these, so they show disabled.
        {.id = ID_EDIT_UNDO, .text = QT_TR_NOOP("&Undo"), .textWithDetail = QT_TR_NOOP("&Undo %1"),
         .tip = QT_TR_NOOP("Undo"), .prompt = QT_TR_NOOP("Undo the last action"), .keys = K::Undo,
         .alsoKeys = "Ctrl+Z; Alt+Backspace", .menu = M::Edit,
         .onStartMenu = true, .bar = B::Main, .slot = 20},
        {.id = ID_EDIT_REDO, .text = QT_TR_NOOP("&Redo"), .textWithDetail = QT_TR_NOOP("&Redo %1"),
         .tip = QT_TR_NOOP("Redo"), .prompt = QT_TR_NOOP("Redo the previously undone action"), .keys = K::Redo,
         .alsoKeys = "Ctrl+Y; Ctrl+Shift+Z; Alt+Shift+Backspace",
         .menu = M::Edit, .onStartMenu = true, .bar = B::Main, .slot = 21},
        {.id = ID_EDIT_COPY, .text = QT_TR_NOOP("&Copy"), .tip = QT_TR_NOOP("Copy"),
         .prompt = QT_TR_NOOP("Copy the composed template to the Clipboard, as it is exported"), .keys = K::Copy,
         .alsoKeys = "Ctrl+C; Ctrl+Ins",
         .menu = M::Edit, .group = 1, .onStartMenu = true},
        {.id = ID_EDIT_PASTE, .text = QT_TR_NOOP("&Paste"), .tip = QT_TR_NOOP("Paste"),
         .prompt = QT_TR_NOOP("Use the picture on the Clipboard as the template's picture"), .keys = K::Paste,
         .alsoKeys = "Ctrl+V; Shift+Ins",
         .menu = M::Edit, .group = 1, .onStartMenu = true},

        {.id = ID_SELECT_PICTURE, .text = QT_TR_NOOP("Select picture"), .tip = QT_TR_NOOP("Select picture"),
         .menu = M::Template, .bar = B::Main, .slot = 70},
        {.id = ID_CREATE_AREA, .text = QT_TR_NOOP("Create area"), .tip = QT_TR_NOOP("Create area"), .menu = M::Template,
         .bar = B::Main, .slot = 40},
        {.id = ID_DELETE_AREA, .text = QT_TR_NOOP("Delete selected area"), .tip = QT_TR_NOOP("Delete selected area"),
         .menu = M::Template, .bar = B::Main, .slot = 41},
        {.id = ID_CLEAR_SELECTION, .text = QT_TR_NOOP("Clear selection"), .tip = QT_TR_NOOP("Clear selection"),
         .menu = M::Template, .bar = B::Main, .slot = 60},
        {.id = ID_ADD_SELECTION_TO_AREA, .text = QT_TR_NOOP("Add selection to existing area"),
         .tip = QT_TR_NOOP("Add selection to existing area"), .menu = M::Template, .bar = B::Main, .slot = 50},
        {.id = ID_DELETE_SELECTION_FROM_AREA, .text = QT_TR_NOOP("Delete selection from existing area"),
         .tip = QT_TR_NOOP("Delete selection from existing area"), .menu = M::Template, .bar = B::Main, .slot = 51},
        {.id = ID_FIT_PERSPECTIVE, .text = QT_TR_NOOP("Fit &Perspective"), .tip = QT_TR_NOOP("Fit Perspective"),
         .prompt = QT_TR_NOOP("Find the picked area's plane from the photo's straight edges"), .menu = M::Template,
         .group = 1},
        {.id = ID_REAL_SIZE, .text = QT_TR_NOOP("Real &Size..."), .tip = QT_TR_NOOP("Real Size"),
         .prompt = QT_TR_NOOP("Show the picked area's texture at its real size"), .menu = M::Template, .group = 1},
        {.id = ID_LAY_PATTERN, .text = QT_TR_NOOP("P&attern..."), .tip = QT_TR_NOOP("Pattern"),
         .prompt = QT_TR_NOOP("Lay tiles or planks piece by piece into the picked area"), .menu = M::Template,
         .group = 1},
        {.id = ID_RENDER_GROUP, .text = QT_TR_NOOP("Render texture group..."),
         .tip = QT_TR_NOOP("Render texture group"), .menu = M::Template, .group = 2},

        {.id = ID_SELECT_ALL, .text = QT_TR_NOOP("&All"), .tip = QT_TR_NOOP("Select all"),
         .prompt = QT_TR_NOOP("Select the whole picture"), .keys = K::SelectAll, .menu = M::Select},
        {.id = ID_SELECT_NONE, .text = QT_TR_NOOP("&None"), .tip = QT_TR_NOOP("Select none"),
         .prompt = QT_TR_NOOP("Clear the selection"), .keys = K::Deselect, .alsoKeys = "Ctrl+Shift+A",
         .menu = M::Select},
        {.id = ID_SELECT_INVERT, .text = QT_TR_NOOP("&Invert"), .tip = QT_TR_NOOP("Invert selection"),
         .prompt = QT_TR_NOOP("Select the picture outside the selection"), .ownKey = "Ctrl+I", .menu = M::Select},
        {.id = ID_SELECT_GROW, .text = QT_TR_NOOP("&Grow..."), .tip = QT_TR_NOOP("Grow selection"),
         .prompt = QT_TR_NOOP("Grow the selection by a number of pixels"), .menu = M::Select, .group = 1},
        {.id = ID_SELECT_SHRINK, .text = QT_TR_NOOP("&Shrink..."), .tip = QT_TR_NOOP("Shrink selection"),
         .prompt = QT_TR_NOOP("Shrink the selection by a number of pixels"), .menu = M::Select, .group = 1},
        {.id = ID_REFINE_EDGES, .text = QT_TR_NOOP("&Refine Edges..."), .tip = QT_TR_NOOP("Refine Edges"),
         .prompt = QT_TR_NOOP("Snap the selection's boundary to the picture's edges"), .menu = M::Select, .group = 2},

        {.id = ID_ZOOM_OUT, .text = QT_TR_NOOP("Zoom out"), .tip = QT_TR_NOOP("Zoom out"), .keys = K::ZoomOut,
         .alsoKeys = "Ctrl+-", .menu = M::Tool, .group = 2,
         .bar = B::Tools, .slot = 31},
        {.id = ID_ORIGINAL_SIZE, .text = QT_TR_NOOP("Original size"), .tip = QT_TR_NOOP("Original size"),
         .menu = M::Tool, .group = 2, .bar = B::Tools, .slot = 32},
        {.id = ID_ZOOM_TO_FIT, .text = QT_TR_NOOP("Zoom to Fit"), .tip = QT_TR_NOOP("Zoom to Fit"),
         .prompt = QT_TR_NOOP("Show the whole picture in the window"), .ownKey = "Ctrl+0", .menu = M::Tool, .group = 2,
         .bar = B::Tools, .slot = 33},

        {.id = ID_VIEW_TOOLBAR, .text = QT_TR_NOOP("&Toolbar"), .tip = QT_TR_NOOP("Toolbar"),
         .prompt = QT_TR_NOOP("Show or hide the toolbar"), .checkable = true, .menu = M::View, .onStartMenu = true},
        {.id = ID_VIEW_STATUS_BAR, .text = QT_TR_NOOP("&Status Bar"), .tip = QT_TR_NOOP("Status Bar"),
         .prompt = QT_TR_NOOP("Show or hide the status bar"), .checkable = true, .menu = M::View, .onStartMenu = true},
        {.id = ID_VIEW_BANNER, .text = QT_TR_NOOP("&Banner"), .tip = QT_TR_NOOP("Banner"),
         .prompt = QT_TR_NOOP("Show or hide the banner"), .checkable = true, .menu = M::View, .onStartMenu = true},
        // The Areas panel and "Help..." have no prompt of their own.
        {.id = ID_VIEW_AREAS, .text = QT_TR_NOOP("&Areas"), .tip = QT_TR_NOOP("Areas"), .prompt = "", .checkable = true,
         .menu = M::View},
        {.id = ID_VIEW_KEEP_SHADING, .text = QT_TR_NOOP("&Keep Shading"), .tip = QT_TR_NOOP("Keep Shading"),
         .prompt = QT_TR_NOOP("Show the picture's light and shadow on the textures"), .checkable = true,
         .menu = M::View, .group = 1},
        {.id = ID_VIEW_PERSPECTIVE_GRID, .text = QT_TR_NOOP("&Perspective Grid"), .tip = QT_TR_NOOP("Perspective Grid"),
         .prompt = QT_TR_NOOP("Show the texture's tile grid while the skew corners are edited"), .checkable = true,
         .menu = M::View, .group = 1},
        {.id = ID_REFRESH, .text = QT_TR_NOOP("&Refresh"), .tip = QT_TR_NOOP("Refresh"), .keys = K::Refresh,
         .alsoKeys = "F5", .menu = M::View, .group = 1,
         .bar = B::Main, .slot = 71},

        {.id = ID_WINDOW_NEW, .text = QT_TR_NOOP("&New Window"), .tip = QT_TR_NOOP("New Window"),
         .prompt = QT_TR_NOOP("Open another window for the active document"), .menu = M::Window},
        {.id = ID_WINDOW_CASCADE, .text = QT_TR_NOOP("&Cascade"), .tip = QT_TR_NOOP("Cascade"),
         .prompt = QT_TR_NOOP("Arrange windows so they overlap"), .menu = M::Window},
        {.id = ID_WINDOW_TILE_HORZ, .text = QT_TR_NOOP("&Tile"), .tip = QT_TR_NOOP("Tile"),
         .prompt = QT_TR_NOOP("Arrange windows as non-overlapping tiles"), .menu = M::Window},
        {.id = ID_WINDOW_ARRANGE, .text = QT_TR_NOOP("&Arrange Icons"), .tip = QT_TR_NOOP("Arrange Icons"),
         .prompt = QT_TR_NOOP("Arrange icons at the bottom of the window"), .menu = M::Window},
        {.id = ID_WINDOW_CHILD_FIRST, .count = ID_WINDOW_CHILD_LAST - ID_WINDOW_CHILD_FIRST + 1, .text = "", .tip = "",
         .prompt = QT_TR_NOOP("Activate this window"), .checkable = true, .menu = M::Window, .group = 1},
        {.id = ID_WINDOW_MORE, .text = QT_TR_NOOP("&More Windows..."), .tip = QT_TR_NOOP("More Windows"),
         .prompt = QT_TR_NOOP("Choose among all open windows"), .menu = M::Window, .group = 1},

        {.id = ID_HELP_CONTENTS, .text = QT_TR_NOOP("&Help..."), .tip = QT_TR_NOOP("Help"), .prompt = "",
         .keys = K::HelpContents, .alsoKeys = "F1",
         .menu = M::Help, .onStartMenu = true},
        {.id = ID_APP_ABOUT, .text = QT_TR_NOOP("&About Tilemont..."), .tip = QT_TR_NOOP("About"),
         .prompt = QT_TR_NOOP("Display program information, version number and copyright"), .menu = M::Help,
         .onStartMenu = true, .bar = B::Main, .slot = 30},
    };
}

// The mouse tools describe themselves; their items go where the Tool menu
// begins, before Zoom out.
QList<CCommandEntry> Build()
{
    QList<CCommandEntry> entries = Listed();
    qsizetype at = 0;
    while (at < entries.size() && entries[at].id != ID_ZOOM_OUT)
        ++at;
    for (const CToolDescription& tool : ToolList::All()) {
        if (tool.command == 0)
            continue;
        entries.insert(at++, {.id = tool.command, .text = tool.text, .tip = tool.tip, .prompt = tool.prompt,
                              .ownKey = tool.key, .checkable = true, .menu = M::Tool, .group = tool.group,
                              .bar = B::Tools, .slot = tool.barSlot});
    }
    return entries;
}

} // namespace
} // namespace CommandTable

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
    QList<QKeySequence> keys;
    if (entry.ownKey)
        keys.append(QKeySequence(QString::fromLatin1(entry.ownKey), QKeySequence::PortableText));
    else if (entry.keys != QKeySequence::UnknownKey)
        keys = QKeySequence::keyBindings(entry.keys);
    if (entry.alsoKeys)
        for (const QKeySequence& key :
             QKeySequence::listFromString(QString::fromLatin1(entry.alsoKeys), QKeySequence::PortableText))
            if (!keys.contains(key))
                keys.append(key);
    return keys;
}

QString CommandTable::MenuText(const CCommandEntry& entry, const QString& detail)
{
    QString text = detail.isEmpty() || !entry.textWithDetail ? Translated(entry.text)
                                                             : Translated(entry.textWithDetail).arg(detail);
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
