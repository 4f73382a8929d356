#include "ViewTestSupport.h"

#include "analysis/MaskOutline.h"
#include "analysis/SurfaceFinder.h"
#include "geometry/Polygon.h"
#include "view/SurfaceTool.h"
#include "view/ViewCommandIds.h"

#include <QPainter>
#include <QPainterPath>

namespace {

class SurfaceToolTest : public ViewTest
{
protected:
    // The selection filled by the even-odd rule at pixel centres.
    QImage SelectedPixels() const
    {
        QImage image(doc.GetPicture()->size(), QImage::Format_Grayscale8);
        image.fill(0);
        QPainterPath path;
        PolygonToPath(doc.GetSelection().GetPolygon(), path);
        path.setFillRule(Qt::OddEvenFill);
        QPainter painter(&image);
        painter.fillPath(path, Qt::white);
        return image;
    }
    // Pixels where the selection and the region disagree.
    int Differences(const CRegionMask& mask) const
    {
        const QImage selected = SelectedPixels();
        int n = 0;
        for (int y = 0; y < mask.height; ++y)
            for (int x = 0; x < mask.width; ++x)
                n += (selected.constScanLine(y)[x] != 0) != (mask.Row(y)[x] != 0);
        return n;
    }
    // The selection a replacing commit of the region makes: its exact
    // outline, as the command line writes it.
    CPolygon Committed(const CRegionMask& mask) { return MaskOutline(mask); }
    bool Selected(QPoint p) const { return SelectedPixels().constScanLine(p.y())[p.x()] != 0; }
};

// A click selects exactly the region the finder gives for that pixel (what
// `tilemont-cli select --method surface` outlines); Ctrl+click on the table
// cuts it out again; a drag ending near its start is a loop, any other a
// rectangle; each is one undoable step.
TEST_F(SurfaceToolTest, ClickCommitsTheFindersRegionAndModifiersCombine)
{
    SetPicture(QImage(QStringLiteral(TILEMONT_ROOMS "/tiles-table.jpg")));
    ASSERT_FALSE(doc.GetPicture()->isNull());
    auto view = ShowView(doc, QSize(1000, 800));
    view->OnCommand(ID_FIND_SURFACE);
    // The 640 x 480 picture sits in the middle of the window.
    const QPoint origin(180, 160);
    QWidget* w = view->viewport();
    QTest::mouseClick(w, Qt::LeftButton, {}, origin + QPoint(320, 360));
    const auto floor = CSurfaceFinder::Find(*doc.GetPicture(), {QPoint(320, 360), {}});
    ASSERT_TRUE(floor);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == Committed(*floor));
    EXPECT_GT(floor->Count(), 100000u);
    EXPECT_EQ(Differences(*floor), 0);
    EXPECT_EQ(doc.GetHistory().UndoText(), "Selection");

    // Shift+click on the table top adds it; Ctrl+click takes it away again.
    const QPoint tableTop(260, 135);
    ASSERT_FALSE(floor->Contains(tableTop.x(), tableTop.y()));
    QTest::mouseClick(w, Qt::LeftButton, Qt::ShiftModifier, origin + tableTop);
    EXPECT_TRUE(Selected(tableTop));
    QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, origin + tableTop);
    EXPECT_FALSE(Selected(tableTop));
    doc.OnEditUndo();
    EXPECT_TRUE(Selected(tableTop));

    // A rough rectangle around the floor finds it too, kept within the drag.
    const QRectF rect(0, 118, 640, 362);
    QTest::mousePress(w, Qt::LeftButton, {}, origin + rect.topLeft().toPoint());
    QTest::mouseMove(w, origin + QPoint(300, 300));
    QTest::mouseRelease(w, Qt::LeftButton, {}, origin + rect.bottomRight().toPoint());
    const auto around = CSurfaceFinder::Find(
        *doc.GetPicture(), {std::nullopt, {rect.topLeft(), rect.topRight(), rect.bottomRight(), rect.bottomLeft()}});
    ASSERT_TRUE(around);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == Committed(*around));
}

TEST(SurfaceTool, TellsALoopFromARectangleDrag)
{
    std::vector<QPointF> loop, line;
    for (int i = 0; i <= 40; ++i) {
        const double a = i * 2 * M_PI / 42;
        loop.emplace_back(100 + 50 * std::cos(a), 100 + 40 * std::sin(a));
        line.emplace_back(10 + 3 * i, 20 + 2 * i);
    }
    EXPECT_TRUE(CSurfaceTool::IsLoop(loop));
    EXPECT_FALSE(CSurfaceTool::IsLoop(line));
    EXPECT_FALSE(CSurfaceTool::IsLoop({QPointF(1, 1), QPointF(2, 2), QPointF(1, 1)}));
}

} // namespace
