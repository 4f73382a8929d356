#pragma once

#include "document/IAreaEditSession.h"

#include <unordered_map>

class CTilemontView;

// A view's editing of one area as the Areas panel sees it: the panel asks
// for a pick, a handle mode or the skew flags, and the view switches its
// tools and handles to match. The flags are this window's alone, outside
// the history; the window's drawing reads them here.
class CAreaEditSession : public IAreaEditSession
{
public:
    explicit CAreaEditSession(CTilemontView& view) : m_view(view) {}

    CTilemontDoc& EditedDocument() const override;
    QWidget* Window() override;
    void PickArea(AreaId id) override;
    void SetSkewMode(bool on, AreaId id) override;
    void SetInitialRectMode(bool on, AreaId id) override;
    void SetSkewEditing(AreaId id, bool edit, bool preview) override;
    CSkewEditing SkewEditing(AreaId id) const override;
    void RefreshSkewHandles() override;
    void RefreshInitialRectHandles() override;
    void RepaintAll() override;

private:
    CTilemontView& m_view;
    // The areas being edited; those with both flags off are left out.
    std::unordered_map<AreaId, CSkewEditing> m_editing;
};
