#include "ViewTestSupport.h"

#include "analysis/MaskOutline.h"
#include "analysis/SurfaceFinder.h"
#include "analysis/SurfaceSolver.h"
#include "geometry/Polygon.h"
#include "geometry/PolygonClip.h"
#include "view/SurfaceTool.h"
#include "view/ViewCommandIds.h"

#include <QElapsedTimer>
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
    // Waits for a further mark's solve beside the window to come back.
    static void Settle(CTilemontView& view)
    {
        auto* tool = static_cast<CSurfaceTool*>(view.GetTool(CTilemontView::SurfaceTool));
        QElapsedTimer clock;
        clock.start();
        while (tool->IsSolving() && clock.elapsed() < 60000)
            QTest::qWait(5);
        ASSERT_FALSE(tool->IsSolving());
    }
    static void Click(CTilemontView& view, Qt::MouseButton button, Qt::KeyboardModifiers keys, QPoint at)
    {
        QTest::mouseClick(view.viewport(), button, keys, at);
        Settle(view);
    }
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
    view->Commands().OnCommand(ID_FIND_SURFACE);
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

// The surface the command line gives for these marks, outlined.
CPolygon Solved(const QImage& picture, const std::vector<SSurfaceMark>& marks)
{
    const auto prepared = CSurfaceSolver::Prepare(picture);
    const auto region = CSurfaceSolver::Solve(*prepared, marks);
    return region ? MaskOutline(*region) : CPolygon();
}

SSurfaceMark Part(int x, int y) { return {true, {QPoint(x, y)}}; }
SSurfaceMark Not(int x, int y) { return {false, {QPoint(x, y)}}; }

// A round: each mark solves the whole surface again from all marks so far,
// as `tilemont-cli select --at ... --not ...` does with the same marks, and
// is one "Selection" step; an undo takes the last mark back; Escape ends
// the round and keeps its result, a second Escape drops it; Enter or
// another tool end it too, and the next click starts afresh.
TEST_F(SurfaceToolTest, MarksOfARoundAreSolvedTogether)
{
    SetPicture(QImage(QStringLiteral(TILEMONT_ROOMS "/tiles-table.jpg")));
    const QImage picture = *doc.GetPicture();
    auto view = ShowView(doc, QSize(1000, 800));
    view->Commands().OnCommand(ID_FIND_SURFACE);
    const QPoint origin(180, 160);
    QWidget* w = view->viewport();
    const QPoint floor(320, 360), table(260, 135), chair(150, 200);
    const int steps = doc.GetHistory().Index();

    Click(*view, Qt::LeftButton, {}, origin + floor);
    const CPolygon one = Solved(picture, {Part(320, 360)});
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == one);
    Click(*view, Qt::LeftButton, {}, origin + table);
    const CPolygon two = Solved(picture, {Part(320, 360), Part(260, 135)});
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == two);
    EXPECT_TRUE(Selected(table));
    EXPECT_EQ(doc.GetHistory().Index(), steps + 2);
    EXPECT_EQ(doc.GetHistory().UndoText(), "Selection");
    // The marks show while the round lasts: a green dot on the table.
    const QImage shown = w->grab().toImage();
    const QColor dot = shown.pixelColor(origin + table);
    EXPECT_GT(dot.green(), dot.red() + 60) << dot.name().toStdString();

    // A right click says "not": the table goes out again.
    Click(*view, Qt::RightButton, {}, origin + table);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == Solved(picture, {Part(320, 360), Part(260, 135), Not(260, 135)}));
    EXPECT_FALSE(Selected(table));
    // Undo takes that mark back; the next mark (Alt+click: "not") follows
    // the two before it.
    doc.OnEditUndo();
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == two);
    Click(*view, Qt::LeftButton, Qt::AltModifier, origin + chair);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == Solved(picture, {Part(320, 360), Part(260, 135), Not(150, 200)}));
    EXPECT_EQ(doc.GetHistory().Index(), steps + 3);

    // Escape ends the round and keeps it; a second Escape drops its change
    // (one more step, which an undo takes back).
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(Selected(table));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    doc.OnEditUndo();
    EXPECT_TRUE(Selected(table));
    EXPECT_FALSE(w->grab().toImage().pixelColor(origin + table).green() >
                 w->grab().toImage().pixelColor(origin + table).red() + 60)
        << "marks gone with the round";

    // After Enter a click starts a new round; Shift at its first click
    // adds the round's surface to the selection from before it.
    Click(*view, Qt::LeftButton, {}, origin + floor);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == one);
    QTest::keyClick(view.get(), Qt::Key_Return);
    Click(*view, Qt::LeftButton, Qt::ShiftModifier, origin + table);
    Click(*view, Qt::LeftButton, {}, origin + chair);
    const CPolygon added = PolygonClip(ClipOp::Union, one, Solved(picture, {Part(260, 135), Part(150, 200)}));
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == added);

    // A newer mark cancels the solve of the one before it: two marks given
    // before either came back make one step, the surface of all the marks.
    view->Commands().OnCommand(ID_MAGIC_WAND);
    view->Commands().OnCommand(ID_FIND_SURFACE);
    Click(*view, Qt::LeftButton, {}, origin + floor);
    const int before = doc.GetHistory().Index();
    QTest::mouseClick(w, Qt::LeftButton, {}, origin + table);
    QTest::mouseClick(w, Qt::LeftButton, {}, origin + chair);
    Settle(*view);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() ==
                Solved(picture, {Part(320, 360), Part(260, 135), Part(150, 200)}));
    EXPECT_EQ(doc.GetHistory().Index(), before + 1);
    // Enter right after a mark waits for it: the round ends with it.
    QTest::mouseClick(w, Qt::RightButton, {}, origin + table);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() ==
                Solved(picture, {Part(320, 360), Part(260, 135), Part(150, 200), Not(260, 135)}));

    // Another tool ends the round: back on this one, a click replaces.
    view->Commands().OnCommand(ID_MAGIC_WAND);
    view->Commands().OnCommand(ID_FIND_SURFACE);
    Click(*view, Qt::LeftButton, {}, origin + table);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() == Solved(picture, {Part(260, 135)}));
}

// A drag within a round paints a stroke of marks; a drag with no round
// is still the rough rectangle.
TEST_F(SurfaceToolTest, ADragInARoundPaintsAStroke)
{
    SetPicture(QImage(QStringLiteral(TILEMONT_ROOMS "/tiles-table.jpg")));
    const QImage picture = *doc.GetPicture();
    auto view = ShowView(doc, QSize(1000, 800));
    view->Commands().OnCommand(ID_FIND_SURFACE);
    const QPoint origin(180, 160);
    QWidget* w = view->viewport();
    Click(*view, Qt::LeftButton, {}, origin + QPoint(320, 360));
    const std::vector<QPoint> stroke{{240, 130}, {260, 135}, {280, 140}};
    QTest::mousePress(w, Qt::LeftButton, {}, origin + stroke[0]);
    QTest::mouseMove(w, origin + stroke[1]);
    QTest::mouseMove(w, origin + stroke[2]);
    QTest::mouseRelease(w, Qt::LeftButton, {}, origin + stroke[2]);
    Settle(*view);
    EXPECT_TRUE(doc.GetSelection().GetPolygon() ==
                Solved(picture, {Part(320, 360), SSurfaceMark{true, stroke}}));
    EXPECT_TRUE(Selected(QPoint(260, 135)));
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
