// The commands a template answers: which are on when, and that one run while
// off (a stale shortcut) does nothing.
#include "app/DocumentTarget.h"
#include "app/ResourceIds.h"
#include "document/ScriptedPrompts.h"
#include "geometry/Polygon.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

CPolygon Square(double x0, double y0, double x1, double y1)
{
    CPolygon polygon;
    polygon.contours.push_back({QPointF(x0, y0), QPointF(x1, y0), QPointF(x1, y1), QPointF(x0, y1)});
    return polygon;
}

TEST(DocumentCommandsTest, CommandsFollowTheirEnablingRulesAndDisabledOnesDoNothing)
{
    ScriptedPrompts prompts;
    CDocumentTarget target(prompts, nullptr);
    CTilemontDoc& doc = target.Doc();
    const auto on = [&](int id) { return target.CommandState(id).enabled; };

    EXPECT_TRUE(on(ID_SELECT_PICTURE));
    EXPECT_TRUE(on(ID_CLEAR_SELECTION));
    EXPECT_TRUE(on(ID_FILE_CLOSE));
    for (const int id : {ID_CREATE_AREA, ID_DELETE_AREA, ID_ADD_SELECTION_TO_AREA, ID_EDIT_UNDO, ID_EDIT_REDO,
                         ID_SELECT_ALL, ID_SELECT_INVERT, ID_SELECT_GROW, ID_SELECT_SHRINK, ID_EXPORT})
        EXPECT_FALSE(on(id)) << id;
    EXPECT_FALSE(target.HandlesCommand(12345));

    doc.SetPicture(std::make_unique<QImage>(40, 30, QImage::Format_RGB32));
    EXPECT_TRUE(on(ID_SELECT_ALL));
    EXPECT_FALSE(on(ID_EXPORT)); // no exporter installed
    const CPolygon square = Square(1, 1, 9, 9);
    doc.SetSelection(&square);
    EXPECT_TRUE(on(ID_CREATE_AREA));
    EXPECT_FALSE(on(ID_ADD_SELECTION_TO_AREA));
    prompts.names.push_back(QString("A"));
    target.OnCommand(ID_CREATE_AREA);
    ASSERT_EQ(doc.GetAreas().size(), 1u);
    EXPECT_TRUE(on(ID_EDIT_UNDO));
    EXPECT_FALSE(target.CommandState(ID_EDIT_UNDO).detail.isEmpty());
    doc.SetSelectedIndex(0);
    EXPECT_TRUE(on(ID_DELETE_AREA));
    EXPECT_TRUE(on(ID_DELETE_SELECTION_FROM_AREA));

    target.OnCommand(ID_CLEAR_SELECTION);
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_FALSE(on(ID_ADD_SELECTION_TO_AREA));
    // Off now: run anyway, it neither asks for a name nor adds an area.
    prompts.names.push_back(QString("B"));
    target.OnCommand(ID_CREATE_AREA);
    EXPECT_EQ(doc.GetAreas().size(), 1u);
    EXPECT_EQ(prompts.names.size(), 1u);
}

} // namespace
