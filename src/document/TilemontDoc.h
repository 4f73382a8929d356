#pragma once

#include "Area.h"
#include "geometry/Selection.h"

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

class IAreasPanelSink;
class IDocumentPrompts;
class IDocumentView;

// One open template: the picture, the areas in drawing order, the area
// picked in the Areas panel and the current selection, with the "Template"
// and file commands that change them.
class CTilemontDoc
{
public:
    explicit CTilemontDoc(IDocumentPrompts& prompts, IAreasPanelSink* panel = nullptr);
    CTilemontDoc(const CTilemontDoc&) = delete;
    CTilemontDoc& operator=(const CTilemontDoc&) = delete;

    const QImage* GetPicture() const { return m_pPicture.get(); }
    void SetPicture(std::unique_ptr<QImage> picture) { m_pPicture = std::move(picture); }
    std::vector<CArea>& GetAreas() { return m_areas; }
    const std::vector<CArea>& GetAreas() const { return m_areas; }
    CSelection& GetSelection() { return m_selection; }
    const CSelection& GetSelection() const { return m_selection; }

    // The selected area is kept as a position in the list, so it stays
    // right however the list's storage moves.
    CArea* GetSelectedArea();
    const CArea* GetSelectedArea() const;
    int GetSelectedIndex() const { return m_nSelectedArea; }
    // area must be an entry of the list, or null for none.
    void SetSelectedArea(const CArea* area);
    void SetSelectedIndex(int index);

    void AddView(IDocumentView* view);
    void RemoveView(IDocumentView* view);
    IDocumentView* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
    void UpdateAllViews();
    void SetAreasPanelSink(IAreasPanelSink* panel) { m_pPanel = panel; }
    void NotifyAreasPanel();

    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path);
    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title) { m_strTitle = title; }
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // Command routing: whether this document handles id, whether it is
    // enabled now, and running it. Returns false for ids it does not handle.
    bool HandlesCommand(int id) const;
    bool IsCommandEnabled(int id) const;
    bool OnCommand(int id);

    void OnSelectPicture();
    void OnCreateArea();
    void OnClearSelection();
    void OnAddSelectionToArea();
    void OnDeleteSelectionFromArea();
    void OnDeleteArea();
    // Both return true only when the file was written.
    bool OnFileSave();
    bool OnFileSaveAs();

    // Asks whether to save a modified document before it closes. True when
    // it may close: not modified, answered No, or answered Yes and saved.
    bool SaveModified();

    // Replaces the contents with the template in path. On failure tells the
    // user and leaves the document as it was. An empty file reads as an
    // empty template when emptyFileIsNew, as when the editor opens a file
    // named on its command line.
    bool OnOpenDocument(const QString& path, bool emptyFileIsNew = false);
    // Writes the template to path; on success the document takes that path
    // and is no longer modified. On failure tells the user.
    bool OnSaveDocument(const QString& path);

private:
    void ChangeOutlineBySelection(bool add);

    std::vector<CArea> m_areas;
    int m_nSelectedArea = -1;
    CSelection m_selection;
    std::unique_ptr<QImage> m_pPicture;

    IDocumentPrompts& m_prompts;
    IAreasPanelSink* m_pPanel;
    std::vector<IDocumentView*> m_views;
    QString m_strPathName;
    QString m_strTitle;
    bool m_bModified = false;
};
