#include "render/AreaWarp.h"
#include "ViewFixture.h"

#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"

#include <QLineEdit>
#include <QTemporaryDir>

namespace {

// Typing a new rotation into the Areas panel until the view shows it, for a
// flat textured area (range(0) = 2) and the skewed one (range(0) = 0), at
// 1:1 with the area in view.
void BM_PanelRotationShown(benchmark::State& state)
{
    ViewFixture& f = Fixture();
    const int index = int(state.range(0));
    QTemporaryDir textures;
    CAreasBar panel(f.prompts, textures.path());
    panel.UpdateFromDocument(&f.doc, f.view.get(), true);
    panel.Controls().areaList->setCurrentRow(index);
    f.Zoom(1.0f);
    const QRect bounds = f.doc.GetAreas()[std::size_t(index)].GetOutlineBounds();
    f.view->SetScrollPosition(bounds.x() - 100, bounds.y() - 50);
    f.view->viewport()->repaint();
    int angle = 0;
    TimeEach(state, [&] {
        angle = (angle + 7) % 360;
        panel.Controls().rotation->setText(QString::number(angle));
        f.view->viewport()->repaint();
    });
}
BENCHMARK(BM_PanelRotationShown)->Arg(2)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The warp alone that a rotation of the skewed area rebuilds.
void BM_PanelBareWarp(benchmark::State& state)
{
    const CArea area = Fixture().doc.GetAreas()[0];
    TimeEach(state, [&] { benchmark::DoNotOptimize(BuildAreaWarp(area)); });
}
BENCHMARK(BM_PanelBareWarp)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
