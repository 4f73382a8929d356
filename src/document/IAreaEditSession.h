#pragma once

#include "Area.h"

class CTilemontDoc;
class QWidget;

// Whether a window edits an area's skew corners (the panel's "Skew") and
// previews its warp meanwhile ("Skew preview").
struct CSkewEditing
{
    bool edit = false;
    bool preview = false;

    bool operator==(const CSkewEditing&) const = default;
};

// How the Areas panel steers a window's editing of one area: which area
// carries the handles, which handles show, and whether the skew is edited
// and its warp previewed. None of it is a step of the template's history.
class IAreaEditSession
{
public:
    virtual ~IAreaEditSession() = default;

    // The template edited, and the window that shows it: the panel hands the
    // keyboard back to it and lets go of the session when it closes.
    virtual CTilemontDoc& EditedDocument() const = 0;
    virtual QWidget* Window() = 0;

    // The area whose handles show and move (0 for none).
    virtual void PickArea(AreaId id) = 0;
    // Handles for the skew corners or for the initial rectangle, on the
    // given area; off returns to the tool used before.
    virtual void SetSkewMode(bool on, AreaId id) = 0;
    virtual void SetInitialRectMode(bool on, AreaId id) = 0;
    // Whether the area's corners are being edited and its warp previewed.
    virtual void SetSkewEditing(AreaId id, bool edit, bool preview) = 0;
    virtual CSkewEditing SkewEditing(AreaId id) const = 0;
    // After a change of the area or its flags: the handles and the tools
    // follow.
    virtual void RefreshSkewHandles() = 0;
    virtual void RefreshInitialRectHandles() = 0;
    virtual void RepaintAll() = 0;
};
