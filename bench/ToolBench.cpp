#include "ViewFixture.h"

#include "render/SkewedTexture.h"
#include "view/HandleTool.h"
#include "view/Tool.h"
#include "view/ViewCommandIds.h"

#include <QScrollBar>

#include <cmath>

namespace
{

CTool& Pick(ViewFixture& f, int command)
{
    f.view->Commands().OnCommand(command);
    return *f.view->GetActiveTool();
}

// One move of a rubber band (range(1) = 0) or of a polyline's rubber
// segment with three edges drawn (1), repainted; range(0) is the zoom in
// percent. No composition may happen.
void BM_ToolFeedbackMove(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(float(state.range(0)) / 100.0f);
    f.view->SetScrollPosition(0, 0);
    f.view->viewport()->repaint();
    const bool polyline = state.range(1) == 1;
    CTool& tool = Pick(f, polyline ? ID_POLYLINE_SELECTION : ID_RECT_SELECTION);
    tool.OnLButtonDown(0, 200, 200);
    if (polyline) {
        tool.OnLButtonDown(0, 700, 220);
        tool.OnLButtonDown(0, 900, 700);
    }
    const int full = f.view->GetCache().FullCompositions();
    const int partial = f.view->GetCache().PartialCompositions();
    int i = 0;
    TimeEach(state, [&] {
        ++i;
        tool.OnMouseMove(0, 600 + (i % 40) * 5, 500 + (i % 30) * 4);
        f.view->viewport()->repaint();
    });
    state.counters["compositions"] =
        f.view->GetCache().FullCompositions() - full + f.view->GetCache().PartialCompositions() - partial;
    tool.OnCancel();
    tool.OnLButtonUp(0, 0, 0);
}
BENCHMARK(BM_ToolFeedbackMove)
    ->ArgsProduct({{100, 25}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// From the release of a 20 000-point free-hand trace to the new selection.
void BM_ToolFreehandCommit(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(0.25f);
    CTool& tool = Pick(f, ID_FREEHAND_SELECTION);
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        tool.OnLButtonDown(0, 700, 500);
        for (int i = 0; i < 20000; ++i) {
            // A wobbly loop, every point kept.
            const double a = 2 * M_PI * i / 20000.0, r = 300 + 40 * std::sin(a * 37);
            tool.OnMouseMove(0, int(750 + r * std::cos(a)), int(500 + r * std::sin(a)));
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        tool.OnLButtonUp(0, 700, 500);
        f.view->viewport()->repaint();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        ms.push_back(elapsed.count() * 1e3);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["contours"] = double(f.doc.GetSelection().GetPolygon().contours.size());
}
BENCHMARK(BM_ToolFreehandCommit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

// One 20-pixel hand-tool step at zoom 1.
void BM_ToolHandPan(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(1.0f);
    f.view->SetScrollPosition(2000, 1500);
    f.view->viewport()->repaint();
    CTool& tool = Pick(f, ID_HAND);
    tool.OnLButtonDown(0, 800, 500);
    bool right = false;
    TimeEach(state, [&] {
        right = !right;
        tool.OnMouseMove(0, right ? 820 : 800, 500);
        f.view->viewport()->repaint();
    });
    tool.OnLButtonUp(0, 800, 500);
}
BENCHMARK(BM_ToolHandPan)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// A skew corner dragged on a 1000 x 750 canvas warped onto a quadrilateral
// of about 2000 x 1500: range(0) = 0 times one drag frame (the corner moves
// in the document and the window repaints), 1 the release with the exact
// warp, 2 the bare warp of the same corners for comparison; range(1) = 1
// lays the area in perspective (with the grid drawn over the view).
void BM_ToolSkewDrag(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(0.25f);
    f.view->SetScrollPosition(0, 0);
    const AreaId id = f.doc.AreaIdAt(0);
    const CArea::Corners corners{QPoint(300, 300), QPoint(2300, 400), QPoint(200, 1800), QPoint(2200, 1750)};
    f.doc.EditArea(id, QStringLiteral("bench"), [&](CArea& a) {
        a.GetSkewCorners() = corners;
        a.SetInitialRect({0, 0, 1000, 750});
        a.SetPerspective(state.range(1) != 0);
    });
    f.view->EditSession()->SetSkewEditing(id, true, true);
    f.view->SetSkewMode(true, f.doc.FindArea(id));
    f.view->viewport()->repaint();
    auto& tool = static_cast<CHandleTool&>(*f.view->GetActiveTool());
    const QPointF corner = f.view->PictureToClient(QPointF(corners[3]));
    const int cx = int(corner.x()), cy = int(corner.y());
    const CArea& area = *f.doc.FindArea(id);

    int i = 0;
    if (state.range(0) == 2) {
        TimeEach(state, [&] {
            benchmark::DoNotOptimize(::RenderSkewedTexture(*area.GetTexture(), area.GetRotation(), area.GetShiftX(),
                                                           area.GetShiftY(), area.GetScale(), QSize(1000, 750),
                                                           area.GetSkewCorners()));
        });
    } else {
        TimeEach(state, [&] {
            if (state.range(0) == 1) {
                state.PauseTiming();
                tool.OnMouseMove(0, cx, cy);
                tool.OnLButtonDown(0, cx, cy);
                tool.OnMouseMove(0, cx + 4 + (++i % 2), cy + 3);
                state.ResumeTiming();
                tool.OnLButtonUp(0, cx, cy);
                f.view->viewport()->repaint();
            } else {
                if (!tool.IsCapturing()) {
                    tool.OnMouseMove(0, cx, cy);
                    tool.OnLButtonDown(0, cx, cy);
                }
                ++i;
                tool.OnMouseMove(0, cx + i % 20, cy + i % 15);
                f.view->viewport()->repaint();
            }
        });
    }
    if (tool.IsCapturing())
        tool.OnLButtonUp(0, cx, cy);
    f.view->SetSkewMode(false, nullptr);
}
BENCHMARK(BM_ToolSkewDrag)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
