#include "ViewFixture.h"

#include "analysis/MaskOutline.h"

#include <QScrollBar>

// Committing a wand selection with 5,000 holes on the 24-megapixel template
// until its ants are drawn, and undoing it: the outline is traced from a
// mask as the wand leaves it (a floor nearly the picture's size with 100 x 50
// specks of five to nine pixels across it).
namespace
{

CPolygon FiveThousandHoles()
{
    CRegionMask mask(6000, 4000);
    for (int y = 100; y < 3900; ++y)
        std::fill(mask.Row(y) + 100, mask.Row(y) + 5900, std::uint8_t(1));
    for (int row = 0; row < 50; ++row)
        for (int col = 0; col < 100; ++col) {
            const int x0 = 140 + col * 57, y0 = 150 + row * 75, size = 5 + (row + col) % 5;
            for (int y = y0; y < y0 + size; ++y)
                for (int x = x0; x < x0 + size; ++x)
                    if ((x - x0 - size / 2) * (x - x0 - size / 2) + (y - y0 - size / 2) * (y - y0 - size / 2)
                        <= size * size / 4)
                        mask.Row(y)[x] = 0;
        }
    return MaskOutline(mask);
}

void Show(ViewFixture& f)
{
    f.view->viewport()->repaint();
    QApplication::processEvents();
}

// range(0): zoom in percent.
void BM_WandCommitHoles(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    const CPolygon before = f.doc.GetSelection().GetPolygon();
    const CPolygon holes = FiveThousandHoles();
    f.Zoom(float(state.range(0)) / 100.0f);
    Show(f);
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        f.doc.CommitSelectionPolygon(holes, false, false);
        Show(f);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        ms.push_back(elapsed.count() * 1e3);
        state.PauseTiming();
        f.doc.GetHistory().Undo();
        Show(f);
        state.ResumeTiming();
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["contours"] = double(holes.contours.size());
    f.doc.SetSelection(&before);
    Show(f);
}
BENCHMARK(BM_WandCommitHoles)->Arg(25)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_WandUndoHoles(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    const CPolygon before = f.doc.GetSelection().GetPolygon();
    const CPolygon holes = FiveThousandHoles();
    f.Zoom(float(state.range(0)) / 100.0f);
    Show(f);
    std::vector<double> ms;
    for (auto _ : state) {
        state.PauseTiming();
        f.doc.CommitSelectionPolygon(holes, false, false);
        Show(f);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        f.doc.GetHistory().Undo();
        Show(f);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        ms.push_back(elapsed.count() * 1e3);
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    f.doc.SetSelection(&before);
    Show(f);
}
BENCHMARK(BM_WandUndoHoles)->Arg(25)->Arg(100)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace
