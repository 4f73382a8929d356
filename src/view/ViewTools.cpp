#include "view/ViewTools.h"

#include "view/Tool.h"
#include "view/ToolList.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

namespace
{

unsigned KeyFlags(const QMouseEvent& event)
{
    unsigned flags = 0;
    if (event.buttons() & Qt::LeftButton)
        flags |= TOOL_LBUTTON;
    if (event.buttons() & Qt::RightButton)
        flags |= TOOL_RBUTTON;
    if (event.buttons() & Qt::MiddleButton)
        flags |= TOOL_MBUTTON;
    if (event.modifiers() & Qt::ShiftModifier)
        flags |= TOOL_SHIFT;
    if (event.modifiers() & Qt::ControlModifier)
        flags |= TOOL_CONTROL;
    return flags;
}

QPoint ClientPoint(const QMouseEvent& event)
{
    const QPointF p = event.position();
    return QPoint(TruncPixel(std::floor(p.x())), TruncPixel(std::floor(p.y())));
}

} // namespace

CViewTools::CViewTools(IToolView& view, CTilemontDoc& doc) : m_view(view), m_doc(doc)
{
    for (const CToolDescription& description : ToolList::All())
        m_tools[std::size_t(description.slot)] = description.make();
    for (auto& tool : m_tools)
        tool->Attach(&m_view, &m_doc);
}

CViewTools::~CViewTools() = default;

CTool* CViewTools::Get(int slot) const
{
    return slot >= 0 && slot < ToolCount ? m_tools[std::size_t(slot)].get() : nullptr;
}

bool CViewTools::Set(int slot, std::unique_ptr<CTool> tool)
{
    if (!tool || slot < 0 || slot >= ToolCount)
        return false;
    tool->Attach(&m_view, &m_doc);
    m_tools[std::size_t(slot)] = std::move(tool);
    return true;
}

CTool* CViewTools::Active() const
{
    return Get(m_active);
}

void CViewTools::Activate(int slot)
{
    m_handHeld = false;
    const int next = slot >= 0 && slot < ToolCount ? slot : -1;
    if (next == m_active)
        return;
    if (CTool* old = Active())
        old->OnActivate(false);
    m_active = next;
    if (CTool* now = Active())
        now->OnActivate(true);
}

void CViewTools::HoldHand()
{
    if (m_handHeld || m_active == HandTool)
        return;
    const int before = m_active;
    Activate(HandTool);
    m_handHeld = true;
    m_beforeHand = before;
}

void CViewTools::LetGoHand()
{
    m_letGoAfterPan = false;
    if (m_handHeld)
        Activate(m_beforeHand);
}

bool CViewTools::SpaceKey(const QKeyEvent& event, bool press)
{
    if (event.key() != Qt::Key_Space || event.modifiers() != Qt::NoModifier)
        return false;
    if (event.isAutoRepeat())
        return true;
    if (press) {
        m_letGoAfterPan = false;
        HoldHand();
    } else {
        FocusLost();
    }
    return true;
}

void CViewTools::FocusLost()
{
    // The pan in progress finishes with the hand.
    if (m_buttons != Qt::NoButton)
        m_letGoAfterPan = m_handHeld;
    else
        LetGoHand();
}

bool CViewTools::Press(const QMouseEvent& event)
{
    m_buttons = event.buttons();
    CTool* tool = Active();
    if (!tool)
        return false;
    const QPoint p = ClientPoint(event);
    if (event.button() == Qt::LeftButton)
        tool->OnLButtonDown(KeyFlags(event), p.x(), p.y());
    else if (event.button() == Qt::RightButton)
        tool->OnRButtonDown(KeyFlags(event), p.x(), p.y());
    return true;
}

bool CViewTools::Release(const QMouseEvent& event)
{
    m_buttons = event.buttons();
    CTool* tool = Active();
    if (!tool)
        return false;
    if (event.button() == Qt::LeftButton) {
        const QPoint p = ClientPoint(event);
        tool->OnLButtonUp(KeyFlags(event), p.x(), p.y());
    }
    if (m_letGoAfterPan && m_buttons == Qt::NoButton)
        LetGoHand();
    return true;
}

bool CViewTools::Move(const QMouseEvent& event) const
{
    CTool* tool = Active();
    if (!tool)
        return false;
    const QPoint p = ClientPoint(event);
    tool->OnMouseMove(KeyFlags(event), p.x(), p.y());
    return true;
}

bool CViewTools::HandleDrag(CHandleOverlay::Drag& drag) const
{
    if (m_active != SkewTool && m_active != InitialRectTool)
        return false;
    drag.handles = m_active == SkewTool ? CHandleOverlay::Handles::Skew : CHandleOverlay::Handles::InitialRect;
    return Active()->GetHandleDrag(drag.corners, drag.grabbed);
}
