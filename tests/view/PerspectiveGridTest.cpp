#include "ViewTestSupport.h"

#include "geometry/Homography.h"
#include "view/PerspectiveGrid.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr QRgb kGridGrey = 0xFF808080;
constexpr QRgb kTile = 0xFF806040;
constexpr QRgb kWhite = 0xFFFFFFFF;

// A white pixel within a pixel of p: the grid's light line.
bool WhiteNear(const QImage& shot, QPointF p)
{
    const int x0 = int(std::floor(p.x())), y0 = int(std::floor(p.y()));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (shot.rect().contains(x0 + dx, y0 + dy) && Px(shot, x0 + dx, y0 + dy) == kWhite)
                return true;
    return false;
}

int WhitePixels(const QImage& shot)
{
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            count += Px(shot, x, y) == kWhite;
    return count;
}

class PerspectiveGridTest : public ViewTest
{
protected:
    // A 200 x 200 canvas laid with 40 x 40 tiles onto a trapezoid: five
    // tiles each way, the lines 24 screen pixels apart or more.
    const CArea& AddFloor(bool perspective)
    {
        SetPicture(SolidImage(400, 300, kGridGrey));
        const QImage tile = SolidImage(40, 40, kTile);
        return AddArea(RectPolygon(100, 50, 300, 250), [&](CArea& a) {
            a.SetTexture(&tile);
            a.GetSkewCorners() = {QPoint(140, 50), QPoint(260, 50), QPoint(100, 250), QPoint(300, 250)};
            a.SetInitialRect({100, 50, 300, 250});
            a.SetPerspective(perspective);
            a.SetSkewApplied(true);
        });
    }
};

} // namespace

// The tile edges u = 40 k of the canvas, carried through the plane the
// corners define, show as white lines exactly where the plane puts them;
// nothing of the grid shows once skew editing ends.
TEST_F(PerspectiveGridTest, PerspectiveAreaShowsItsTileEdgesOnlyWhileSkewIsEdited)
{
    const CArea& area = AddFloor(true);
    auto view = ShowView(doc, QSize(400, 300));
    EXPECT_EQ(WhitePixels(Shot(*view)), 0);

    view->SetSkewMode(true, &area);
    const QImage shot = Shot(*view);
    const auto plane = CHomography::FromRect(
        QRectF(0, 0, 200, 200), {QPointF(140, 50), QPointF(260, 50), QPointF(100, 250), QPointF(300, 250)});
    ASSERT_TRUE(plane);
    for (int k = 1; k <= 4; ++k)
        for (const double v : {60.0, 100.0, 150.0}) {
            for (const QPointF canvas : {QPointF(40.0 * k, v), QPointF(v, 40.0 * k)}) {
                const auto picture = plane->Map(canvas);
                ASSERT_TRUE(picture);
                EXPECT_TRUE(WhiteNear(shot, view->PictureToClient(*picture)))
                    << canvas.x() << "," << canvas.y();
            }
        }
    // Between the lines the texture shows untouched: the middle of the
    // tile whose corner is canvas (80, 80).
    const auto middle = plane->Map(QPointF(100, 100));
    const QPoint m = view->PictureToClient(*middle).toPoint();
    EXPECT_EQ(Px(shot, m.x(), m.y()), kTile);

    view->SetSkewMode(false, &area);
    EXPECT_EQ(WhitePixels(Shot(*view)), 0);
}

// A bilinear area shows the grid under skew editing only with "Perspective
// Grid" on, and then bent as the patch bends it.
TEST_F(PerspectiveGridTest, BilinearAreaShowsTheGridOnlyWhenAskedFor)
{
    const CArea& area = AddFloor(false);
    auto view = ShowView(doc, QSize(400, 300));
    view->SetSkewMode(true, &area);
    // Only the corner marks show without the grid.
    const QImage without = Shot(*view);
    const int marks = WhitePixels(without);

    view->SetPerspectiveGrid(true);
    const QImage shot = Shot(*view);
    const QPointF tl(140, 50), tr(260, 50), bl(100, 250), br(300, 250);
    for (int k = 1; k <= 4; ++k)
        for (const double v : {60.0, 100.0, 150.0}) {
            const double s = 40.0 * k / 200.0, t = v / 200.0;
            const QPointF p = (1 - s) * (1 - t) * tl + s * (1 - t) * tr + (1 - s) * t * bl + s * t * br;
            EXPECT_TRUE(WhiteNear(shot, view->PictureToClient(p))) << k << "," << v;
            EXPECT_FALSE(WhiteNear(without, view->PictureToClient(p))) << k << "," << v;
        }
    EXPECT_GT(WhitePixels(shot), marks + 400);
    view->SetPerspectiveGrid(false);
    EXPECT_EQ(WhitePixels(Shot(*view)), marks);
}

// Tiles far finer than the window can show are thinned: no two parallel
// lines closer than the minimum spacing.
TEST_F(PerspectiveGridTest, FineTilesAreThinnedToTheMinimumSpacing)
{
    const CArea& area = AddFloor(true);
    doc.EditArea(area.GetId(), QStringLiteral("scale"), [](CArea& a) { a.SetScale(0.02); });
    const auto segments =
        CPerspectiveGrid::Segments(*doc.FindArea(area.GetId()), QTransform(), QRectF(0, 0, 400, 300));
    ASSERT_FALSE(segments.empty());
    // Along the bottom edge (no foreshortening there) the vertical lines
    // cross y = 241.3; sorted, neighbours stand kMinSpacing apart at least.
    std::vector<double> xs;
    for (const QLineF& s : segments) {
        if ((s.y1() - 241.3) * (s.y2() - 241.3) > 0 || std::abs(s.dy()) < std::abs(s.dx()))
            continue;
        xs.push_back(s.x1() + (241.3 - s.y1()) * s.dx() / s.dy());
    }
    std::sort(xs.begin(), xs.end());
    ASSERT_GE(xs.size(), 4u);
    for (std::size_t i = 1; i < xs.size(); ++i)
        EXPECT_GE(xs[i] - xs[i - 1], CPerspectiveGrid::kMinSpacing * 0.9) << i;
    // And the grid is no sparser than needed: gaps of at most four times.
    for (std::size_t i = 1; i < xs.size(); ++i)
        EXPECT_LE(xs[i] - xs[i - 1], CPerspectiveGrid::kMinSpacing * 4.5) << i;
}
