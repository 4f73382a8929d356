#include "AreaShadingCache.h"

#include "LightLayerStore.h"

const CAreaShading* CAreaShadingCache::Get(const QImage& picture, const CArea& area)
{
    if (!area.GetTexture() || picture.isNull())
        return nullptr;
    Entry& entry = m_entries[area.GetId()];
    // The key changes with the picture's every change.
    if (entry.pictureKey != picture.cacheKey() || !(entry.outline == area.GetOutline())) {
        entry.pictureKey = picture.cacheKey();
        entry.outline = area.GetOutline();
        entry.strength = area.GetShadingStrength();
        entry.shading = CLightLayerStore::Shared().Shading(picture, entry.outline, entry.strength / 100.0);
    } else if (entry.strength != area.GetShadingStrength()) {
        entry.strength = area.GetShadingStrength();
        entry.shading = CLightLayerStore::Shared().Shading(picture, entry.outline, entry.strength / 100.0);
    }
    return entry.shading.get();
}
