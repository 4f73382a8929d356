#include "ViewTestSupport.h"

#include "render/AreaWarp.h"
#include "view/DragWarpPreview.h"
#include "view/HandleTool.h"
#include "view/SkewTool.h"

#include <atomic>
#include <mutex>

namespace {

class HandleToolsTest : public ViewTest
{
protected:
    // The warp the document keeps for the area's values now, and whether it
    // is a preview.
    CWarpCache::CEntry KeptWarp(AreaId id)
    {
        const CArea& area = *doc.FindArea(id);
        return doc.Warps().Find(area.GetId(), area.WarpInputs());
    }
    CHandleTool& Tool(CTilemontView& view, CTilemontView::ToolSlot slot)
    {
        return static_cast<CHandleTool&>(*view.GetTool(slot));
    }
    // Hover onto from, press, drag to to, release.
    void DragCorner(CTilemontView& view, QPoint from, QPoint to)
    {
        QWidget* w = view.viewport();
        QTest::mouseMove(w, from);
        QTest::mousePress(w, Qt::LeftButton, {}, from);
        QTest::mouseMove(w, (from + to) / 2);
        QTest::mouseMove(w, to);
        QTest::mouseRelease(w, Qt::LeftButton, {}, to);
    }
};

// The handle spans 8 screen pixels around the corner at any zoom, with the
// screen-to-picture conversion truncating toward zero, the corner at 100 is
// hit from picture 96..103 at zoom 1, 98..101 at 2 and 92..107 at 0.5.
TEST_F(HandleToolsTest, SkewHandlesAreHitWithinEightScreenPixels)
{
    SetPicture(SolidImage(1000, 800, 0xFF808080));
    const CArea& area = AddArea(RectPolygon(100, 100, 300, 250));
    auto view = ShowView(doc, QSize(500, 400));
    view->SetSkewMode(true, &area);
    // The corners came from the outline's bounds.
    EXPECT_EQ(doc.GetAreas()[0].GetSkewCorners(),
              (CArea::Corners{QPoint(100, 100), QPoint(300, 100), QPoint(100, 250), QPoint(300, 250)}));
    CHandleTool& tool = Tool(*view, CTilemontView::SkewTool);
    for (const auto& [zoom, lo, hi] : {std::tuple{1.0f, 96, 103}, {2.0f, 98, 101}, {0.5f, 92, 107}}) {
        view->SetZoom(zoom, zoom);
        view->UpdateScrollSizes();
        view->SetScrollPosition(0, 0);
        const int y = int(100 * zoom);
        for (int x = int((lo - 6) * zoom); x <= int((hi + 6) * zoom); ++x) {
            QTest::mouseMove(view->viewport(), QPoint(x, y));
            const int px = int(float(x) / zoom);
            EXPECT_EQ(tool.GetGrabbedCorner() == 0, px >= lo && px <= hi) << "zoom " << zoom << " x " << x;
        }
    }
}

TEST_F(HandleToolsTest, SkewDragMovesTheCornerLiveAndIsOneStepThatRebuildsTheTexture)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    const QImage texture = SolidImage(16, 16, 0xFF2060A0);
    const AreaId id = AddArea(RectPolygon(50, 50, 250, 200), [&texture](CArea& a) {
                          a.SetTexture(&texture);
                      }).GetId();
    auto view = ShowView(doc, QSize(400, 300));
    view->EditSession()->SetSkewEditing(id, true, true);
    view->SetSkewMode(true, doc.FindArea(id));
    doc.SetModifiedFlag(false);
    const CArea before = *doc.FindArea(id);
    const int steps = doc.GetHistory().Count();

    QWidget* w = view->viewport();
    QTest::mouseMove(w, QPoint(250, 200));
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(250, 200));
    QTest::mouseMove(w, QPoint(280, 230));
    // The corner follows in the document while the button is held, and so
    // does the texture (small enough here to be warped exactly).
    EXPECT_EQ(doc.FindArea(id)->GetSkewCorners()[CArea::BottomRight], QPoint(280, 230));
    ASSERT_TRUE(KeptWarp(id).image);
    EXPECT_EQ(*KeptWarp(id).image, BuildAreaWarp(*doc.FindArea(id)));
    QTest::mouseMove(w, QPoint(300, 260));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(300, 260));

    const CArea& after = *doc.FindArea(id);
    EXPECT_EQ(after.GetSkewCorners(),
              (CArea::Corners{QPoint(50, 50), QPoint(250, 50), QPoint(50, 200), QPoint(300, 260)}));
    EXPECT_TRUE(after.IsSkewApplied());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetHistory().Count(), steps + 1);
    // The warped texture is the one these corners give.
    ASSERT_TRUE(KeptWarp(id).image);
    EXPECT_EQ(KeptWarp(id).reduction, 1);
    EXPECT_EQ(*KeptWarp(id).image, BuildAreaWarp(after));

    doc.OnEditUndo();
    EXPECT_EQ(*doc.FindArea(id), before);
    EXPECT_FALSE(doc.IsModified());

    // A press and release away from every handle still applies the skew.
    QTest::mouseMove(w, QPoint(150, 120));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(150, 120));
    EXPECT_TRUE(doc.FindArea(id)->IsSkewApplied());
    EXPECT_EQ(doc.FindArea(id)->GetSkewCorners(), before.GetSkewCorners());
}

// A large warp follows the pointer coarsely and is made exact on release.
TEST_F(HandleToolsTest, LargeSkewDragShowsACoarseWarpUntilTheRelease)
{
    SetPicture(SolidImage(1400, 1000, 0xFF808080));
    const QImage texture = SolidImage(32, 32, 0xFF2060A0);
    const AreaId id = AddArea(RectPolygon(50, 50, 1250, 950), [&texture](CArea& a) {
                          a.SetTexture(&texture);
                          a.SetSkewApplied(true);
                      }).GetId();
    auto view = ShowView(doc, QSize(700, 500));
    view->SetZoom(0.5f, 0.5f);
    view->UpdateScrollSizes();
    view->SetSkewMode(true, doc.FindArea(id));
    QWidget* w = view->viewport();
    const QPoint corner = view->PictureToClient(QPointF(1250, 950)).toPoint();
    QTest::mouseMove(w, corner);
    QTest::mousePress(w, Qt::LeftButton, {}, corner);
    QTest::mouseMove(w, corner - QPoint(20, 10));
    // Built beside the window; the warp of the press stands in meanwhile.
    ASSERT_TRUE(QTest::qWaitFor([&] { return KeptWarp(id).image && !KeptWarp(id).standIn; }, 10000));
    const CWarpCache::CEntry dragged = KeptWarp(id);
    ASSERT_TRUE(dragged.image);
    EXPECT_GT(dragged.reduction, 1);
    EXPECT_LE(qint64(dragged.image->width()) * dragged.image->height(), CSkewTool::kPreviewPixels);
    QTest::mouseRelease(w, Qt::LeftButton, {}, corner - QPoint(20, 10));
    const CWarpCache::CEntry released = KeptWarp(id);
    ASSERT_TRUE(released.image);
    EXPECT_EQ(released.reduction, 1);
    EXPECT_EQ(*released.image, BuildAreaWarp(*doc.FindArea(id)));
}

// On a 24-megapixel picture the dragged handle is under the pointer in the
// frame after every move, while the texture's preview is still being built
// beside the window (its worker held up here): the last warp stands in,
// nothing is warped on the window's thread, and once let go the worker
// builds the newest corners only, the moves in between passed over. The
// initial rectangle's handles follow the same way.
TEST_F(HandleToolsTest, DraggedHandleFollowsThePointerWhileThePreviewIsPending)
{
    SetPicture(SolidImage(6000, 4000, 0xFF808080));
    const QImage texture = SolidImage(32, 32, 0xFF2060A0);
    const AreaId id = AddArea(RectPolygon(400, 400, 2400, 1600), [&texture](CArea& a) {
                          a.SetTexture(&texture);
                          a.SetSkewApplied(true);
                      }).GetId();
    // Zoomed to an eighth, every client pixel is a whole picture point and
    // back, so the handle can land exactly under the pointer.
    auto view = ShowView(doc, QSize(700, 450));
    view->SetZoom(0.125f, 0.125f);
    view->UpdateScrollSizes();
    view->SetScrollPosition(0, 0);
    view->EditSession()->SetSkewEditing(id, true, true);
    view->SetSkewMode(true, doc.FindArea(id));
    QWidget* w = view->viewport();
    CHandleTool& tool = Tool(*view, CTilemontView::SkewTool);
    std::mutex gate;
    std::unique_lock hold(gate);
    std::atomic<int> built{0};
    tool.Preview().SetBuilder([&gate, &built](const CArea& area, int reduction) {
        const std::lock_guard wait(gate);
        ++built;
        return BuildAreaWarpReduced(area, reduction);
    });
    const auto expectMarkAt = [&](QPoint p, QRgb border, QRgb inside) {
        const QImage frame = w->grab().toImage();
        EXPECT_EQ(frame.pixel(p), inside) << p.x() << "," << p.y();
        EXPECT_EQ(frame.pixel(p - QPoint(4, 4)), border) << p.x() << "," << p.y();
    };

    const QPoint corner = view->PictureToClient(QPointF(2400, 1600)).toPoint();
    QTest::mouseMove(w, corner);
    QTest::mousePress(w, Qt::LeftButton, {}, corner);
    const int moves = 5;
    QPoint p = corner;
    for (int i = 1; i <= moves; ++i) {
        p = corner + QPoint(8 * i, 5 * i);
        QTest::mouseMove(w, p);
        expectMarkAt(p, 0xFF00FFFF, 0xFF0000FF);
        EXPECT_TRUE(tool.Preview().IsPending());
        EXPECT_EQ(doc.FindArea(id)->GetSkewCorners()[CArea::BottomRight], QPoint(2400 + 64 * i, 1600 + 40 * i));
        EXPECT_TRUE(KeptWarp(id).standIn);
    }
    hold.unlock();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Preview().IsPending(); }, 20000));
    EXPECT_EQ(built, 2);
    const CWarpCache::CEntry preview = KeptWarp(id);
    ASSERT_TRUE(preview.image);
    EXPECT_FALSE(preview.standIn);
    EXPECT_GT(preview.reduction, 1);
    EXPECT_EQ(*preview.image, BuildAreaWarpReduced(*doc.FindArea(id), preview.reduction));
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
    EXPECT_EQ(*doc.Warps().FindExact(id, doc.FindArea(id)->WarpInputs()), BuildAreaWarp(*doc.FindArea(id)));

    view->EditSession()->SetSkewEditing(id, false, false);
    view->SetSkewMode(false, nullptr);
    view->SetInitialRectMode(true, doc.FindArea(id));
    const CIntRect r = doc.FindArea(id)->GetInitialRect();
    const QPoint rectCorner = view->PictureToClient(QPointF(r.right, r.bottom)).toPoint();
    QTest::mouseMove(w, rectCorner);
    QTest::mousePress(w, Qt::LeftButton, {}, rectCorner);
    for (int i = 1; i <= 3; ++i) {
        p = rectCorner - QPoint(6 * i, 4 * i);
        QTest::mouseMove(w, p);
        expectMarkAt(p, 0xFF00FF00, 0xFF008000);
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

TEST_F(HandleToolsTest, InitialRectCornersDragAlongTheRectangle)
{
    SetPicture(SolidImage(400, 300, 0xFF808080));
    const AreaId id = AddArea(RectPolygon(0, 0, 200, 150), [](CArea& a) {
                          a.SetInitialRect({10, 20, 110, 70});
                      }).GetId();
    auto view = ShowView(doc, QSize(400, 300));
    view->SetInitialRectMode(true, doc.FindArea(id));

    DragCorner(*view, QPoint(110, 20), QPoint(130, 15));
    EXPECT_EQ(doc.FindArea(id)->GetInitialRect(), (CIntRect{10, 15, 130, 70}));
    doc.OnEditUndo();
    DragCorner(*view, QPoint(10, 70), QPoint(0, 90));
    EXPECT_EQ(doc.FindArea(id)->GetInitialRect(), (CIntRect{0, 20, 110, 90}));

    // An empty rectangle is reset when the mode comes on.
    view->SetInitialRectMode(false, nullptr);
    doc.EditArea(id, "edit", [](CArea& a) { a.SetInitialRect({}); });
    view->SetInitialRectMode(true, doc.FindArea(id));
    EXPECT_EQ(doc.FindArea(id)->GetInitialRect(), (CIntRect{0, 0, 200, 150}));
}

} // namespace
