#include "DocumentTarget.h"

#include "ChildFrame.h"
#include "ResourceIds.h"
#include "render/AreaWarpUpdates.h"

#include <algorithm>
#include <map>

CDocumentTarget::CDocumentTarget(IDocumentPrompts& prompts, IAreasPanelSink* panel, QObject* parent)
    : QObject(parent), m_doc(prompts, panel)
{
    // A save stores the warp of every area that shows one, drawn or not.
    InstallWarpBuilder(m_doc.Warps());
    m_doc.AddObserver(&m_relay);
}

CDocumentTarget::~CDocumentTarget()
{
    m_doc.RemoveObserver(&m_relay);
}

void CDocumentTarget::AttachFrame(CChildFrame* frame)
{
    if (std::find(m_frames.begin(), m_frames.end(), frame) == m_frames.end())
        m_frames.push_back(frame);
}

std::vector<CChildFrame*> CDocumentTarget::OpenFrames() const
{
    std::vector<CChildFrame*> open;
    for (CChildFrame* frame : m_frames)
        if (!frame->IsClosed())
            open.push_back(frame);
    return open;
}

void CDocumentTarget::DetachFrame(CChildFrame* frame)
{
    const auto it = std::find(m_frames.begin(), m_frames.end(), frame);
    if (it == m_frames.end())
        return;
    m_frames.erase(it);
    if (m_frames.empty())
        emit lastFrameClosed(this);
}

template <typename Save>
auto CDocumentTarget::ReportingNewName(Save save)
{
    const QString before = m_doc.GetPathName();
    const auto result = save();
    if (const QString after = m_doc.GetPathName(); !after.isEmpty() && after != before)
        emit savedAs(after);
    return result;
}

bool CDocumentTarget::SaveModified()
{
    return ReportingNewName([this] { return m_doc.SaveModified(); });
}

bool CDocumentTarget::SaveNow()
{
    return ReportingNewName([this] { return m_doc.OnFileSave(); });
}

bool CDocumentTarget::CloseDocument(bool ask)
{
    if (ask && !SaveModified())
        return false;
    m_bClosing = true;
    const auto frames = OpenFrames();
    for (CChildFrame* frame : frames)
        frame->close();
    return true;
}

// --- Commands -------------------------------------------------------------

const CDocumentTarget::Handler* CDocumentTarget::HandlerOf(int id)
{
    using T = CDocumentTarget;
    const auto always = [](const T&) { return true; };
    const auto picture = [](const T& t) { return t.m_doc.GetPicture() != nullptr; };
    const auto selection = [](const T& t) { return !t.m_doc.GetSelection().IsEmpty(); };
    const auto area = [](const T& t) { return t.m_doc.GetSelectedArea() != nullptr; };
    const auto areaAndSelection = [](const T& t) {
        return t.m_doc.GetSelectedArea() != nullptr && !t.m_doc.GetSelection().IsEmpty();
    };
    static const std::map<int, Handler> handlers{
        {ID_FILE_CLOSE, {always, [](T& t) { t.CloseDocument(); }}},
        {ID_FILE_SAVE, {always, [](T& t) { t.ReportingNewName([&t] { return t.m_doc.OnFileSave(); }); }}},
        {ID_FILE_SAVE_AS, {always, [](T& t) { t.ReportingNewName([&t] { return t.m_doc.OnFileSaveAs(); }); }}},
        {ID_EXPORT, {[](const T& t) { return t.m_exporter && t.m_doc.GetPicture(); },
                     [](T& t) { t.m_exporter(t.m_doc); }}},
        {ID_RENDER_GROUP, {[](const T& t) { return t.CanRenderGroup(); }, [](T& t) { t.m_groupRenderer(t.m_doc); }}},
        {ID_EDIT_UNDO, {[](const T& t) { return t.m_doc.GetHistory().CanUndo(); }, [](T& t) { t.m_doc.OnEditUndo(); }}},
        {ID_EDIT_REDO, {[](const T& t) { return t.m_doc.GetHistory().CanRedo(); }, [](T& t) { t.m_doc.OnEditRedo(); }}},
        {ID_SELECT_PICTURE, {always, [](T& t) { t.m_doc.OnSelectPicture(); }}},
        {ID_CREATE_AREA, {selection, [](T& t) { t.m_doc.OnCreateArea(); }}},
        {ID_DELETE_AREA, {area, [](T& t) { t.m_doc.OnDeleteArea(); }}},
        {ID_CLEAR_SELECTION, {always, [](T& t) { t.m_doc.OnClearSelection(); }}},
        {ID_ADD_SELECTION_TO_AREA, {areaAndSelection, [](T& t) { t.m_doc.OnAddSelectionToArea(); }}},
        {ID_DELETE_SELECTION_FROM_AREA, {areaAndSelection, [](T& t) { t.m_doc.OnDeleteSelectionFromArea(); }}},
        {ID_SELECT_ALL, {picture, [](T& t) { t.m_doc.OnSelectAll(); }}},
        {ID_SELECT_NONE, {picture, [](T& t) { t.m_doc.OnClearSelection(); }}},
        {ID_SELECT_INVERT, {picture, [](T& t) { t.m_doc.OnInvertSelection(); }}},
        {ID_SELECT_GROW, {picture, [](T& t) { t.m_doc.OnResizeSelection(true); }}},
        {ID_SELECT_SHRINK, {picture, [](T& t) { t.m_doc.OnResizeSelection(false); }}},
    };
    const auto it = handlers.find(id);
    return it == handlers.end() ? nullptr : &it->second;
}

bool CDocumentTarget::HandlesCommand(int id) const
{
    return HandlerOf(id) != nullptr;
}

CCommandState CDocumentTarget::CommandState(int id) const
{
    const Handler* handler = HandlerOf(id);
    CCommandState state{handler && handler->enabled(*this), false, QString()};
    // The step "Undo" and "Redo" would take back or do again.
    if (id == ID_EDIT_UNDO)
        state.detail = m_doc.GetHistory().UndoText();
    else if (id == ID_EDIT_REDO)
        state.detail = m_doc.GetHistory().RedoText();
    return state;
}

void CDocumentTarget::OnCommand(int id)
{
    // A command that is disabled now (a stale shortcut, say) does nothing.
    if (const Handler* handler = HandlerOf(id); handler && handler->enabled(*this))
        handler->run(*this);
}

bool CDocumentTarget::CanRenderGroup() const
{
    return m_groupRenderer && m_doc.GetPicture() && !m_doc.GetAreas().empty();
}
