#pragma once

#include "AreaShading.h"
#include "document/Area.h"

#include <QImage>
#include <map>
#include <memory>

// Each area's light layer on a picture, measured once (in the process's
// store) and kept until the picture or the area's outline changes, and its
// shading at the area's strength: a repaint only lays it over, a new
// strength only scales it.
class CAreaShadingCache
{
public:
    // Null for an area without a texture, which shows no surface to shade.
    const CAreaShading* Get(const QImage& picture, const CArea& area);
    void Clear() { m_entries.clear(); }
    // A removed area's measure would otherwise stay for the whole session;
    // an undo bringing it back measures it again.
    void Forget(AreaId id) { m_entries.erase(id); }
    std::size_t Count() const { return m_entries.size(); }

private:
    struct Entry
    {
        qint64 pictureKey = 0;
        CPolygon outline;
        int strength = CArea::kDefaultShading;
        // Shared with the store, where an export finds it.
        std::shared_ptr<const CAreaShading> shading;
    };
    std::map<AreaId, Entry> m_entries;
};
