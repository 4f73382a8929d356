#pragma once

#include "Area.h"
#include "AreaEditCommand.h"
#include "DocChange.h"
#include "History.h"
#include "Messages.h"
#include "PerspectiveSteps.h"
#include "TemplateContent.h"
#include "geometry/Selection.h"

#include <QImage>
#include <QPointF>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class IAreasPanelSink;
class QPainterPath;
class IDocumentPrompts;
class IDocumentView;

// One open template: the picture, the areas in drawing order, the area
// picked in the Areas panel and the current selection, with the "Template"
// and file commands that change them.
class CTilemontDoc
{
public:
    explicit CTilemontDoc(IDocumentPrompts& prompts, IAreasPanelSink* panel = nullptr);
    ~CTilemontDoc();
    CTilemontDoc(const CTilemontDoc&) = delete;
    CTilemontDoc& operator=(const CTilemontDoc&) = delete;

    // --- What the template holds. Read-only: every change is a step in the
    // history (below), made through the document's own operations.
    const QImage* GetPicture() const { return m_content.GetPicture(); }
    // The JPEG file the picture is saved as while it is unchanged; empty
    // when it is encoded at the next save.
    const QByteArray& GetPictureJpeg() const { return m_content.GetPictureJpeg(); }
    const std::vector<CArea>& GetAreas() const { return m_content.GetAreas(); }
    // The area with this identity, or null when the document has none (for
    // example after an undo took it out).
    const CArea* FindArea(AreaId id) const { return m_content.FindArea(id); }
    int IndexOf(AreaId id) const { return m_content.IndexOf(id); }
    // The identity of the area at index, or 0 when there is none there.
    AreaId AreaIdAt(int index) const { return m_content.AreaIdAt(index); }
    // The identity of area when it is an entry of the list, else 0.
    AreaId IdOf(const CArea* area) const { return m_content.IdOf(area); }
    // Changes only through SetSelection and the steps that take the
    // selection along.
    const CSelection& GetSelection() const { return m_content.GetSelection(); }
    // The content now, sharing its images and the warps, for a worker
    // thread, an export or a print.
    CTemplateSnapshot Snapshot() const;
    // The warped textures of the areas, kept for the renderer that draws
    // them and the save that stores them. Shared with the snapshots; its
    // content is no part of the template.
    CWarpCache& Warps() const { return *m_warps; }

    // The area picked in the Areas panel, held by its identity. Picking is
    // not a change of the template and not a step in the history.
    const CArea* GetSelectedArea() const { return FindArea(m_content.GetSelectedAreaId()); }
    AreaId GetSelectedAreaId() const { return GetSelectedArea() ? m_content.GetSelectedAreaId() : 0; }
    int GetSelectedIndex() const { return IndexOf(m_content.GetSelectedAreaId()); }
    // area must be an entry of the list, or null for none.
    void SetSelectedArea(const CArea* area);
    void SetSelectedIndex(int index);

    // --- Steps. Each is one entry in the history and tells the views what
    // changed.
    // Appends area (as "Create area" does, without asking a name) and
    // returns the identity it got.
    AreaId AddArea(CArea area, const QString& stepName);
    // Takes the area out; when it was the picked one, nothing is picked any
    // more. clearSelection empties the selection in the same step.
    bool DeleteArea(AreaId id, const QString& stepName, bool clearSelection);
    // Applies edit to a copy of the area and makes the result the area, as
    // one step, unless it changed nothing. Steps with the same merge key on
    // the same area fold into one while they join the run.
    bool EditArea(AreaId id, const QString& stepName, const std::function<void(CArea&)>& edit,
                  const CAreaEditCommand::Options& options = {});
    // Makes texture the area's texture, as one "Texture" step, keeping its
    // placement. When the texture file's real width is known and the area
    // has a reference line, the area takes that width and the scale that
    // keeps the new texture at its real size, in the same step.
    bool LayTexture(AreaId id, const QImage& texture, std::optional<double> textureWidthCm = std::nullopt)
    {
        return LayTexture(id, CStoredImage(texture), textureWidthCm);
    }
    // The same with the JPEG file the texture came as, saved as it is.
    bool LayTexture(AreaId id, const CStoredImage& texture, std::optional<double> textureWidthCm = std::nullopt);
    // The perspective and real-size steps (see CPerspectiveSteps).
    bool SetAreaPerspective(AreaId id, bool perspective) { return Perspective().SetPerspective(id, perspective); }
    std::optional<CPerspectiveFit> FitAreaPerspective(AreaId id, const CPerspectiveFitOptions& options)
    {
        return Perspective().Fit(id, options);
    }
    bool ApplyAreaPerspectiveFit(AreaId id, const std::optional<CPerspectiveFit>& fit)
    {
        return Perspective().ApplyFit(id, fit);
    }
    bool SetAreaRealSize(AreaId id, const CRealSize& realSize) { return Perspective().SetRealSize(id, realSize); }
    // A picture file dropped on the template at a picture point: the area
    // there takes it as its texture, elsewhere the user is asked whether it
    // becomes the picture. True when the template changed.
    bool DropImage(const QString& path, QPointF picturePoint, std::optional<double> realWidthCm = std::nullopt);
    // A picture from elsewhere (dropped beside the areas, the Clipboard)
    // offered as the template's picture: the user is asked, source naming it
    // in the question; then one "Select picture" step. A picture beyond the
    // pixel limit is refused with an error. True when the template changed.
    bool OfferPicture(CStoredImage image, const QString& source);
    // Moves the area's outline by (dx, dy) and makes the selection follow it;
    // a key repeat joins the step before.
    bool NudgeArea(AreaId id, int dx, int dy, bool keyRepeat);
    // Replaces the selection's polygon (null empties it); nothing when it
    // equals the selection already.
    void SetSelection(const CPolygon* polygon, const QString& stepName = Messages::kStepSelect);
    // Combines a finished tool shape (picture pixels) with the selection:
    // Ctrl subtracts, else Shift adds, else it replaces; clipped to the
    // picture. One step, none when the selection stays as it was.
    void CommitSelectionShape(const QPainterPath& shape, bool ctrl, bool shift);
    // The same for a polygon already in whole picture pixels and inside the
    // picture (a traced region): replacing takes it as it is, without a
    // drawing path or a clipping pass, so an outline with thousands of
    // holes commits at once.
    void CommitSelectionPolygon(CPolygon polygon, bool ctrl, bool shift);
    // Replaces the picture, as "Select picture" does after its dialog.
    void SetPicture(std::unique_ptr<QImage> picture);
    // The same with the JPEG file the picture came as, saved as it is.
    void SetPicture(CStoredImage picture);
    // Replaces the whole content as opening a file does: no history, not
    // modified, nothing picked, the selection empty.
    void ResetContent(std::unique_ptr<QImage> picture, std::vector<CArea> areas, QByteArray pictureJpeg = {});

    CHistory& GetHistory() { return m_history; }
    const CHistory& GetHistory() const { return m_history; }
    void OnEditUndo();
    void OnEditRedo();

    void AddView(IDocumentView* view);
    void RemoveView(IDocumentView* view);
    IDocumentView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    void UpdateAllViews();
    // Told of every change like the views, without being one (the first
    // view stays the first window on the document).
    void AddObserver(IDocumentView* observer);
    void RemoveObserver(IDocumentView* observer);
    void SetAreasPanelSink(IAreasPanelSink* panel) { m_pPanel = panel; }
    void NotifyAreasPanel();

    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title) { m_strTitle = title; }
    // Modified when the content differs from what was last saved or opened
    // (the history says so), or when marked by hand (as "Save As..." does
    // before saving).
    bool IsModified() const;
    // false makes the present state the saved one.
    void SetModifiedFlag(bool modified = true);

    void OnSelectPicture();
    void OnCreateArea();
    void OnClearSelection();
    // The Select menu: All, Invert, and Grow or Shrink by a number of
    // pixels the user is asked for. Nothing happens without a picture.
    void OnSelectAll();
    void OnInvertSelection();
    void OnResizeSelection(bool grow);
    void OnAddSelectionToArea();
    void OnDeleteSelectionFromArea();
    void OnDeleteArea();
    // Both return true only when the file was written.
    bool OnFileSave();
    bool OnFileSaveAs();

    // Asks whether to save a modified document before it closes. True when
    // it may close: not modified, answered No, or answered Yes and saved.
    bool SaveModified();
    // The template's path, else its title, else "Untitled": how questions
    // name it.
    QString ShownName() const;

    // Replaces the contents with the template in path. On failure tells the
    // user and leaves the document as it was. An empty file reads as an
    // empty template when emptyFileIsNew, as when the editor opens a file
    // named on its command line.
    bool OnOpenDocument(const QString& path, bool emptyFileIsNew = false);
    // Writes the template to path; on success the document takes that path
    // and is no longer modified. On failure tells the user.
    bool OnSaveDocument(const QString& path);

private:
    // One "Selection" step to after, shown.
    void SelectAs(const CPolygon& after);
    CPerspectiveSteps Perspective() { return CPerspectiveSteps(*this, m_prompts); }
    void ChangeOutlineBySelection(bool add);
    // Tells the views, and the Areas panel when the list changed.
    void OnContentChanged(const CDocChange& change);
    void Notify(const CDocChange& change);

    // Declared first: the history's steps refer to it until they go.
    std::shared_ptr<CWarpCache> m_warps = std::make_shared<CWarpCache>();
    CTemplateContent m_content;
    CHistory m_history;

    IDocumentPrompts& m_prompts;
    IAreasPanelSink* m_pPanel;
    std::vector<IDocumentView*> m_views;
    std::vector<IDocumentView*> m_observers;
    QString m_strPathName;
    QString m_strTitle;
    bool m_bModified = false;
};
