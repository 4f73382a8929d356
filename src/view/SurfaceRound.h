#pragma once

#include "analysis/SurfaceMark.h"
#include "geometry/Polygon.h"

#include <QtGlobal>

#include <optional>
#include <vector>

// The marks of one round of Find surface and what each gave. The round
// starts with a first click, takes further marks while the picture and the
// selection stay what it left them (an undo that took marks back drops
// those marks), and ends with Enter, Escape, another tool or another
// picture. Its result is combined, as the first click's modifiers say,
// with the selection from before it.
class CSurfaceRound
{
public:
    bool IsOpen() const { return !m_marks.empty(); }
    const std::vector<SSurfaceMark>& Marks() const { return m_marks; }

    void Start(qint64 picture, CPolygon before, bool ctrl, bool shift, SSurfaceMark first);
    // Whether the round goes on from this picture and selection; marks an
    // undo took back are dropped. False (and the round ended) otherwise.
    bool Resume(qint64 picture, const CPolygon& selection);
    void Add(SSurfaceMark mark) { m_marks.push_back(std::move(mark)); }
    // The last mark did not come through (its solve was cancelled).
    void DropLast();
    // The selection the solved region makes with the one from before.
    CPolygon Combine(CPolygon region) const;
    // The selection the last mark left. Marks whose solve a newer mark
    // cancelled leave none: an undo takes them back with the newer one.
    void Record(const CPolygon& selection);
    // Whether selection is still what the round last left (no undo or
    // other change came between).
    bool IsAt(const CPolygon& selection) const;
    // Ends the round; with keepUndo, a later Drop can still take its change
    // back while the selection stays what the round left.
    void End(bool keepUndo = false);
    // The selection from before an ended round, to go back to, when the
    // selection is still the round's.
    std::optional<CPolygon> Drop(const CPolygon& selection);

private:
    std::vector<SSurfaceMark> m_marks;
    std::vector<std::optional<CPolygon>> m_results;  // the selection after each mark
    qint64 m_picture = 0;
    CPolygon m_before;
    bool m_ctrl = false, m_shift = false;
    std::optional<CPolygon> m_undoTo, m_undoFrom;  // after an Escape
};
