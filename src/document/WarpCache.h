#pragma once

#include "document/Area.h"
#include "document/AreaWarpInputs.h"
#include "document/IAreaWarpSource.h"

#include <QImage>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

// The warped textures of a document's areas, kept apart from the areas so
// that a const area can be drawn by the editor and by workers at once. The
// document owns it and hands it to its snapshots, so a worker shares the
// warps the editor built; the renderer builds them (the document cannot). A
// warp is looked up by its area's identity and by everything it is built
// from, so an area whose values come back (an undo, a redo) finds the warp
// it showed before without building it again. Each area keeps only its few
// newest warps, and an area that leaves the document is forgotten.
class CWarpCache : public IAreaWarpSource
{
public:
    using Image = std::shared_ptr<const QImage>;
    // Makes the exact warp of an area's values; a null image when none can
    // be made.
    using Builder = std::function<QImage(const CArea&)>;
    // Enough for an edit, its undo and a redo to find theirs.
    static constexpr std::size_t kEntriesPerArea = 4;

    struct CEntry
    {
        Image image;
        // > 1: a quick preview made that many times smaller than the exact
        // warp, drawn enlarged.
        int reduction = 1;
        // Another of the area's warps, drawn for these inputs only until
        // their own is built: never taken as exact.
        bool standIn = false;
    };

    // The newest warp kept for these inputs, exact or preview; an empty
    // entry when there is none.
    CEntry Find(AreaId id, const CAreaWarpInputs& inputs) const;
    // The exact warp kept for these inputs, or null.
    Image FindExact(AreaId id, const CAreaWarpInputs& inputs) const;
    // While a warp for these inputs is being built elsewhere (a drag's
    // preview beside the window), the area's newest warp stands in for it,
    // so that drawing the area shows that one rather than stopping to build
    // the exact warp. Nothing when a warp is kept for them already or the
    // area has none. The first Put for the inputs replaces it.
    void PutStandIn(AreaId id, const CAreaWarpInputs& inputs);
    // Keeps image as the warp for these inputs, replacing whatever was kept
    // for them (a preview replaces the exact warp and the other way round).
    void Put(AreaId id, const CAreaWarpInputs& inputs, Image image, int reduction = 1);
    // The exact warp of the area as it is, built by build when none is kept
    // (null when the area has no texture or no warp can be made). Threads
    // asking for the same warp build it once: the others wait for the first.
    Image GetOrBuild(const CArea& area, const Builder& build);
    // How a save builds the warp of an area that shows one (see ExactWarp);
    // without it a save writes only warps already kept.
    void SetBuilder(Builder build);

    // Drops every warp of the area.
    void Forget(AreaId id);
    // Drops the warps of every area not listed: those that left the document.
    void KeepOnly(const std::vector<AreaId>& ids);
    // How many warps are kept, over all areas.
    std::size_t Count() const;

    // The exact warp kept for the area's values; for an area that shows its
    // warp (the skew applied, with corners and a texture) one is built when
    // none is kept, so that a file holds it whether or not a window has
    // drawn the area yet.
    Image ExactWarp(const CArea& area) const override;

private:
    struct CSlot
    {
        CAreaWarpInputs inputs;
        CEntry entry;
    };
    using CSlots = std::deque<CSlot>; // newest first

    const CSlot* FindLocked(AreaId id, const CAreaWarpInputs& inputs) const;
    void PutLocked(AreaId id, const CAreaWarpInputs& inputs, CEntry entry);

    Builder m_build;
    mutable std::mutex m_mutex;
    std::condition_variable m_built;
    std::unordered_map<AreaId, CSlots> m_areas;
    // Warps being built now, so that a second thread waits for the first.
    std::vector<std::pair<AreaId, CAreaWarpInputs>> m_building;
};
