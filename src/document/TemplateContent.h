#pragma once

#include "Area.h"
#include "DocChange.h"
#include "TemplateSnapshot.h"
#include "geometry/Selection.h"

#include <QImage>

#include <functional>
#include <memory>
#include <vector>

// What one template holds — the picture, the areas in drawing order, the
// picked area and the selection — with the few changes the history's steps
// make to it. Each change tells the listener what it touched. The document
// owns it and lets nobody else change it: everything else reads it.
class CTemplateContent
{
public:
    using Listener = std::function<void(const CDocChange&)>;

    explicit CTemplateContent(Listener listener = {});
    CTemplateContent(const CTemplateContent&) = delete;
    CTemplateContent& operator=(const CTemplateContent&) = delete;

    const QImage* GetPicture() const { return m_pPicture.get(); }
    // The JPEG file the picture is saved as while it stays; empty when it is
    // encoded at the save.
    const QByteArray& GetPictureJpeg() const { return m_pictureJpeg; }
    const std::vector<CArea>& GetAreas() const { return m_areas; }
    const CArea* FindArea(AreaId id) const;
    int IndexOf(AreaId id) const;
    AreaId AreaIdAt(int index) const;
    // The identity of area when it is an entry of the list, else 0.
    AreaId IdOf(const CArea* area) const;
    const CSelection& GetSelection() const { return m_selection; }
    // The picked area's identity, whether or not the area is there now.
    AreaId GetSelectedAreaId() const { return m_nSelectedArea; }
    CTemplateSnapshot Snapshot() const;
    // An identity no area of this template has had.
    AreaId NewId() { return ++m_nLastId; }

    // The changes. An area without an identity gets one on insertion.
    void InsertAreaAt(int index, CArea area);
    CArea RemoveAreaAt(int index);
    // Replaces the area with the same identity; nothing when there is none.
    void ReplaceArea(CArea area);
    void ReplacePicture(std::unique_ptr<QImage> picture, QByteArray jpeg = {});
    void ReplaceSelection(CSelection selection);
    void ReplaceSelection(const CPolygon& polygon) { ReplaceSelection(CSelection(polygon)); }
    void SetSelectedAreaId(AreaId id);
    // Everything at once, as opening a file does: new identities, nothing
    // picked, an empty selection.
    void Reset(std::unique_ptr<QImage> picture, std::vector<CArea> areas, QByteArray pictureJpeg = {});

private:
    QRect DrawBoundsOf(AreaId id) const;
    void Notify(CDocChange::Kind kind, AreaId id, const QRect& bounds) const;

    std::vector<CArea> m_areas;
    AreaId m_nSelectedArea = 0;
    CSelection m_selection;
    std::unique_ptr<QImage> m_pPicture;
    QByteArray m_pictureJpeg;
    AreaId m_nLastId = 0;
    Listener m_listener;
};
