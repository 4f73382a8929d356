#include "DocumentTarget.h"

#include "ChildFrame.h"
#include "ResourceIds.h"
#include "render/AreaWarpUpdates.h"

#include <algorithm>

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

bool CDocumentTarget::HandlesCommand(int id) const
{
    return id == ID_FILE_CLOSE || id == ID_EXPORT || id == ID_RENDER_GROUP || m_doc.HandlesCommand(id);
}

CCommandState CDocumentTarget::CommandState(int id) const
{
    if (id == ID_EXPORT)
        return CCommandState{m_exporter && m_doc.GetPicture(), false, QString()};
    if (id == ID_RENDER_GROUP)
        return CCommandState{CanRenderGroup(), false, QString()};
    return CCommandState{id == ID_FILE_CLOSE || m_doc.IsCommandEnabled(id), false, m_doc.CommandDetail(id)};
}

void CDocumentTarget::OnCommand(int id)
{
    if (id == ID_FILE_CLOSE)
        CloseDocument();
    else if (id == ID_EXPORT && m_exporter && m_doc.GetPicture())
        m_exporter(m_doc);
    else if (id == ID_EXPORT)
        return;
    else if (id == ID_RENDER_GROUP) {
        if (CanRenderGroup())
            m_groupRenderer(m_doc);
    }
    else if (id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS)
        ReportingNewName([this, id] {
            m_doc.OnCommand(id);
            return true;
        });
    else
        m_doc.OnCommand(id);
}

bool CDocumentTarget::CanRenderGroup() const
{
    return m_groupRenderer && m_doc.GetPicture() && !m_doc.GetAreas().empty();
}
