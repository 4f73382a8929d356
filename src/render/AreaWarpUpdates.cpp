#include "AreaWarpUpdates.h"

#include "document/Area.h"
#include "render/AreaWarp.h"
#include "document/WarpCache.h"

namespace {

QImage BuildExact(const CArea& area)
{
    return BuildAreaWarp(area);
}

} // namespace

std::shared_ptr<const QImage> KeepExactWarp(CWarpCache& warps, const CArea& area)
{
    return warps.GetOrBuild(area, BuildExact);
}

void InstallWarpBuilder(CWarpCache& warps)
{
    warps.SetBuilder(BuildExact);
}

void RefreshAreaWarp(CWarpCache& warps, const CArea& area, bool shown)
{
    if (shown)
        KeepExactWarp(warps, area);
    else
        warps.Put(area.GetId(), area.WarpInputs(), nullptr);
}

void PreviewAreaWarp(CWarpCache& warps, const CArea& area, qint64 maxPixels)
{
    if (!area.GetTexture())
        return;
    const int reduction = AreaWarpReduction(area, maxPixels);
    if (reduction == 1) {
        KeepExactWarp(warps, area);
        return;
    }
    QImage preview = BuildAreaWarpReduced(area, reduction);
    warps.Put(area.GetId(), area.WarpInputs(),
              preview.isNull() ? nullptr : std::make_shared<const QImage>(std::move(preview)), reduction);
}
