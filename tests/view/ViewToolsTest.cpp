#include "ViewTestSupport.h"

#include "app/ResourceIds.h"
#include "view/ToolList.h"

#include <set>
#include <string>
#include <typeinfo>

namespace
{

const int kToolCommands[] = {ID_RECT_SELECTION, ID_ELLIPSE_SELECTION, ID_POLYLINE_SELECTION,
                             ID_FREEHAND_SELECTION, ID_HAND, ID_ZOOM_IN};

} // namespace

using ViewToolsTest = ViewTest;

// The list every menu, bar and view is made from: each slot described once
// with its own kind of tool, and no command or key picking two tools.
TEST(ToolListTest, EverySlotOnceWithItsOwnToolCommandAndKey)
{
    std::set<int> seenSlots, commands;
    std::set<std::string> keys, kinds;
    for (const CToolDescription& tool : ToolList::All()) {
        EXPECT_TRUE(seenSlots.insert(tool.slot).second) << tool.slot;
        const std::unique_ptr<CTool> made = tool.make();
        ASSERT_NE(made, nullptr);
        EXPECT_TRUE(kinds.insert(typeid(static_cast<const CTool&>(*made)).name()).second) << tool.slot;
        if (tool.command == 0)
            continue;
        EXPECT_TRUE(commands.insert(tool.command).second) << tool.command;
        EXPECT_TRUE(keys.insert(tool.key).second) << tool.key;
        EXPECT_EQ(ToolList::ForCommand(tool.command), &tool);
        EXPECT_EQ(CViewCommands::ToolSlotOf(tool.command), tool.slot);
    }
    EXPECT_EQ(int(seenSlots.size()), int(CViewTools::ToolCount));
    EXPECT_EQ(ToolList::ForCommand(ID_FILE_SAVE), nullptr);
}

TEST_F(ViewToolsTest, FreshViewHasNoToolAndChecksNone)
{
    auto view = ShowView(doc, QSize(200, 100));
    EXPECT_EQ(view->GetActiveTool(), nullptr);
    for (const int id : kToolCommands) {
        EXPECT_TRUE(view->Commands().HandlesCommand(id)) << id;
        EXPECT_FALSE(view->Commands().CommandState(id).checked) << id;
        EXPECT_TRUE(view->Commands().CommandState(id).enabled) << id;
    }
    for (int slot = 0; slot < CTilemontView::ToolCount; ++slot) {
        CTool* tool = view->GetTool(CTilemontView::ToolSlot(slot));
        ASSERT_NE(tool, nullptr);
        EXPECT_EQ(tool->GetView(), view.get());
        EXPECT_EQ(tool->GetDocument(), &doc);
    }
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ViewToolsTest, ToolCommandPicksAndChecksExactlyThatTool)
{
    auto view = ShowView(doc, QSize(200, 100));
    const CTilemontView::ToolSlot toolSlots[] = {CTilemontView::RectTool,     CTilemontView::EllipseTool,
                                             CTilemontView::PolylineTool, CTilemontView::FreehandTool,
                                             CTilemontView::HandTool,     CTilemontView::ZoomTool};
    for (std::size_t i = 0; i < std::size(kToolCommands); ++i) {
        view->Commands().OnCommand(kToolCommands[i]);
        EXPECT_EQ(view->GetActiveTool(), view->GetTool(toolSlots[i]));
        for (const int other : kToolCommands)
            EXPECT_EQ(view->Commands().CommandState(other).checked, other == kToolCommands[i]) << other;
    }
    // The help and document commands travel further down the route.
    EXPECT_FALSE(view->Commands().HandlesCommand(ID_HELP_CONTENTS));
    EXPECT_FALSE(view->Commands().HandlesCommand(ID_FILE_SAVE));
}

TEST_F(ViewToolsTest, MouseInputReachesOnlyTheActiveTool)
{
    auto view = ShowView(doc, QSize(200, 100));
    auto* rect = new RecordingTool;
    auto* hand = new RecordingTool;
    view->SetTool(CTilemontView::RectTool, std::unique_ptr<CTool>(rect));
    view->SetTool(CTilemontView::HandTool, std::unique_ptr<CTool>(hand));
    EXPECT_EQ(rect->GetView(), view.get());

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_TRUE(rect->calls.isEmpty());

    view->Commands().OnCommand(ID_RECT_SELECTION);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(10, 20));
    QTest::mouseMove(view->viewport(), QPoint(30, 40));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(31, 41));
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, QPoint(5, 6));
    ASSERT_GE(rect->calls.size(), 4);
    EXPECT_EQ(rect->calls.front(), "ldown 10 20");
    EXPECT_TRUE(rect->calls.contains("move 30 40"));
    EXPECT_TRUE(rect->calls.contains("lup 31 41"));
    EXPECT_EQ(rect->calls.back(), "rdown 5 6");
    EXPECT_TRUE(hand->calls.isEmpty());
}

TEST_F(ViewToolsTest, SkewModeRestoresTheToolFromBeforeIt)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    const CArea& area = AddArea(RectPolygon(10, 10, 100, 100));
    auto view = ShowView(doc, QSize(500, 400));
    view->Commands().OnCommand(ID_HAND);

    view->SetSkewMode(true, &area);
    EXPECT_TRUE(view->IsSkewMode());
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::SkewTool));
    EXPECT_EQ(view->GetEditedArea(), &doc.GetAreas()[0]);

    view->Commands().OnCommand(ID_RECT_SELECTION);
    // Picking a tool does not end the mode.
    EXPECT_TRUE(view->IsSkewMode());
    view->SetSkewMode(false, &area);
    EXPECT_FALSE(view->IsSkewMode());
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::HandTool));
    EXPECT_TRUE(view->Commands().CommandState(ID_HAND).checked);
    // The edited area stays.
    EXPECT_EQ(view->GetEditedArea(), &doc.GetAreas()[0]);
}

TEST_F(ViewToolsTest, SwitchingAModeOnTwiceStillReturnsToTheUsersTool)
{
    const CArea& area = AddArea(RectPolygon(10, 10, 100, 100));
    auto view = ShowView(doc, QSize(500, 400));
    view->Commands().OnCommand(ID_ELLIPSE_SELECTION);
    view->SetInitialRectMode(true, &area);
    view->SetInitialRectMode(true, &area);
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::InitialRectTool));
    view->SetInitialRectMode(false, nullptr);
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::EllipseTool));
    // Off again while off leaves a later pick alone.
    view->Commands().OnCommand(ID_HAND);
    view->SetInitialRectMode(false, nullptr);
    EXPECT_EQ(view->GetActiveTool(), view->GetTool(CTilemontView::HandTool));
}

TEST_F(ViewToolsTest, TwoViewsInterleavingHandleModesEachGetTheirOwnToolBack)
{
    const CArea& area = AddArea(RectPolygon(10, 10, 100, 100));
    auto first = ShowView(doc, QSize(300, 200));
    auto second = ShowView(doc, QSize(300, 200));
    first->Commands().OnCommand(ID_RECT_SELECTION);
    second->Commands().OnCommand(ID_HAND);

    first->SetSkewMode(true, &area);
    second->SetSkewMode(true, &area);
    second->SetInitialRectMode(false, &area);
    first->SetSkewMode(false, &area);
    EXPECT_EQ(first->GetActiveTool(), first->GetTool(CTilemontView::RectTool));
    EXPECT_EQ(second->GetActiveTool(), second->GetTool(CTilemontView::SkewTool));
    second->SetSkewMode(false, &area);
    EXPECT_EQ(second->GetActiveTool(), second->GetTool(CTilemontView::HandTool));

    first->SetInitialRectMode(true, &area);
    second->SetInitialRectMode(true, &area);
    first->SetInitialRectMode(false, &area);
    second->SetInitialRectMode(false, &area);
    EXPECT_EQ(first->GetActiveTool(), first->GetTool(CTilemontView::RectTool));
    EXPECT_EQ(second->GetActiveTool(), second->GetTool(CTilemontView::HandTool));
}

TEST_F(ViewToolsTest, EditedAreaIsHeldByIdentityThroughGrowthRemovalAndUndo)
{
    AddArea(RectPolygon(0, 0, 10, 10));
    AddArea(RectPolygon(20, 0, 30, 10));
    auto view = ShowView(doc, QSize(300, 200));
    view->SetEditedArea(&doc.GetAreas()[1]);
    ASSERT_EQ(view->GetEditedArea(), &doc.GetAreas()[1]);

    // Growing the list moves its storage; the reference must follow.
    for (int i = 0; i < 40; ++i)
        AddArea(RectPolygon(i, i, i + 5, i + 5));
    EXPECT_EQ(view->GetEditedArea(), &doc.GetAreas()[1]);

    // Removing an area before it moves it down a place: still the same area.
    doc.DeleteArea(doc.AreaIdAt(0), "delete", false);
    ASSERT_NE(view->GetEditedArea(), nullptr);
    EXPECT_EQ(view->GetEditedArea()->GetOutline(), RectPolygon(20, 0, 30, 10));

    // Deleting the edited area and creating another must not hand the view
    // the newcomer; undoing the deletion gives the area back.
    const AreaId edited = view->GetEditedAreaId();
    doc.DeleteArea(edited, "delete", false);
    EXPECT_EQ(view->GetEditedArea(), nullptr);
    AddArea(RectPolygon(50, 50, 60, 60));
    EXPECT_EQ(view->GetEditedArea(), nullptr);
    doc.OnEditUndo();
    doc.OnEditUndo();
    ASSERT_NE(view->GetEditedArea(), nullptr);
    EXPECT_EQ(view->GetEditedArea()->GetOutline(), RectPolygon(20, 0, 30, 10));

    // Something outside the list is no area of this document.
    CArea stranger;
    view->SetEditedArea(&stranger);
    EXPECT_EQ(view->GetEditedArea(), nullptr);
}
