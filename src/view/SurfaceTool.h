#pragma once

#include "analysis/RegionMask.h"
#include "view/BesideSolve.h"
#include "view/SurfaceRound.h"
#include "view/Tool.h"

#include <QCoreApplication>

#include <memory>
#include <optional>
#include <vector>

class CSurfacePicture;

// "Find surface": a click inside a surface, or a rough rectangle or
// free-hand loop dragged around it, and the surface finder's region is
// committed to the selection with the modifier keys held at the release.
// A drag that ends near where it began is a loop; any other drag is the
// rectangle between its ends, shown as a band while dragging.
// A click starts a round of marks: each further plain click says "this is
// part of the surface", an Alt+click or a right click "this is not", and a
// drag paints such marks as a stroke; after each mark the whole surface is
// solved again from all of them, one "Selection" step. The marks show while
// the round lasts; Enter, Escape (a second Escape takes the round's change
// back), another tool or another picture end it. Shift or Ctrl at the
// first click combine the round's surface with the selection from before.
// The first search runs beside the window, with a progress window and
// Cancel once it takes longer than half a second; what is prepared for a
// picture is kept, and each further mark is solved beside the window while
// it goes on taking marks: a newer mark cancels the solve of an older one,
// and the last solve's result is the round's next step.
class CSurfaceTool : public CTool
{
    Q_DECLARE_TR_FUNCTIONS(CSurfaceTool)

public:
    CSurfaceTool();

    void OnMouseMove(unsigned flags, int x, int y) override;
    void OnLButtonUp(unsigned flags, int x, int y) override;
    void OnRButtonDown(unsigned flags, int x, int y) override;
    bool OnCancel() override;
    bool OnEnter() override;
    void OnActivate(bool active) override;
    void DrawFeedback(QPainter& painter) override;

    const CSurfaceRound& Round() const { return m_round; }
    // Whether a further mark's solve is still running beside the window.
    bool IsSolving() const { return m_solve.IsRunning(); }

    // Whether a drag with these client points is read as a closed loop
    // rather than as a rectangle.
    static bool IsLoop(const std::vector<QPointF>& trace);

private:
    void ClearTrace();
    // Runs the finder beside the window; nothing when cancelled.
    std::optional<CRegionMask> Search(const QPointF& click, const std::vector<QPointF>& loop) const;
    // Adds a mark to the round (a first one starts it) and solves it again.
    void Mark(SSurfaceMark mark, bool first, Qt::KeyboardModifiers keys);
    // The round's marks solved beside the window; nothing when cancelled.
    std::optional<CRegionMask> Solve();
    // The round's next step: the region combined with the selection from
    // before the round, as the first click's modifiers say.
    void Commit(const CRegionMask& region);
    // A further mark's region, back from beside the window.
    void Solved(std::optional<CRegionMask> region);
    // Whether the round goes on with the picture and selection as they are.
    bool Resumes();
    QRegion MarksRegion() const;
    void EndRound(bool keepUndo);

    std::vector<QPointF> m_points;
    CSurfaceRound m_round;
    std::shared_ptr<const CSurfacePicture> m_prepared;
    qint64 m_preparedKey = 0;
    // Last: destroyed first, so that no result reaches a tool half gone.
    CBesideSolve m_solve;
};
