#include "ViewFixture.h"

#include "view/ViewCommandIds.h"

#include <QApplication>
#include <QScrollBar>

namespace
{

// Everything the window shows, composed afresh: picture, five textured
// areas, the ants. The reduced picture for this zoom already exists.
void BM_ViewFullRepaint(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(float(state.range(0)) / 100.0f);
    const int before = f.view->GetCache().FullCompositions();
    TimeEach(state, [&] {
        f.view->Commands().OnCommand(ID_REFRESH);
        f.view->viewport()->repaint();
    });
    state.counters["compositions"] = f.view->GetCache().FullCompositions() - before;
}
BENCHMARK(BM_ViewFullRepaint)->Arg(25)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The first repaint after a zoom change also reduces the 24-MP picture to
// the new zoom once.
void BM_ViewFirstRepaintAfterZoom(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    bool flip = false;
    TimeEach(state, [&] {
        flip = !flip;
        f.Zoom(flip ? 0.25f : 0.2f);
    });
}
BENCHMARK(BM_ViewFirstRepaintAfterZoom)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One marching-ants step: the strip under the outline is copied from the
// composition and the outline stroked again.
void BM_ViewAntsTick(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(float(state.range(0)) / 100.0f);
    f.view->SetScrollPosition(f.view->horizontalScrollBar()->maximum() / 2,
                              f.view->verticalScrollBar()->maximum() / 2);
    f.view->viewport()->repaint();
    const int compositions = f.view->GetCache().FullCompositions();
    const float phase = f.view->GetAnts().GetPhase();
    TimeEach(state, [&] {
        f.view->OnAntsTick();
        QApplication::processEvents();
    });
    // Every tick must have painted, and none may have composed.
    state.counters["steps_per_tick"] =
        (f.view->GetAnts().GetPhase() - phase) / std::max<double>(1.0, double(state.iterations()));
    state.counters["compositions"] = f.view->GetCache().FullCompositions() - compositions;
}
BENCHMARK(BM_ViewAntsTick)->Arg(25)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// A hand-tool sized scroll step at zoom 1: the composition is shifted and
// only the uncovered strips are composed.
void BM_ViewScrollStep(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(1.0f);
    int x = 1000;
    f.view->SetScrollPosition(x, 1000);
    f.view->viewport()->repaint();
    bool right = true;
    TimeEach(state, [&] {
        right = !right;
        x += right ? 20 : -20;
        f.view->SetScrollPosition(x, 1000);
        f.view->viewport()->repaint();
    });
}
BENCHMARK(BM_ViewScrollStep)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Undo or redo of one step until the window is repainted, at a zoom that
// shows the whole picture: the step's notifications recompose only the
// area's place. range(0): 0 undoes and redoes "Create area", 1 a nudge of
// a textured area.
void BM_ViewUndoRedo(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    f.Zoom(0.25f);
    f.view->SetScrollPosition(0, 0);
    if (state.range(0) == 0) {
        CArea area;
        area.SetOutline(&f.doc.GetAreas()[2].GetOutline());
        f.doc.AddArea(std::move(area), QStringLiteral("Create area"));
    } else {
        f.doc.NudgeArea(f.doc.AreaIdAt(2), 10, 0, false);
    }
    f.view->viewport()->repaint();
    const int full = f.view->GetCache().FullCompositions();
    bool undo = false;
    TimeEach(state, [&] {
        undo = !undo;
        undo ? f.doc.OnEditUndo() : f.doc.OnEditRedo();
        f.view->viewport()->repaint();
    });
    if (undo)
        f.doc.OnEditRedo();
    state.counters["full_compositions"] = f.view->GetCache().FullCompositions() - full;
}
BENCHMARK(BM_ViewUndoRedo)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A change of one area's placement, repainted: only that area's place is
// composed again. range(1) = 1 recomposes everything instead, at the same
// zoom and scroll, for comparison.
void BM_ViewAreaChangeRepaint(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    const float zoom = float(state.range(0)) / 100.0f;
    f.Zoom(zoom);
    // Area 2 in view at any zoom.
    f.view->SetScrollPosition(int(2200 * zoom), int(1400 * zoom));
    f.view->viewport()->repaint();
    const AreaId id = f.doc.AreaIdAt(2);
    const int full = f.view->GetCache().FullCompositions();
    int shift = 0;
    TimeEach(state, [&] {
        shift = (shift + 7) % 50;
        f.doc.EditArea(id, QStringLiteral("Shift"), [shift](CArea& a) { a.SetShift(shift, 0); });
        if (state.range(1))
            f.view->Commands().OnCommand(ID_REFRESH);
        f.view->viewport()->repaint();
    });
    state.counters["full_compositions"] = f.view->GetCache().FullCompositions() - full;
}
BENCHMARK(BM_ViewAreaChangeRepaint)
    ->ArgsProduct({{25, 100}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
