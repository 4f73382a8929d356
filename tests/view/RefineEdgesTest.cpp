#include "ViewTestSupport.h"

#include "analysis/MaskOutline.h"
#include "app/RefineEdgesCommand.h"
#include "geometry/Polygon.h"

#include <QPainterPath>

namespace {

class RefineEdgesTest : public ViewTest
{
protected:
    static CRegionMask Floor()
    {
        const QImage image = QImage(QStringLiteral(TILEMONT_ROOMS "/tiles-table-floor.png"))
                                 .convertToFormat(QImage::Format_Grayscale8);
        CRegionMask mask(image.width(), image.height());
        for (int y = 0; y < mask.height; ++y)
            for (int x = 0; x < mask.width; ++x)
                mask.Row(y)[x] = image.constScanLine(y)[x] ? 1 : 0;
        return mask;
    }
    static double IoU(const CRegionMask& a, const CRegionMask& b)
    {
        std::size_t both = 0, either = 0;
        for (std::size_t i = 0; i < a.bits.size(); ++i) {
            both += a.bits[i] && b.bits[i];
            either += a.bits[i] || b.bits[i];
        }
        return double(both) / double(either);
    }
};

// The selection's pixels read back exactly from a traced outline: the
// rasteriser the command uses against the tracer, on the true floor (holes
// for the table legs, corners, a border-touching region).
TEST_F(RefineEdgesTest, SelectionPixelsMatchTheTracedRegion)
{
    const CRegionMask floor = Floor();
    EXPECT_TRUE(CRefineEdgesCommand::Pixels(MaskOutline(floor), QSize(floor.width, floor.height)) == floor);
}

// A rough selection of the floor (a polygon of a few corners around it) is
// drawn nearer the floor in one "Selection" step, which undo takes back.
TEST_F(RefineEdgesTest, SnapsARoughSelectionInOneUndoableStep)
{
    SetPicture(QImage(QStringLiteral(TILEMONT_ROOMS "/tiles-table.jpg")));
    const CRegionMask floor = Floor();
    QPainterPath rough;
    rough.addPolygon(QPolygonF({QPointF(0, 160), QPointF(150, 152), QPointF(395, 150), QPointF(500, 140),
                                QPointF(640, 200), QPointF(640, 480), QPointF(0, 480), QPointF(0, 160)}));
    doc.CommitSelectionShape(rough, false, false);
    const CPolygon before = doc.GetSelection().GetPolygon();
    const double roughIoU = IoU(CRefineEdgesCommand::Pixels(before, QSize(640, 480)), floor);
    ASSERT_TRUE(CRefineEdgesCommand::Run(doc, 12, nullptr));
    const double refinedIoU = IoU(CRefineEdgesCommand::Pixels(doc.GetSelection().GetPolygon(), QSize(640, 480)), floor);
    EXPECT_GT(refinedIoU, roughIoU + 0.005) << roughIoU << " -> " << refinedIoU;
    EXPECT_EQ(doc.GetHistory().UndoText(), "Selection");
    doc.OnEditUndo();
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == before);
}

} // namespace
