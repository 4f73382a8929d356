#pragma once

#include "document/Area.h"
#include "document/AreaWarpInputs.h"
#include "document/IAreaWarpSource.h"

#include <QImage>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

// The warped textures of a document's areas, kept apart from the areas so
// that a const area can be drawn by the editor and by workers at once. A
// warp is looked up by its area's identity and by everything it is built
// from, so an area whose values come back (an undo, a redo) finds the warp
// it showed before without building it again. Each area keeps only its few
// newest warps, and an area that leaves the document is forgotten.
class CWarpCache : public IAreaWarpSource
{
public:
    using Image = std::shared_ptr<const QImage>;
    // Enough for an edit, its undo and a redo to find theirs.
    static constexpr std::size_t kEntriesPerArea = 4;

    struct CEntry
    {
        Image image;
        // > 1: a quick preview made that many times smaller than the exact
        // warp, drawn enlarged.
        int reduction = 1;
    };

    // The newest warp kept for these inputs, exact or preview; an empty
    // entry when there is none.
    CEntry Find(AreaId id, const CAreaWarpInputs& inputs) const;
    // The exact warp kept for these inputs, or null.
    Image FindExact(AreaId id, const CAreaWarpInputs& inputs) const;
    // Keeps image as the warp for these inputs, replacing whatever was kept
    // for them (a preview replaces the exact warp and the other way round).
    void Put(AreaId id, const CAreaWarpInputs& inputs, Image image, int reduction = 1);
    // The exact warp of the area as it is, built when none is kept (null
    // when the area has no texture or no warp can be made). Threads asking
    // for the same warp build it once: the others wait for the first.
    Image GetOrBuild(const CArea& area);

    // Drops every warp of the area.
    void Forget(AreaId id);
    // Drops the warps of every area not listed: those that left the document.
    void KeepOnly(const std::vector<AreaId>& ids);
    // How many warps are kept, over all areas.
    std::size_t Count() const;

    Image ExactWarp(const CArea& area) const override { return FindExact(area.GetId(), area.WarpInputs()); }

private:
    struct CSlot
    {
        CAreaWarpInputs inputs;
        CEntry entry;
    };
    using CSlots = std::deque<CSlot>; // newest first

    const CSlot* FindLocked(AreaId id, const CAreaWarpInputs& inputs) const;
    void PutLocked(AreaId id, const CAreaWarpInputs& inputs, CEntry entry);

    mutable std::mutex m_mutex;
    std::condition_variable m_built;
    std::unordered_map<AreaId, CSlots> m_areas;
    // Warps being built now, so that a second thread waits for the first.
    std::vector<std::pair<AreaId, CAreaWarpInputs>> m_building;
};
