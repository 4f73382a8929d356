#include "TilemontDoc.h"

#include "CommandIds.h"
#include "IAreasPanelSink.h"
#include "IDocumentPrompts.h"
#include "IDocumentView.h"
#include "ImageCodec.h"
#include "Messages.h"
#include "TemplateFile.h"
#include "geometry/PolygonClip.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

CTilemontDoc::CTilemontDoc(IDocumentPrompts& prompts, IAreasPanelSink* panel)
    : m_prompts(prompts), m_pPanel(panel)
{
}

CArea* CTilemontDoc::GetSelectedArea()
{
    return m_nSelectedArea >= 0 ? &m_areas[static_cast<std::size_t>(m_nSelectedArea)] : nullptr;
}

const CArea* CTilemontDoc::GetSelectedArea() const
{
    return m_nSelectedArea >= 0 ? &m_areas[static_cast<std::size_t>(m_nSelectedArea)] : nullptr;
}

void CTilemontDoc::SetSelectedArea(const CArea* area)
{
    m_nSelectedArea = -1;
    for (std::size_t i = 0; i < m_areas.size(); ++i)
        if (&m_areas[i] == area)
            m_nSelectedArea = static_cast<int>(i);
}

void CTilemontDoc::SetSelectedIndex(int index)
{
    m_nSelectedArea = index >= 0 && static_cast<std::size_t>(index) < m_areas.size() ? index : -1;
}

void CTilemontDoc::AddView(IDocumentView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CTilemontDoc::RemoveView(IDocumentView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CTilemontDoc::UpdateAllViews()
{
    // A view may close itself in response; walk a copy.
    const auto views = m_views;
    for (IDocumentView* view : views)
        view->OnUpdate();
}

void CTilemontDoc::NotifyAreasPanel()
{
    if (m_pPanel)
        m_pPanel->NotifyAreasPanel(this, GetFirstView(), true);
}

void CTilemontDoc::SetPathName(const QString& path)
{
    m_strPathName = path;
    m_strTitle = QFileInfo(path).fileName();
}

bool CTilemontDoc::HandlesCommand(int id) const
{
    switch (id) {
    case ID_SELECT_PICTURE:
    case ID_CREATE_AREA:
    case ID_DELETE_AREA:
    case ID_CLEAR_SELECTION:
    case ID_ADD_SELECTION_TO_AREA:
    case ID_DELETE_SELECTION_FROM_AREA:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
        return true;
    default:
        return false;
    }
}

bool CTilemontDoc::IsCommandEnabled(int id) const
{
    switch (id) {
    case ID_CREATE_AREA:
        return !m_selection.IsEmpty();
    case ID_DELETE_AREA:
        return GetSelectedArea() != nullptr;
    case ID_ADD_SELECTION_TO_AREA:
    case ID_DELETE_SELECTION_FROM_AREA:
        return GetSelectedArea() != nullptr && !m_selection.IsEmpty();
    default:
        return HandlesCommand(id);
    }
}

bool CTilemontDoc::OnCommand(int id)
{
    if (!HandlesCommand(id))
        return false;
    // A command that is disabled now (a stale shortcut, say) does nothing.
    if (!IsCommandEnabled(id))
        return true;
    switch (id) {
    case ID_SELECT_PICTURE: OnSelectPicture(); break;
    case ID_CREATE_AREA: OnCreateArea(); break;
    case ID_DELETE_AREA: OnDeleteArea(); break;
    case ID_CLEAR_SELECTION: OnClearSelection(); break;
    case ID_ADD_SELECTION_TO_AREA: OnAddSelectionToArea(); break;
    case ID_DELETE_SELECTION_FROM_AREA: OnDeleteSelectionFromArea(); break;
    case ID_FILE_SAVE: OnFileSave(); break;
    case ID_FILE_SAVE_AS: OnFileSaveAs(); break;
    }
    return true;
}

void CTilemontDoc::OnSelectPicture()
{
    const auto path = m_prompts.AskOpenFileName(Messages::kPictureFilter, QDir::currentPath());
    if (!path)
        return;
    QString error;
    auto picture = LoadImageFile(*path, &error);
    if (!picture) {
        // The old picture stays: a file that cannot be read must not cost
        // the user the picture they had.
        m_prompts.ShowError(error);
        return;
    }
    m_pPicture = std::move(picture);
    UpdateAllViews();
    SetModifiedFlag();
}

void CTilemontDoc::OnCreateArea()
{
    const auto name =
        m_prompts.AskName(Messages::kEnterAreaName, Messages::kEnterAreaName, Messages::kDefaultAreaName);
    if (!name)
        return;
    CArea area;
    area.SetName(*name);
    area.SetOutline(&m_selection.GetPolygon());
    m_areas.push_back(std::move(area));
    SetModifiedFlag();
    NotifyAreasPanel();
}

void CTilemontDoc::OnClearSelection()
{
    m_selection.SetPolygon(nullptr);
    UpdateAllViews();
}

void CTilemontDoc::ChangeOutlineBySelection(bool add)
{
    CArea* area = GetSelectedArea();
    if (!area || m_selection.IsEmpty())
        return;
    const CPolygon result = PolygonClip(add ? ClipOp::Union : ClipOp::Difference, area->GetOutline(),
                                        m_selection.GetPolygon());
    area->SetOutline(&result);
    m_selection.SetPolygon(&result);
    SetModifiedFlag();
    UpdateAllViews();
}

void CTilemontDoc::OnAddSelectionToArea()
{
    ChangeOutlineBySelection(true);
}

void CTilemontDoc::OnDeleteSelectionFromArea()
{
    ChangeOutlineBySelection(false);
}

void CTilemontDoc::OnDeleteArea()
{
    if (m_nSelectedArea < 0)
        return;
    if (m_prompts.Ask(Messages::kDeleteArea, false) != IDocumentPrompts::Answer::Yes)
        return;
    m_areas.erase(m_areas.begin() + m_nSelectedArea);
    m_nSelectedArea = -1;
    NotifyAreasPanel();
    UpdateAllViews();
    SetModifiedFlag();
    m_selection.SetPolygon(nullptr);
}

bool CTilemontDoc::OnFileSave()
{
    if (!m_strPathName.isEmpty())
        return OnSaveDocument(m_strPathName);
    return OnFileSaveAs();
}

bool CTilemontDoc::OnFileSaveAs()
{
    const auto path = m_prompts.AskSaveFileName(Messages::kTemplateFilter, Messages::kTemplateDefaultExt);
    if (!path)
        return false;
    SetModifiedFlag();
    return OnSaveDocument(*path);
}

bool CTilemontDoc::OnSaveDocument(const QString& path)
{
    QString error;
    if (!SaveTemplateFile(path, m_pPicture.get(), m_areas, &error)) {
        m_prompts.ShowError(error);
        return false;
    }
    if (path != m_strPathName)
        SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

bool CTilemontDoc::SaveModified()
{
    if (!m_bModified)
        return true;
    QString name = !m_strPathName.isEmpty() ? m_strPathName : m_strTitle;
    if (name.isEmpty())
        name = Messages::kUntitled;
    switch (m_prompts.Ask(Messages::kSaveChanges.arg(name), true)) {
    case IDocumentPrompts::Answer::Cancel:
        return false;
    case IDocumentPrompts::Answer::No:
        return true;
    case IDocumentPrompts::Answer::Yes:
        // Closing after a cancelled or failed save would lose the work.
        return OnFileSave();
    }
    return false;
}

bool CTilemontDoc::OnOpenDocument(const QString& path, bool emptyFileIsNew)
{
    CTemplateData data;
    if (!(emptyFileIsNew && QFileInfo(path).isFile() && QFileInfo(path).size() == 0)) {
        QString error;
        auto loaded = LoadTemplateFile(path, &error);
        if (!loaded) {
            m_prompts.ShowError(error);
            return false;
        }
        data = std::move(*loaded);
    }
    m_pPicture = std::move(data.picture);
    m_areas = std::move(data.areas);
    m_nSelectedArea = -1;
    m_selection.SetPolygon(nullptr);
    SetPathName(path);
    SetModifiedFlag(false);
    NotifyAreasPanel();
    UpdateAllViews();
    return true;
}
