#include "AppTestSupport.h"

#include "app/ResourceIds.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"

// The panel in the editor: there from the start, toggled from the View
// menu, following the template whose window is in front, and letting go of
// a template when its window closes.
TEST_F(AppTest, AreasPanelFollowsTheTemplateWindowsAndItsToggle)
{
    ASSERT_TRUE(Start());
    CAreasBar* panel = Frame().AreasPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisibleTo(&Frame()));
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_AREAS));
    EXPECT_FALSE(panel->isVisibleTo(&Frame()));
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_AREAS));
    EXPECT_TRUE(panel->isVisibleTo(&Frame()));

    CArea floor;
    floor.SetName(QStringLiteral("Floor"));
    ActiveDoc().AddArea(std::move(floor), QStringLiteral("Create area"));
    EXPECT_EQ(panel->Document(), &ActiveDoc());
    ASSERT_EQ(panel->Controls().areaList->count(), 1);
    EXPECT_EQ(panel->Controls().areaList->item(0)->text(), QStringLiteral("Floor"));

    prompts.answers.push_back(IDocumentPrompts::Answer::No);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    FlushDeletes();
    EXPECT_EQ(panel->Document(), nullptr);
    EXPECT_EQ(panel->Controls().areaList->count(), 0);
}
