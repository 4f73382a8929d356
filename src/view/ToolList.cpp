#include "view/ToolList.h"

#include "view/EllipseTool.h"
#include "view/FreehandTool.h"
#include "view/HandTool.h"
#include "view/InitialRectTool.h"
#include "view/PolylineTool.h"
#include "view/RectTool.h"
#include "view/ReferenceLineTool.h"
#include "view/SkewTool.h"
#include "view/SurfaceTool.h"
#include "view/ViewCommandIds.h"
#include "view/WandTool.h"
#include "view/ZoomTool.h"

#include <QtGlobal>

namespace ToolList {
namespace {

template <class T>
std::unique_ptr<CTool> Make()
{
    return std::make_unique<T>();
}

using V = CViewTools;

std::vector<CToolDescription> Build()
{
    return {
        {.slot = V::EllipseTool, .command = ID_ELLIPSE_SELECTION,
         .text = QT_TRANSLATE_NOOP("CommandTable", "Elliptic selection"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Elliptic selection"), .key = "E", .barSlot = 10,
         .make = Make<CEllipseTool>},
        {.slot = V::RectTool, .command = ID_RECT_SELECTION,
         .text = QT_TRANSLATE_NOOP("CommandTable", "Rectangular selection"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Rectangular selection"), .key = "R", .barSlot = 11,
         .make = Make<CRectTool>},
        {.slot = V::PolylineTool, .command = ID_POLYLINE_SELECTION,
         .text = QT_TRANSLATE_NOOP("CommandTable", "Polyline selection"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Polyline selection"), .key = "P", .barSlot = 12,
         .make = Make<CPolylineTool>},
        {.slot = V::FreehandTool, .command = ID_FREEHAND_SELECTION,
         .text = QT_TRANSLATE_NOOP("CommandTable", "Free-hand selection"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Free-hand selection"), .key = "F", .barSlot = 13,
         .make = Make<CFreehandTool>},
        {.slot = V::WandTool, .command = ID_MAGIC_WAND,
         .text = QT_TRANSLATE_NOOP("CommandTable", "Magic wand selection"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Magic wand selection"),
         .prompt = QT_TRANSLATE_NOOP("CommandTable", "Select the region of similar colour around a click; drag "
                                                     "sideways to change the tolerance"),
         .key = "W", .barSlot = 14, .make = Make<CWandTool>},
        {.slot = V::SurfaceTool, .command = ID_FIND_SURFACE, .text = QT_TRANSLATE_NOOP("CommandTable", "Find surface"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Find surface"),
         .prompt = QT_TRANSLATE_NOOP("CommandTable", "Select a whole floor or wall from a click inside it, or from a "
                                                     "rough rectangle or loop dragged around it"),
         .key = "S", .barSlot = 15, .make = Make<CSurfaceTool>},
        {.slot = V::HandTool, .command = ID_HAND, .text = QT_TRANSLATE_NOOP("CommandTable", "Hand"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Hand"), .key = "H", .group = 1, .barSlot = 20,
         .make = Make<CHandTool>},
        {.slot = V::ZoomTool, .command = ID_ZOOM_IN, .text = QT_TRANSLATE_NOOP("CommandTable", "Zoom in"),
         .tip = QT_TRANSLATE_NOOP("CommandTable", "Zoom in"), .key = "Z", .group = 2, .barSlot = 30,
         .make = Make<CZoomTool>},
        {.slot = V::SkewTool, .make = Make<CSkewTool>},
        {.slot = V::InitialRectTool, .make = Make<CInitialRectTool>},
        {.slot = V::ReferenceLineTool, .make = Make<CReferenceLineTool>},
    };
}

} // namespace

const std::vector<CToolDescription>& All()
{
    static const std::vector<CToolDescription> all = Build();
    return all;
}

const CToolDescription* ForCommand(int command)
{
    if (command == 0)
        return nullptr;
    for (const CToolDescription& tool : All())
        if (tool.command == command)
            return &tool;
    return nullptr;
}

} // namespace ToolList
