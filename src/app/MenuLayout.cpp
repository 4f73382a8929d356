#include "MenuLayout.h"

#include "ResourceIds.h"

#include <QMenu>

namespace {

constexpr int kSeparator = 0;
constexpr int kRecentFiles = -1;
constexpr int kWindowList = -2;

struct MenuDef
{
    const char* title;
    std::vector<int> items;
};

std::vector<MenuDef> Layout(int menuId)
{
    const MenuDef help{"&Help", {ID_HELP_CONTENTS, ID_APP_ABOUT}};
    // Without a template window nothing answers these, so they show disabled.
    const MenuDef edit{"&Edit", {ID_EDIT_UNDO, ID_EDIT_REDO}};
    if (menuId == IDR_MAINFRAME) {
        return {
            {"&File", {ID_FILE_NEW, ID_FILE_OPEN, kSeparator, kRecentFiles, kSeparator, ID_APP_EXIT}},
            edit,
            {"&View", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_BANNER}},
            help,
        };
    }
    return {
        {"&File",
         {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_SAVE, ID_FILE_SAVE_AS, kSeparator, ID_EXPORT,
          ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, kSeparator, kRecentFiles, kSeparator, ID_APP_EXIT}},
        edit,
        {"Template",
         {ID_SELECT_PICTURE, ID_CREATE_AREA, ID_DELETE_AREA, ID_CLEAR_SELECTION, ID_ADD_SELECTION_TO_AREA,
          ID_DELETE_SELECTION_FROM_AREA, kSeparator, ID_FIT_PERSPECTIVE, ID_REAL_SIZE, kSeparator,
          ID_RENDER_GROUP}},
        {"Tool",
         {ID_ELLIPSE_SELECTION, ID_RECT_SELECTION, ID_POLYLINE_SELECTION, ID_FREEHAND_SELECTION, kSeparator,
          ID_HAND, kSeparator, ID_ZOOM_IN, ID_ZOOM_OUT, ID_ORIGINAL_SIZE}},
        {"&View", {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_BANNER, ID_VIEW_AREAS, kSeparator,
                   ID_VIEW_KEEP_SHADING, ID_VIEW_PERSPECTIVE_GRID, ID_REFRESH}},
        {"&Window", {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE, kSeparator,
                     kWindowList}},
        help,
    };
}

} // namespace

QList<QMenu*> MenuLayout::Build(int menuId, const ActionFor& action, QWidget* parent)
{
    QList<QMenu*> menus;
    for (const MenuDef& def : Layout(menuId)) {
        auto* menu = new QMenu(QString::fromLatin1(def.title), parent);
        for (int id : def.items) {
            if (id == kSeparator) {
                menu->addSeparator();
            } else if (id == kRecentFiles) {
                for (int mru = ID_FILE_MRU_FIRST; mru < ID_FILE_MRU_FIRST + 4; ++mru)
                    menu->addAction(action(mru));
            } else if (id == kWindowList) {
                for (int child = ID_WINDOW_CHILD_FIRST; child <= ID_WINDOW_CHILD_LAST; ++child)
                    menu->addAction(action(child));
            } else {
                menu->addAction(action(id));
            }
        }
        menus << menu;
    }
    return menus;
}
