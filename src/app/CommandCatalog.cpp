#include "CommandCatalog.h"

#include "ResourceIds.h"

namespace {

QList<CCommandInfo> Build()
{
    using K = QKeySequence;
    // The editor's own commands use their name as prompt; the standard ones
    // carry the usual longer prompts.
    auto own = [](int id, const QString& menu, const QString& name, bool checkable = false) {
        return CCommandInfo{id, menu, name, name, {}, checkable};
    };
    auto std_ = [](int id, const QString& menu, const QString& name, const QString& prompt,
                   QList<QKeySequence> keys = {}, bool checkable = false) {
        return CCommandInfo{id, menu, name, prompt, std::move(keys), checkable};
    };
    return {
        std_(ID_FILE_NEW, "&New\tCtrl+N", "New", "Create a new document", {K(Qt::CTRL | Qt::Key_N)}),
        std_(ID_FILE_OPEN, "&Open...\tCtrl+O", "Open", "Open an existing document", {K(Qt::CTRL | Qt::Key_O)}),
        std_(ID_FILE_CLOSE, "&Close", "Close", "Close the active document"),
        std_(ID_FILE_SAVE, "&Save\tCtrl+S", "Save", "Save the active document", {K(Qt::CTRL | Qt::Key_S)}),
        std_(ID_FILE_SAVE_AS, "Save &As...", "Save As", "Save the active document with a new name"),
        own(ID_EXPORT, "&Export...", "Export"),
        std_(ID_FILE_PRINT, "&Print...\tCtrl+P", "Print", "Print the active document", {K(Qt::CTRL | Qt::Key_P)}),
        std_(ID_FILE_PRINT_PREVIEW, "Print Pre&view", "Print Preview", "Show how the active document will print"),
        std_(ID_APP_EXIT, "E&xit", "Exit", "Quit the application; prompts to save documents"),
        own(ID_SELECT_PICTURE, "Select picture", "Select picture"),
        own(ID_CREATE_AREA, "Create area", "Create area"),
        own(ID_DELETE_AREA, "Delete selected area", "Delete selected area"),
        own(ID_RENDER_GROUP, "Render texture group...", "Render texture group"),
        std_(ID_FIT_PERSPECTIVE, "Fit &Perspective", "Fit Perspective",
             "Find the picked area's plane from the photo's straight edges"),
        std_(ID_REAL_SIZE, "Real &Size...", "Real Size", "Show the picked area's texture at its real size"),
        own(ID_CLEAR_SELECTION, "Clear selection", "Clear selection"),
        own(ID_ADD_SELECTION_TO_AREA, "Add selection to existing area", "Add selection to existing area"),
        own(ID_DELETE_SELECTION_FROM_AREA, "Delete selection from existing area",
            "Delete selection from existing area"),
        own(ID_ELLIPSE_SELECTION, "Elliptic selection", "Elliptic selection", true),
        own(ID_RECT_SELECTION, "Rectangular selection", "Rectangular selection", true),
        own(ID_POLYLINE_SELECTION, "Polyline selection", "Polyline selection", true),
        own(ID_FREEHAND_SELECTION, "Free-hand selection", "Free-hand selection", true),
        own(ID_HAND, "Hand", "Hand", true),
        own(ID_ZOOM_IN, "Zoom in", "Zoom in", true),
        own(ID_ZOOM_OUT, "Zoom out", "Zoom out"),
        own(ID_ORIGINAL_SIZE, "Original size", "Original size"),
        std_(ID_VIEW_TOOLBAR, "&Toolbar", "Toolbar", "Show or hide the toolbar", {}, true),
        std_(ID_VIEW_STATUS_BAR, "&Status Bar", "Status Bar", "Show or hide the status bar", {}, true),
        std_(ID_VIEW_BANNER, "&Banner", "Banner", "Show or hide the banner", {}, true),
        std_(ID_VIEW_KEEP_SHADING, "&Keep Shading", "Keep Shading",
             "Show the picture's light and shadow on the textures", {}, true),
        std_(ID_VIEW_PERSPECTIVE_GRID, "&Perspective Grid", "Perspective Grid",
             "Show the texture's tile grid while the skew corners are edited", {}, true),
        // The Areas panel and "Help..." have no prompt of their own.
        std_(ID_VIEW_AREAS, "&Areas", "Areas", QString(), {}, true),
        own(ID_REFRESH, "&Refresh", "Refresh"),
        std_(ID_WINDOW_NEW, "&New Window", "New Window", "Open another window for the active document"),
        std_(ID_WINDOW_CASCADE, "&Cascade", "Cascade", "Arrange windows so they overlap"),
        std_(ID_WINDOW_TILE_HORZ, "&Tile", "Tile", "Arrange windows as non-overlapping tiles"),
        std_(ID_WINDOW_ARRANGE, "&Arrange Icons", "Arrange Icons", "Arrange icons at the bottom of the window"),
        std_(ID_HELP_CONTENTS, "&Help...", "Help", QString()),
        std_(ID_APP_ABOUT, "&About Tilemont...", "About",
             "Display program information, version number and copyright"),
        std_(ID_EDIT_UNDO, "&Undo\tCtrl+Z", "Undo", "Undo the last action",
             {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)}),
        std_(ID_EDIT_REDO, "&Redo\tCtrl+Y", "Redo", "Redo the previously undone action",
             {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}),
        // Accelerators without a menu item.
        std_(ID_EDIT_CUT, "Cu&t\tCtrl+X", "Cut", "Cut the selection and put it on the Clipboard",
             {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)}),
        std_(ID_EDIT_COPY, "&Copy\tCtrl+C", "Copy", "Copy the selection and put it on the Clipboard",
             {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)}),
        std_(ID_EDIT_PASTE, "&Paste\tCtrl+V", "Paste", "Insert Clipboard contents",
             {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)}),
        std_(ID_NEXT_PANE, "Next Pane\tF6", "Next Pane", "Switch to the next window pane", {K(Qt::Key_F6)}),
        std_(ID_PREV_PANE, "Previous Pane\tShift+F6", "Previous Pane", "Switch back to the previous window pane",
             {K(Qt::SHIFT | Qt::Key_F6)}),
    };
}

} // namespace

const QList<CCommandInfo>& CommandCatalog::All()
{
    static const QList<CCommandInfo> all = Build();
    return all;
}

const CCommandInfo* CommandCatalog::Find(int id)
{
    for (const CCommandInfo& info : All())
        if (info.id == id)
            return &info;
    return nullptr;
}
