#pragma once

#include "AreaShading.h"
#include "LightLayer.h"
#include "geometry/Polygon.h"

#include <QImage>

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>

// The light layers measured in this process, by picture and outline, with
// the shading last asked of each: the view measures an area's light once,
// and an export, a print or a render of the same picture and outline lays
// the same light without measuring it again. Safe to use from any thread.
// The newest layers are kept up to a bound on their cells; a picture that
// changes has another key, so a layer never outlives what it measured.
class CLightLayerStore
{
public:
    // Up to this many cells in all (a layer of a large floor has about two
    // million), and always the newest layer.
    static constexpr std::size_t kDefaultCells = std::size_t(8) << 20;

    explicit CLightLayerStore(std::size_t maxCells = kDefaultCells) : m_maxCells(maxCells) {}

    // The one store every composition shares.
    static CLightLayerStore& Shared();

    // The layer of the outline on the picture, measured now if not kept.
    std::shared_ptr<const CLightLayer> Layer(const QImage& picture, const CPolygon& outline);
    // Its shading at strength (1: as measured).
    std::shared_ptr<const CAreaShading> Shading(const QImage& picture, const CPolygon& outline, double strength);

    // Layers measured so far (not found kept), and layers kept now.
    std::size_t Measured() const;
    std::size_t Count() const;
    void Clear();

private:
    struct SEntry
    {
        qint64 pictureKey = 0;
        CPolygon outline;
        std::shared_ptr<const CLightLayer> layer;
        double strength = -1.0;
        std::shared_ptr<const CAreaShading> shading;
    };
    // The entry for the picture and outline, moved to the front; end() when
    // none. Called with the mutex held.
    std::list<SEntry>::iterator Find(qint64 pictureKey, const CPolygon& outline);
    void Trim();

    mutable std::mutex m_mutex;
    // Newest first.
    std::list<SEntry> m_entries;
    std::size_t m_maxCells;
    std::size_t m_measured = 0;
};
