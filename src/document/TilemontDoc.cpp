#include "TilemontDoc.h"

#include "PictureDrop.h"

#include "IAreasPanelSink.h"
#include "IDocumentPrompts.h"
#include "IDocumentView.h"
#include "ImageCodec.h"
#include "Messages.h"
#include "PictureFileFilter.h"
#include "AreaListCommand.h"
#include "PerspectiveEdits.h"
#include "PictureChoice.h"
#include "PictureCommand.h"
#include "SelectedAreaCommand.h"
#include "SelectionCommand.h"
#include "SelectMenu.h"
#include "TemplateFile.h"
#include "geometry/CommitShape.h"
#include "geometry/PolygonClip.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

CTilemontDoc::CTilemontDoc(IDocumentPrompts& prompts, IAreasPanelSink* panel)
    : m_content([this](const CDocChange& change) { OnContentChanged(change); }), m_prompts(prompts), m_pPanel(panel)
{
    m_history.SetListener([this] { Notify({CDocChange::Kind::HistoryChanged, 0, QRect()}); });
}

CTilemontDoc::~CTilemontDoc()
{
    m_history.SetListener(nullptr);
    if (m_pPanel)
        m_pPanel->DocumentDestroyed(this);
    const auto observers = m_observers;
    for (IDocumentView* observer : observers)
        observer->OnDocumentDestroyed();
}

void CTilemontDoc::SetSelectedArea(const CArea* area)
{
    m_content.SetSelectedAreaId(IdOf(area));
}

void CTilemontDoc::SetSelectedIndex(int index)
{
    m_content.SetSelectedAreaId(AreaIdAt(index));
}

// --- Steps ------------------------------------------------------------------

AreaId CTilemontDoc::AddArea(CArea area, const QString& stepName)
{
    area.SetId(m_content.NewId());
    const AreaId id = area.GetId();
    m_history.Push(std::make_unique<CAreaListCommand>(m_content, stepName, CAreaListCommand::Action::Insert,
                                                      int(GetAreas().size()), std::move(area)));
    return id;
}

bool CTilemontDoc::DeleteArea(AreaId id, const QString& stepName, bool clearSelection)
{
    const int index = IndexOf(id);
    if (index < 0)
        return false;
    auto step = std::make_unique<CDocCommand>(m_content, stepName, true);
    new CAreaListCommand(m_content, stepName, CAreaListCommand::Action::Remove, index, CArea(), step.get());
    if (m_content.GetSelectedAreaId() == id)
        new CSelectedAreaCommand(m_content, id, 0, step.get());
    if (clearSelection && !GetSelection().IsEmpty())
        new CSelectionCommand(m_content, stepName, GetSelection(), CSelection(), step.get());
    m_history.Push(std::move(step));
    return true;
}

CTemplateSnapshot CTilemontDoc::Snapshot() const
{
    CTemplateSnapshot snapshot = m_content.Snapshot();
    snapshot.warps = m_warps;
    return snapshot;
}

bool CTilemontDoc::LayTexture(AreaId id, const CStoredImage& texture, std::optional<double> textureWidthCm)
{
    return EditArea(id, Messages::kStepTexture, [&texture, textureWidthCm](CArea& a) {
        a.SetTexture(texture);
        // A surface measured once keeps its real scale whatever is laid in.
        if (textureWidthCm && *textureWidthCm > 0.0 && a.GetRealSize().HasReference()) {
            CRealSize real = a.GetRealSize();
            real.textureWidthCm = *textureWidthCm;
            a.SetRealSize(real);
            if (const auto scale = RealSizeScale(a))
                a.SetScale(*scale);
        }
    });
}

bool CTilemontDoc::DropImage(const QString& path, QPointF picturePoint, std::optional<double> realWidthCm)
{
    return CPictureDrop::Lay(*this, m_prompts, path, picturePoint, realWidthCm);
}

bool CTilemontDoc::EditArea(AreaId id, const QString& stepName, const std::function<void(CArea&)>& edit,
                            const CAreaEditCommand::Options& options)
{
    const CArea* area = FindArea(id);
    if (!area)
        return false;
    CArea before = *area;
    CArea after = *area;
    edit(after);
    after.SetId(id);
    const bool selectionMoves = options.selectionFollows && !(GetSelection().GetPolygon() == after.GetOutline());
    if (after == before && !selectionMoves)
        return false;
    m_history.Push(std::make_unique<CAreaEditCommand>(m_content, stepName, std::move(before), std::move(after),
                                                      GetSelection().GetPolygon(), options));
    return true;
}

bool CTilemontDoc::NudgeArea(AreaId id, int dx, int dy, bool keyRepeat)
{
    CAreaEditCommand::Options options;
    options.mergeKey = CAreaEditCommand::kMergeNudge;
    options.joinsRun = keyRepeat;
    options.selectionFollows = true;
    return EditArea(
        id, Messages::kStepMoveArea, [dx, dy](CArea& area) {
            CPolygon outline = area.GetOutline();
            TranslatePolygon(outline, dx, dy);
            area.SetOutline(&outline);
        },
        options);
}

void CTilemontDoc::SetSelection(const CPolygon* polygon, const QString& stepName)
{
    CPolygon after = polygon ? *polygon : CPolygon();
    if (after == GetSelection().GetPolygon())
        return;
    m_history.Push(
        std::make_unique<CSelectionCommand>(m_content, stepName, GetSelection(), CSelection(std::move(after))));
}

void CTilemontDoc::CommitSelectionShape(const QPainterPath& shape, bool ctrl, bool shift)
{
    std::optional<QSize> pictureSize;
    if (const QImage* picture = GetPicture())
        pictureSize = picture->size();
    const CPolygon result = CommitShape(GetSelection().GetPolygon(), shape, ctrl, shift, pictureSize);
    SetSelection(&result, Messages::kStepSelect);
}

void CTilemontDoc::CommitSelectionPolygon(CPolygon polygon, bool ctrl, bool shift)
{
    CPolygon after = ctrl || shift ? PolygonClip(ctrl ? ClipOp::Difference : ClipOp::Union, GetSelection().GetPolygon(),
                                                 polygon)
                                   : std::move(polygon);
    if (after == GetSelection().GetPolygon())
        return;
    m_history.Push(std::make_unique<CSelectionCommand>(m_content, Messages::kStepSelect, GetSelection(),
                                                       CSelection(std::move(after))));
}

void CTilemontDoc::SetPicture(std::unique_ptr<QImage> picture)
{
    if (picture)
        SetPicture(CStoredImage(std::move(*picture)));
    else
        SetPicture(CStoredImage());
}

void CTilemontDoc::SetPicture(CStoredImage picture)
{
    std::optional<CStoredImage> before, after;
    if (const QImage* current = GetPicture())
        before = CStoredImage(*current, m_content.GetPictureJpeg());
    if (!picture.IsNull())
        after = std::move(picture);
    m_history.Push(std::make_unique<CPictureCommand>(m_content, Messages::kStepSelectPicture, std::move(before),
                                                     std::move(after)));
}

void CTilemontDoc::ResetContent(std::unique_ptr<QImage> picture, std::vector<CArea> areas, QByteArray pictureJpeg)
{
    m_bModified = false;
    m_history.Clear();
    m_content.Reset(std::move(picture), std::move(areas), std::move(pictureJpeg));
}

void CTilemontDoc::OnEditUndo()
{
    m_history.Undo();
}

void CTilemontDoc::OnEditRedo()
{
    m_history.Redo();
}

void CTilemontDoc::OnContentChanged(const CDocChange& change)
{
    // An area that leaves takes its warps along; a new picture brings
    // new areas.
    if (change.kind == CDocChange::Kind::AreaRemoved)
        m_warps->Forget(change.area);
    else if (change.kind == CDocChange::Kind::PictureChanged)
        {
        std::vector<AreaId> ids;
        for (const CArea& area : GetAreas())
            ids.push_back(area.GetId());
        m_warps->KeepOnly(ids);
    }
    Notify(change);
    if (change.kind == CDocChange::Kind::AreaAdded || change.kind == CDocChange::Kind::AreaRemoved)
        NotifyAreasPanel();
}

void CTilemontDoc::Notify(const CDocChange& change)
{
    // A view may close itself in response; walk a copy.
    const auto views = m_views;
    for (IDocumentView* view : views)
        view->OnDocumentChanged(change);
    const auto observers = m_observers;
    for (IDocumentView* observer : observers)
        if (std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end())
            observer->OnDocumentChanged(change);
}

void CTilemontDoc::AddObserver(IDocumentView* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CTilemontDoc::RemoveObserver(IDocumentView* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
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

bool CTilemontDoc::IsModified() const
{
    return m_bModified || m_history.ContentDiffersFromClean();
}

void CTilemontDoc::SetModifiedFlag(bool modified)
{
    m_bModified = modified;
    if (!modified)
        m_history.SetClean();
    Notify({CDocChange::Kind::HistoryChanged, 0, QRect()});
}

void CTilemontDoc::SetPathName(const QString& path)
{
    m_strPathName = path;
    m_strTitle = QFileInfo(path).fileName();
}

void CTilemontDoc::OnSelectPicture()
{
    const auto path = m_prompts.AskOpenFileName(PictureFileFilter::Filter(), QDir::currentPath());
    if (!path)
        return;
    // The old picture stays when the file cannot be read or is refused: it
    // must not cost the user the picture they had.
    auto picture = CPictureChoice::Load(m_prompts, *path);
    if (!picture)
        return;
    SetPicture(std::move(*picture));
    UpdateAllViews();
}

bool CTilemontDoc::OfferPicture(CStoredImage image, const QString& source)
{
    if (image.IsNull())
        return false;
    if (qint64(image.Image().width()) * image.Image().height() > kMaxImagePixels) {
        m_prompts.ShowError(Messages::kPictureTooLarge.arg(source));
        return false;
    }
    if (m_prompts.Ask(Messages::kUseAsPicture.arg(source), false) != IDocumentPrompts::Answer::Yes)
        return false;
    SetPicture(std::move(image));
    UpdateAllViews();
    return true;
}

void CTilemontDoc::OnCreateArea()
{
    const auto name =
        m_prompts.AskName(Messages::kEnterAreaName, Messages::kEnterAreaName, Messages::kDefaultAreaName);
    if (!name)
        return;
    CArea area;
    area.SetName(*name);
    area.SetOutline(&GetSelection().GetPolygon());
    // Adding the area tells the Areas panel.
    AddArea(std::move(area), Messages::kStepCreateArea);
}

void CTilemontDoc::OnSelectAll()
{
    if (GetPicture())
        SelectAs(SelectMenu::All(GetPicture()->size()));
}

void CTilemontDoc::OnInvertSelection()
{
    if (GetPicture())
        SelectAs(SelectMenu::Inverted(GetSelection().GetPolygon(), GetPicture()->size()));
}

void CTilemontDoc::OnResizeSelection(bool grow)
{
    if (!GetPicture())
        return;
    const std::optional<int> pixels = SelectMenu::AskPixels(m_prompts, grow);
    if (pixels)
        SelectAs(SelectMenu::Resized(GetSelection().GetPolygon(), grow ? *pixels : -*pixels, GetPicture()->size()));
}

void CTilemontDoc::SelectAs(const CPolygon& after)
{
    SetSelection(&after, Messages::kStepSelect);
    UpdateAllViews();
}

void CTilemontDoc::OnClearSelection()
{
    SetSelection(nullptr, Messages::kStepClearSelection);
    UpdateAllViews();
}

void CTilemontDoc::ChangeOutlineBySelection(bool add)
{
    const CArea* area = GetSelectedArea();
    if (!area || GetSelection().IsEmpty())
        return;
    const CPolygon result = PolygonClip(add ? ClipOp::Union : ClipOp::Difference, area->GetOutline(),
                                        GetSelection().GetPolygon());
    // The selection then traces the changed area.
    CAreaEditCommand::Options options;
    options.selectionFollows = true;
    EditArea(area->GetId(), add ? Messages::kStepAddSelection : Messages::kStepDeleteSelection,
             [&result](CArea& edited) { edited.SetOutline(&result); }, options);
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
    if (!GetSelectedArea())
        return;
    if (m_prompts.Ask(Messages::kDeleteArea, false) != IDocumentPrompts::Answer::Yes)
        return;
    // The list, the pick and the selection go back together on undo.
    DeleteArea(GetSelectedAreaId(), Messages::kStepDeleteArea, true);
    UpdateAllViews();
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
    if (!SaveTemplateFile(path, GetPicture(), m_content.GetPictureJpeg(), GetAreas(), &error, m_warps.get())) {
        m_prompts.ShowError(error);
        return false;
    }
    if (path != m_strPathName)
        SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

QString CTilemontDoc::ShownName() const
{
    const QString name = !m_strPathName.isEmpty() ? m_strPathName : m_strTitle;
    return name.isEmpty() ? QString(Messages::kUntitled) : name;
}

bool CTilemontDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_prompts.Ask(Messages::kSaveChanges.arg(ShownName()), true)) {
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
        // What is whole of a file cut short opens, and the user is told.
        CTemplateReadOptions options;
        options.salvage = true;
        auto loaded = LoadTemplateFile(path, &error, options);
        if (!loaded) {
            m_prompts.ShowError(error);
            return false;
        }
        data = std::move(*loaded);
    }
    ResetContent(std::move(data.picture), std::move(data.areas), std::move(data.pictureJpeg));
    SetPathName(path);
    NotifyAreasPanel();
    UpdateAllViews();
    // After the template shows, so the user sees what opened without the
    // values the message speaks of.
    if (!data.warning.isEmpty())
        m_prompts.ShowInformation(data.warning);
    return true;
}
