#include "ViewFixture.h"

#include "geometry/Polygon.h"

#include <QScrollBar>

#include <cmath>

namespace
{

// A disc of the given radius traced along pixel edges, as a selection made
// from a pixel mask outlines it: corners only, clockwise.
CContour PixelDisc(int cx, int cy, int radius)
{
    std::vector<int> half;
    for (int y = -radius; y < radius; ++y)
        half.push_back(int(std::lround(std::sqrt(double(radius * radius) - (y + 0.5) * (y + 0.5)))));
    CContour right, left;
    for (std::size_t i = 0; i < half.size(); ++i) {
        const int top = cy - radius + int(i);
        if (i == 0 || half[i] != half[i - 1]) {
            right.emplace_back(cx + half[i], top);
            left.emplace_back(cx - half[i], top);
        }
        if (i + 1 == half.size() || half[i + 1] != half[i]) {
            right.emplace_back(cx + half[i], top + 1);
            left.emplace_back(cx - half[i], top + 1);
        }
    }
    CContour disc(right.begin(), right.end());
    disc.insert(disc.end(), left.rbegin(), left.rend());
    return disc;
}

// One outline nearly as large as the picture with 100 x 50 holes: squares
// 20 pixels wide (range 0) or discs of radius 10 traced along pixel edges
// (range 1), the kind a colour-picking selection leaves.
CPolygon HoledSelection(bool discs)
{
    CPolygon set;
    set.contours.push_back({{100, 100}, {5900, 100}, {5900, 3900}, {100, 3900}});
    for (int row = 0; row < 50; ++row) {
        for (int col = 0; col < 100; ++col) {
            const int x = 140 + col * 57, y = 150 + row * 75;
            if (discs)
                set.contours.push_back(PixelDisc(x, y, 10));
            else
                set.contours.push_back({QPointF(x - 10, y - 10), QPointF(x + 10, y - 10), QPointF(x + 10, y + 10),
                                        QPointF(x - 10, y + 10)});
        }
    }
    return set;
}

// One marching-ants tick over a selection with 5,000 holes, in the middle of
// the 24-MP picture: the view works out the strip to repaint, copies it from
// the composition and strokes the ants there. range(0): zoom in percent;
// range(1): the kind of hole.
void BM_AntsTickHoles(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    const CPolygon before = f.doc.GetSelection().GetPolygon();
    const CPolygon holes = HoledSelection(state.range(1) != 0);
    f.doc.SetSelection(&holes);
    f.Zoom(float(state.range(0)) / 100.0f);
    f.view->SetScrollPosition(f.view->horizontalScrollBar()->maximum() / 2,
                              f.view->verticalScrollBar()->maximum() / 2);
    f.view->viewport()->repaint();
    QApplication::processEvents();
    const int compositions = f.view->GetCache().FullCompositions();
    const float phase = f.view->GetAnts().GetPhase();
    std::size_t vertices = 0;
    for (const CContour& c : holes.contours)
        vertices += c.size();
    TimeEach(state, [&] {
        f.view->OnAntsTick();
        QApplication::processEvents();
    });
    // Every tick must have painted, and none may have composed.
    state.counters["steps_per_tick"] =
        (f.view->GetAnts().GetPhase() - phase) / std::max<double>(1.0, double(state.iterations()));
    state.counters["vertices"] = double(vertices);
    state.counters["compositions"] = f.view->GetCache().FullCompositions() - compositions;
    f.doc.SetSelection(&before);
    QApplication::processEvents();
}
BENCHMARK(BM_AntsTickHoles)
    ->ArgsProduct({{25, 100}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

} // namespace
