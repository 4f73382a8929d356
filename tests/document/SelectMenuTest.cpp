#include "ScriptedPrompts.h"
#include "document/CommandIds.h"
#include "document/SelectMenu.h"
#include "document/TilemontDoc.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int kW = 60, kH = 40;

// The selection filled by the even-odd rule at pixel centres, with Qt's
// rasteriser as the reference.
std::vector<bool> Filled(const CPolygon& polygon)
{
    QImage image(kW, kH, QImage::Format_Grayscale8);
    image.fill(0);
    QPainter p(&image);
    QPainterPath path;
    for (const CContour& c : polygon.contours) {
        path.moveTo(c.front());
        for (const QPointF& v : c)
            path.lineTo(v);
        path.closeSubpath();
    }
    path.setFillRule(Qt::OddEvenFill);
    p.fillPath(path, Qt::white);
    p.end();
    std::vector<bool> inside;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            inside.push_back(image.constScanLine(y)[x] != 0);
    return inside;
}

class SelectMenuTest : public ::testing::Test
{
protected:
    SelectMenuTest()
    {
        doc.SetPicture(std::make_unique<QImage>(kW, kH, QImage::Format_RGB32));
        doc.SetModifiedFlag(false);
    }

    void Select(const QRectF& r)
    {
        const CPolygon p{{CContour{r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()}}};
        doc.SetSelection(&p);
    }
    std::vector<bool> Selected() const { return Filled(doc.GetSelection().GetPolygon()); }

    ScriptedPrompts prompts;
    CTilemontDoc doc{prompts};
};

TEST_F(SelectMenuTest, AllNoneAndInvertAreOneStepEach)
{
    Select(QRectF(10, 5, 20, 10));
    const int steps = doc.GetHistory().Count();
    doc.OnInvertSelection();
    std::vector<bool> expected;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            expected.push_back(!(x >= 10 && x < 30 && y >= 5 && y < 15));
    EXPECT_EQ(Selected(), expected);
    doc.OnSelectAll();
    EXPECT_EQ(Selected(), std::vector<bool>(kW * kH, true));
    // All again changes nothing and makes no step.
    doc.OnSelectAll();
    EXPECT_EQ(doc.GetHistory().Count(), steps + 2);
    doc.OnInvertSelection();
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    doc.OnSelectAll();
    doc.OnClearSelection();
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_EQ(doc.GetHistory().Count(), steps + 5);
    doc.GetHistory().Undo();
    EXPECT_EQ(Selected(), std::vector<bool>(kW * kH, true));
    EXPECT_FALSE(doc.IsModified());
}

// Growing takes in every pixel whose centre lies within N of the
// selection, round at the corners, and stops at the picture's edge;
// shrinking takes N off every side.
TEST_F(SelectMenuTest, GrowAndShrinkByTheAskedPixels)
{
    const QRectF square(8, 6, 20, 14);
    Select(square);
    prompts.names = {QString("5")};
    doc.OnResizeSelection(true);
    const std::vector<bool> grown = Selected();
    int checked = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            const double dx = std::max({square.left() - cx, 0.0, cx - square.right()});
            const double dy = std::max({square.top() - cy, 0.0, cy - square.bottom()});
            const double d = std::hypot(dx, dy);
            if (std::abs(d - 5) < 0.2)
                continue; // on the rounded edge: the flattening decides
            EXPECT_EQ(grown[std::size_t(y * kW + x)], d < 5) << x << "," << y;
            ++checked;
        }
    EXPECT_GT(checked, kW * kH - 40);
    EXPECT_FALSE(grown[0]); // the corner's round, not square
    EXPECT_TRUE(grown[std::size_t(8 * kW + 3)]);

    Select(square);
    prompts.names = {QString("3")};
    doc.OnResizeSelection(false);
    std::vector<bool> expected;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            expected.push_back(x >= 11 && x < 25 && y >= 9 && y < 17);
    EXPECT_EQ(Selected(), expected);

    // Against the picture's edge the growth is cut off.
    Select(QRectF(0, 0, 10, 10));
    prompts.names = {QString("4")};
    doc.OnResizeSelection(true);
    for (const CContour& c : doc.GetSelection().GetPolygon().contours)
        for (const QPointF& v : c)
            EXPECT_TRUE(v.x() >= 0 && v.y() >= 0) << v.x() << "," << v.y();

    // The picture's edge is no border of the selection: shrinking a band
    // along the bottom keeps it there and pulls in only its top.
    Select(QRectF(0, 20, kW, kH - 20));
    prompts.names = {QString("2")};
    doc.OnResizeSelection(false);
    expected.clear();
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            expected.push_back(y >= 22);
    EXPECT_EQ(Selected(), expected);

    // Cancelled or nonsense: no step, and nonsense is said.
    const int steps = doc.GetHistory().Count();
    prompts.names = {std::nullopt, QString("-2"), QString("lots")};
    doc.OnResizeSelection(true);
    doc.OnResizeSelection(false);
    doc.OnResizeSelection(true);
    EXPECT_EQ(doc.GetHistory().Count(), steps);
    EXPECT_EQ(prompts.errors.size(), 2);
}

// The menu's items are off without a picture; a key that reaches them
// anyway must neither ask nor take a step (there is no picture to size
// the selection by).
TEST(SelectMenuWithoutPicture, EveryItemDoesNothing)
{
    ScriptedPrompts prompts;
    prompts.names = {QString("5"), QString("5")};
    CTilemontDoc doc(prompts);
    doc.OnSelectAll();
    doc.OnInvertSelection();
    doc.OnResizeSelection(true);
    doc.OnResizeSelection(false);
    EXPECT_EQ(doc.GetHistory().Count(), 0);
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_EQ(prompts.names.size(), 2u);
}

} // namespace
