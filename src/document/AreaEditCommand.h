#pragma once

#include "DocCommand.h"

#include "geometry/Polygon.h"

// Replaces one area's value by another. Steps with the same merge key on the
// same area fold into one when the later one joins the run (consecutive
// edits of one field, key repeats of a nudge). When the selection follows,
// it becomes the area's outline, and undoing gives the old selection back.
class CAreaEditCommand : public CDocCommand
{
public:
    // Merge keys: one per kind of edit that runs in many small steps.
    enum MergeKey : int {
        kNoMerge = -1,
        kMergeNudge = 1,
        kMergeSkewCorners = 2,
        kMergeInitialRect = 3,
        // A run of typing or spinning in one of the panel's fields.
        kMergeRotation = 4,
        kMergeShiftX = 5,
        kMergeShiftY = 6,
        kMergeScale = 7,
        // The changes made while the Pattern dialog is open.
        kMergePattern = 8,
    };

    struct Options
    {
        int mergeKey = -1;
        bool joinsRun = true;
        bool selectionFollows = false;
    };

    CAreaEditCommand(CTemplateContent& content, const QString& text, CArea before, CArea after, const CPolygon& selection,
                     Options options);

    void redo() override;
    void undo() override;
    int id() const override { return m_options.mergeKey; }
    bool mergeWith(const QUndoCommand* other) override;

protected:
    void VisitOwnImages(const std::function<void(const QImage&)>& visit) const override;

private:
    CArea m_before;
    CArea m_after;
    CPolygon m_selectionBefore;
    Options m_options;
};
