#include "LightLayerStore.h"

#include <algorithm>

CLightLayerStore& CLightLayerStore::Shared()
{
    static CLightLayerStore store;
    return store;
}

std::list<CLightLayerStore::SEntry>::iterator CLightLayerStore::Find(qint64 pictureKey, const CPolygon& outline)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->pictureKey == pictureKey && it->outline == outline) {
            m_entries.splice(m_entries.begin(), m_entries, it);
            return m_entries.begin();
        }
    return m_entries.end();
}

void CLightLayerStore::Trim()
{
    // Null layers (outlines off the picture) count as a cell each.
    std::size_t cells = 0;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        cells += std::max<std::size_t>(1, std::size_t(it->layer->Width()) * std::size_t(it->layer->Height()));
        if (cells > m_maxCells && it != m_entries.begin()) {
            m_entries.erase(it, m_entries.end());
            return;
        }
    }
}

std::shared_ptr<const CLightLayer> CLightLayerStore::Layer(const QImage& picture, const CPolygon& outline)
{
    const qint64 key = picture.cacheKey();
    {
        const std::lock_guard lock(m_mutex);
        const auto it = Find(key, outline);
        if (it != m_entries.end())
            return it->layer;
    }
    // Measured without the lock, so that other areas' layers are found
    // meanwhile; two threads asking for the same new layer both measure it,
    // and the first one kept stays.
    auto layer = std::make_shared<const CLightLayer>(CLightLayer::Measure(picture, outline));
    const std::lock_guard lock(m_mutex);
    ++m_measured;
    const auto it = Find(key, outline);
    if (it != m_entries.end())
        return it->layer;
    m_entries.push_front({key, outline, layer, -1.0, nullptr});
    Trim();
    return layer;
}

std::shared_ptr<const CAreaShading> CLightLayerStore::Shading(const QImage& picture, const CPolygon& outline,
                                                              double strength)
{
    const std::shared_ptr<const CLightLayer> layer = Layer(picture, outline);
    const qint64 key = picture.cacheKey();
    {
        const std::lock_guard lock(m_mutex);
        const auto it = Find(key, outline);
        if (it != m_entries.end() && it->shading && it->strength == strength)
            return it->shading;
    }
    auto shading = std::make_shared<const CAreaShading>(CAreaShading::FromLayer(*layer, strength));
    const std::lock_guard lock(m_mutex);
    const auto it = Find(key, outline);
    if (it != m_entries.end() && it->layer == layer) {
        it->strength = strength;
        it->shading = shading;
    }
    return shading;
}

std::size_t CLightLayerStore::Measured() const
{
    const std::lock_guard lock(m_mutex);
    return m_measured;
}

std::size_t CLightLayerStore::Count() const
{
    const std::lock_guard lock(m_mutex);
    return m_entries.size();
}

void CLightLayerStore::Clear()
{
    const std::lock_guard lock(m_mutex);
    m_entries.clear();
}
