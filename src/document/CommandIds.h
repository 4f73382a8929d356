#pragma once

// Command numbers shared by menus, toolbars and handlers.
enum CommandId : int {
    ID_CREATE_AREA = 32776,
    ID_SELECT_PICTURE = 32777,
    ID_CLEAR_SELECTION = 32779,
    ID_ADD_SELECTION_TO_AREA = 32784,
    ID_DELETE_AREA = 32787,
    ID_DELETE_SELECTION_FROM_AREA = 32791,
    ID_EXPORT = 32792,
    // The Select menu.
    ID_SELECT_ALL = 32830,
    ID_SELECT_NONE = 32831,
    ID_SELECT_INVERT = 32832,
    ID_SELECT_GROW = 32833,
    ID_SELECT_SHRINK = 32834,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
};
