#include "WarpCache.h"

#include <algorithm>

const CWarpCache::CSlot* CWarpCache::FindLocked(AreaId id, const CAreaWarpInputs& inputs) const
{
    const auto it = m_areas.find(id);
    if (it == m_areas.end())
        return nullptr;
    const auto slot =
        std::find_if(it->second.begin(), it->second.end(), [&inputs](const CSlot& s) { return s.inputs == inputs; });
    return slot == it->second.end() ? nullptr : &*slot;
}

void CWarpCache::PutLocked(AreaId id, const CAreaWarpInputs& inputs, CEntry entry)
{
    CSlots& kept = m_areas[id];
    std::erase_if(kept, [&inputs](const CSlot& s) { return s.inputs == inputs; });
    if (!entry.image) {
        if (kept.empty())
            m_areas.erase(id);
        return;
    }
    entry.reduction = std::max(1, entry.reduction);
    kept.push_front(CSlot{inputs, std::move(entry)});
    if (kept.size() > kEntriesPerArea)
        kept.resize(kEntriesPerArea);
}

CWarpCache::CEntry CWarpCache::Find(AreaId id, const CAreaWarpInputs& inputs) const
{
    std::lock_guard lock(m_mutex);
    const CSlot* slot = FindLocked(id, inputs);
    return slot ? slot->entry : CEntry();
}

CWarpCache::Image CWarpCache::FindExact(AreaId id, const CAreaWarpInputs& inputs) const
{
    const CEntry entry = Find(id, inputs);
    return entry.reduction == 1 && !entry.standIn ? entry.image : nullptr;
}

void CWarpCache::PutStandIn(AreaId id, const CAreaWarpInputs& inputs)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_areas.find(id);
    if (it == m_areas.end() || it->second.empty() || FindLocked(id, inputs))
        return;
    CEntry standIn = it->second.front().entry;
    standIn.standIn = true;
    PutLocked(id, inputs, std::move(standIn));
}

void CWarpCache::Put(AreaId id, const CAreaWarpInputs& inputs, Image image, int reduction)
{
    std::lock_guard lock(m_mutex);
    PutLocked(id, inputs, CEntry{std::move(image), reduction});
}

CWarpCache::Image CWarpCache::GetOrBuild(const CArea& area, const Builder& build)
{
    if (!area.GetTexture() || !build)
        return nullptr;
    const AreaId id = area.GetId();
    const CAreaWarpInputs inputs = area.WarpInputs();
    const std::pair<AreaId, CAreaWarpInputs> key(id, inputs);
    {
        std::unique_lock lock(m_mutex);
        m_built.wait(lock, [this, &key] { return std::find(m_building.begin(), m_building.end(), key) == m_building.end(); });
        if (const CSlot* slot = FindLocked(id, inputs); slot && slot->entry.reduction == 1 && !slot->entry.standIn)
            return slot->entry.image;
        m_building.push_back(key);
    }
    // Built without the lock, so that workers warp different areas side by
    // side; whatever happens, the waiting threads are let go.
    struct CDone
    {
        CWarpCache& cache;
        const std::pair<AreaId, CAreaWarpInputs>& key;
        ~CDone()
        {
            {
                std::lock_guard lock(cache.m_mutex);
                std::erase(cache.m_building, key);
            }
            cache.m_built.notify_all();
        }
    } done{*this, key};
    QImage made = build(area);
    Image image = made.isNull() ? nullptr : std::make_shared<const QImage>(std::move(made));
    if (image) {
        std::lock_guard lock(m_mutex);
        PutLocked(id, inputs, CEntry{image, 1});
    }
    return image;
}

void CWarpCache::Forget(AreaId id)
{
    std::lock_guard lock(m_mutex);
    m_areas.erase(id);
}

void CWarpCache::KeepOnly(const std::vector<AreaId>& ids)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_areas, [&ids](const auto& area) { return std::find(ids.begin(), ids.end(), area.first) == ids.end(); });
}

std::size_t CWarpCache::Count() const
{
    std::lock_guard lock(m_mutex);
    std::size_t count = 0;
    for (const auto& [id, kept] : m_areas)
        count += kept.size();
    return count;
}

void CWarpCache::SetBuilder(Builder build)
{
    std::lock_guard lock(m_mutex);
    m_build = std::move(build);
}

CWarpCache::Image CWarpCache::ExactWarp(const CArea& area) const
{
    if (Image kept = FindExact(area.GetId(), area.WarpInputs()))
        return kept;
    if (!area.IsSkewApplied() || !area.HasSkewCorners())
        return nullptr;
    Builder build;
    {
        std::lock_guard lock(m_mutex);
        build = m_build;
    }
    // Building keeps the warp, which a const source of warps may do: the
    // cache's content is no part of what the document holds.
    return const_cast<CWarpCache*>(this)->GetOrBuild(area, build);
}
