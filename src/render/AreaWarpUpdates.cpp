#include "AreaWarpUpdates.h"

#include "document/Area.h"
#include "render/AreaWarp.h"
#include "render/WarpCache.h"

void RefreshAreaWarp(CWarpCache& warps, const CArea& area, bool shown)
{
    if (shown)
        warps.GetOrBuild(area);
    else
        warps.Put(area.GetId(), area.WarpInputs(), nullptr);
}

void PreviewAreaWarp(CWarpCache& warps, const CArea& area, qint64 maxPixels)
{
    if (!area.GetTexture())
        return;
    const int reduction = AreaWarpReduction(area, maxPixels);
    if (reduction == 1) {
        warps.GetOrBuild(area);
        return;
    }
    QImage preview = BuildAreaWarpReduced(area, reduction);
    warps.Put(area.GetId(), area.WarpInputs(),
              preview.isNull() ? nullptr : std::make_shared<const QImage>(std::move(preview)), reduction);
}
