#pragma once

#include "document/CommandIds.h"
#include "view/ViewCommandIds.h"

// Menus, toolbars and the icon they share their numbers with.
enum ResourceId : int {
    IDR_MAINFRAME = 128,  // menu without a template window, main toolbar, accelerators
    IDR_TILEMTYPE = 129,  // menu while a template window is active
    IDR_TOOLS = 130,      // tools toolbar
};

// Commands beyond the document's and the view's, with the numbers menus, toolbars and
// accelerators share.
enum GuiCommandId : int {
    ID_VIEW_AREAS = 32778,
    ID_HELP_CONTENTS = 32817,
    ID_VIEW_BANNER = 32818,
    ID_VIEW_KEEP_SHADING = 32819,
    ID_RENDER_GROUP = 32820,
    ID_FIT_PERSPECTIVE = 32821,
    ID_REAL_SIZE = 32822,
    ID_VIEW_PERSPECTIVE_GRID = 32823,
    ID_REFINE_EDGES = 32842,
    ID_LAY_PATTERN = 32844,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FIRST = 57616,
    ID_FILE_MRU_LAST = 57631,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    // All open windows, once there are more than the menu lists.
    ID_WINDOW_MORE = 57652,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    // The Window menu's list of open template windows, nine at most.
    ID_WINDOW_CHILD_FIRST = 65280,
    ID_WINDOW_CHILD_LAST = 65288,
};
