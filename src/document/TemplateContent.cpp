#include "TemplateContent.h"

#include <algorithm>

CTemplateContent::CTemplateContent(Listener listener) : m_listener(std::move(listener))
{
}

const CArea* CTemplateContent::FindArea(AreaId id) const
{
    const int index = IndexOf(id);
    return index >= 0 ? &m_areas[std::size_t(index)] : nullptr;
}

int CTemplateContent::IndexOf(AreaId id) const
{
    if (id == 0)
        return -1;
    for (std::size_t i = 0; i < m_areas.size(); ++i)
        if (m_areas[i].GetId() == id)
            return int(i);
    return -1;
}

AreaId CTemplateContent::AreaIdAt(int index) const
{
    return index >= 0 && std::size_t(index) < m_areas.size() ? m_areas[std::size_t(index)].GetId() : 0;
}

AreaId CTemplateContent::IdOf(const CArea* area) const
{
    for (const CArea& entry : m_areas)
        if (&entry == area)
            return entry.GetId();
    return 0;
}

CTemplateSnapshot CTemplateContent::Snapshot() const
{
    CTemplateSnapshot snapshot;
    if (m_pPicture)
        snapshot.picture = *m_pPicture;
    snapshot.areas.reserve(m_areas.size());
    for (const CArea& area : m_areas)
        snapshot.areas.push_back(area);
    return snapshot;
}

void CTemplateContent::InsertAreaAt(int index, CArea area)
{
    index = std::clamp(index, 0, int(m_areas.size()));
    if (area.GetId() == 0)
        area.SetId(NewId());
    const AreaId id = area.GetId();
    const QRect bounds = area.GetDrawBounds();
    m_areas.insert(m_areas.begin() + index, std::move(area));
    Notify(CDocChange::Kind::AreaAdded, id, bounds);
}

CArea CTemplateContent::RemoveAreaAt(int index)
{
    if (index < 0 || std::size_t(index) >= m_areas.size())
        return CArea();
    CArea area = std::move(m_areas[std::size_t(index)]);
    m_areas.erase(m_areas.begin() + index);
    Notify(CDocChange::Kind::AreaRemoved, area.GetId(), area.GetDrawBounds());
    return area;
}

void CTemplateContent::ReplaceArea(CArea area)
{
    const int index = IndexOf(area.GetId());
    if (index < 0)
        return;
    CArea& entry = m_areas[std::size_t(index)];
    const QRect bounds = entry.GetDrawBounds() | area.GetDrawBounds();
    entry = std::move(area);
    Notify(CDocChange::Kind::AreaChanged, entry.GetId(), bounds);
}

void CTemplateContent::ReplacePicture(std::unique_ptr<QImage> picture, QByteArray jpeg)
{
    m_pPicture = std::move(picture);
    m_pictureJpeg = m_pPicture ? std::move(jpeg) : QByteArray();
    Notify(CDocChange::Kind::PictureChanged, 0, QRect());
}

void CTemplateContent::ReplaceSelection(CSelection selection)
{
    // The old outline with the pixel its ants reach past it at zoom 1.
    const QRectF bounds = m_selection.GetBounds();
    const QRect old = bounds.isNull() ? QRect() : bounds.adjusted(-1, -1, 1, 1).toAlignedRect();
    m_selection = std::move(selection);
    Notify(CDocChange::Kind::SelectionChanged, 0, old);
}

void CTemplateContent::SetSelectedAreaId(AreaId id)
{
    if (id == m_nSelectedArea)
        return;
    const QRect bounds = DrawBoundsOf(m_nSelectedArea) | DrawBoundsOf(id);
    m_nSelectedArea = id;
    Notify(CDocChange::Kind::SelectedAreaChanged, id, bounds);
}

void CTemplateContent::Reset(std::unique_ptr<QImage> picture, std::vector<CArea> areas, QByteArray pictureJpeg)
{
    for (CArea& area : areas)
        area.SetId(NewId());
    m_pPicture = std::move(picture);
    m_pictureJpeg = m_pPicture ? std::move(pictureJpeg) : QByteArray();
    m_areas = std::move(areas);
    m_nSelectedArea = 0;
    m_selection = CSelection();
    Notify(CDocChange::Kind::PictureChanged, 0, QRect());
}

QRect CTemplateContent::DrawBoundsOf(AreaId id) const
{
    const CArea* area = FindArea(id);
    return area ? area->GetDrawBounds() : QRect();
}

void CTemplateContent::Notify(CDocChange::Kind kind, AreaId id, const QRect& bounds) const
{
    if (m_listener)
        m_listener(CDocChange{kind, id, bounds});
}
