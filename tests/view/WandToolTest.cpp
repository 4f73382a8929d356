#include "ViewTestSupport.h"

#include "analysis/MaskOutline.h"
#include "view/ViewCommandIds.h"
#include "view/WandToolOptions.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A grey picture with a red ring around a grey hole, a blue square and,
// along the bottom, two dark slate blues one unit apart.
QImage Picture()
{
    QImage image = SolidImage(200, 150, qRgb(128, 128, 128));
    QPainter p(&image);
    p.fillRect(20, 20, 60, 50, qRgb(200, 30, 30));
    p.fillRect(35, 35, 30, 20, qRgb(128, 128, 128));
    p.fillRect(120, 20, 40, 40, qRgb(30, 30, 200));
    p.fillRect(0, 100, 100, 50, qRgb(60, 60, 90));
    p.fillRect(100, 100, 100, 50, qRgb(61, 60, 90));
    return image;
}

// The selection filled by the even-odd rule, one byte per picture pixel.
CRegionMask Filled(const CPolygon& polygon, QSize size)
{
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(0);
    QPainter p(&image);
    QPainterPath path;
    PolygonToPath(polygon, path);
    path.setFillRule(Qt::OddEvenFill);
    p.fillPath(path, Qt::white);
    p.end();
    CRegionMask mask(size.width(), size.height());
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            mask.Row(y)[x] = image.constScanLine(y)[x] != 0;
    return mask;
}

CRegionMask Rect(QSize size, const QRect& r, const CRegionMask* add = nullptr, const QRect& hole = QRect())
{
    CRegionMask mask = add ? *add : CRegionMask(size.width(), size.height());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            mask.Row(y)[x] = !hole.contains(x, y);
    return mask;
}

class WandToolTest : public ViewTest
{
protected:
    void SetUp() override
    {
        saved = CWandToolOptions::Instance().Get();
        CWandToolOptions::Instance().Set({32, true, 16});
    }
    void TearDown() override { CWandToolOptions::Instance().Set(saved); }

    QPoint At(const CTilemontView& view, int x, int y) const
    {
        return view.PictureToClient(QPointF(x + 0.5, y + 0.5)).toPoint();
    }
    CRegionMask Selected() const { return Filled(doc.GetSelection().GetPolygon(), QSize(200, 150)); }

    SWandOptions saved;
};

TEST_F(WandToolTest, ClicksSelectCombineByTheModifiersAndUndo)
{
    const QImage picture = Picture();
    SetPicture(picture);
    doc.SetModifiedFlag(false);
    auto view = ShowView(doc, QSize(400, 300));
    view->Commands().OnCommand(ID_MAGIC_WAND);
    QWidget* w = view->viewport();
    const QSize size = picture.size();
    const CRegionMask ring = Rect(size, QRect(20, 20, 60, 50), nullptr, QRect(35, 35, 30, 20));

    QTest::mouseClick(w, Qt::LeftButton, {}, At(*view, 25, 25));
    // Exactly the traced ring, contour for contour.
    EXPECT_EQ(doc.GetSelection().GetPolygon(), MaskOutline(ring));
    EXPECT_EQ(doc.GetHistory().UndoText(), "Selection");
    const int steps = doc.GetHistory().Count();

    QTest::mouseClick(w, Qt::LeftButton, Qt::ShiftModifier, At(*view, 130, 30));
    const CRegionMask both = Rect(size, QRect(120, 20, 40, 40), &ring);
    EXPECT_EQ(Selected(), both);
    QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, At(*view, 25, 25));
    EXPECT_EQ(Selected(), Rect(size, QRect(120, 20, 40, 40)));
    QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, At(*view, 125, 25));
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_EQ(doc.GetHistory().Count(), steps + 3);

    doc.GetHistory().Undo();
    doc.GetHistory().Undo();
    EXPECT_EQ(Selected(), both);
    EXPECT_FALSE(doc.IsModified());

    // Off the picture nothing happens; a plain click then replaces.
    const int before = doc.GetHistory().Count();
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(doc.GetHistory().Count(), before);
    QTest::mouseClick(w, Qt::LeftButton, {}, At(*view, 100, 20));
    const CRegionMask grey = Selected();
    EXPECT_EQ(grey.Count(), std::size_t(200 * 100 - 60 * 50 - 40 * 40));
    EXPECT_FALSE(grey.Contains(50, 45)); // the hole is grey too, but not connected
}

TEST_F(WandToolTest, DraggingSidewaysChangesTheToleranceWithATintedPreview)
{
    SetPicture(Picture());
    auto view = ShowView(doc, QSize(400, 300));
    view->Commands().OnCommand(ID_MAGIC_WAND);
    CWandToolOptions::Instance().Set({0, true, 16});
    QWidget* w = view->viewport();
    const QImage clean = Shot(*view);
    const QPoint from = At(*view, 10, 120);

    // Tolerance 0: only the left grey.
    QTest::mouseClick(w, Qt::LeftButton, {}, from);
    EXPECT_EQ(Selected(), Rect(QSize(200, 150), QRect(0, 100, 100, 50)));
    const QImage selected = Shot(*view);

    // Dragged right, the neighbouring grey joins; the preview tints the
    // window while the button is held, and the release keeps the tolerance.
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QTest::mouseMove(w, from + QPoint(10, 0));
    QTest::mouseMove(w, from + QPoint(20, 0));
    const QImage dragging = Shot(*view);
    EXPECT_NE(dragging, selected);
    EXPECT_NE(Px(dragging, At(*view, 150, 120).x(), At(*view, 150, 120).y()),
              Px(selected, At(*view, 150, 120).x(), At(*view, 150, 120).y()));
    QTest::mouseRelease(w, Qt::LeftButton, {}, from + QPoint(20, 0));
    EXPECT_EQ(CWandToolOptions::Instance().Get().tolerance, 20);
    EXPECT_EQ(Selected().Count(), 200u * 50u);
    EXPECT_EQ(Selected(), Rect(QSize(200, 150), QRect(0, 100, 200, 50)));

    // Escape abandons a drag: nothing committed, no tint left, the
    // tolerance as it was.
    const int steps = doc.GetHistory().Count();
    QTest::mousePress(w, Qt::LeftButton, {}, At(*view, 25, 25));
    QTest::mouseMove(w, At(*view, 25, 25) - QPoint(15, 0));
    EXPECT_NE(Px(Shot(*view), At(*view, 50, 25).x(), At(*view, 50, 25).y()),
              Px(clean, At(*view, 50, 25).x(), At(*view, 50, 25).y()));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    QTest::mouseRelease(w, Qt::LeftButton, {}, At(*view, 25, 25) - QPoint(15, 0));
    EXPECT_EQ(doc.GetHistory().Count(), steps);
    EXPECT_EQ(CWandToolOptions::Instance().Get().tolerance, 20);
    const QPoint ring = At(*view, 50, 25);
    EXPECT_EQ(Px(Shown(*view), ring.x(), ring.y()), Px(clean, ring.x(), ring.y()));
}

TEST_F(WandToolTest, WithoutAPictureAClickDoesNothing)
{
    auto view = ShowView(doc, QSize(200, 100));
    view->Commands().OnCommand(ID_MAGIC_WAND);
    const int steps = doc.GetHistory().Count();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(doc.GetHistory().Count(), steps);
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
}

} // namespace
