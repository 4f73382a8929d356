#pragma once

// The commands the template view answers itself: its tools, zoom and
// refresh, with the numbers menus, toolbars and accelerators share.
enum ViewCommandId : int {
    ID_POLYLINE_SELECTION = 32773,
    ID_RECT_SELECTION = 32774,
    ID_FREEHAND_SELECTION = 32775,
    ID_HAND = 32783,
    ID_ORIGINAL_SIZE = 32785,
    ID_ZOOM_IN = 32789,
    ID_ZOOM_OUT = 32790,
    ID_REFRESH = 32806,
    ID_ELLIPSE_SELECTION = 32828,
    ID_MAGIC_WAND = 32829,
    ID_FIND_SURFACE = 32841,
    ID_ZOOM_TO_FIT = 32843,
};
