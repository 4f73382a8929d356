#include "SoakWalker.h"

#include "SoakContext.h"

CSoakWalker::CSoakWalker(CSoakContext& context)
    : m_c(context), m_view(context), m_panel(context), m_commands(context)
{
    const auto view = [this](QString (CViewEvents::*event)()) {
        return [this, event] { return (m_view.*event)(); };
    };
    const auto panel = [this](QString (CPanelEvents::*event)()) {
        return [this, event] { return (m_panel.*event)(); };
    };
    const auto menu = [this](QString (CCommandEvents::*event)()) {
        return [this, event] { return (m_commands.*event)(); };
    };
    // Weights out of about 170: most of the time goes to what users do most,
    // drawing shapes and working on areas.
    m_kinds = {
        {7, view(&CViewEvents::PickTool)},
        {14, view(&CViewEvents::Drag)},
        {4, view(&CViewEvents::Click)},
        {2, view(&CViewEvents::RightClick)},
        {1, view(&CViewEvents::DoubleClick)},
        {5, view(&CViewEvents::PolygonClicks)},
        {3, view(&CViewEvents::FreehandTrace)},
        {2, view(&CViewEvents::DragWithKeys)},
        {1, view(&CViewEvents::StrayRelease)},
        {10, view(&CViewEvents::HandleDrag)},
        {4, view(&CViewEvents::Wheel)},
        {2, view(&CViewEvents::Scroll)},
        {2, view(&CViewEvents::ZoomCommand)},
        {1, view(&CViewEvents::Escape)},
        {3, view(&CViewEvents::ArrowKeys)},

        {10, panel(&CPanelEvents::PickArea)},
        {10, panel(&CPanelEvents::TypeInField)},
        {4, panel(&CPanelEvents::SpinArrow)},
        {8, panel(&CPanelEvents::ToggleCheckBox)},
        {3, panel(&CPanelEvents::PressReset)},
        {1, panel(&CPanelEvents::PickGroup)},
        {5, panel(&CPanelEvents::PickSwatch)},
        {1, panel(&CPanelEvents::PanelKey)},

        {2, menu(&CCommandEvents::SelectPicture)},
        {8, menu(&CCommandEvents::CreateArea)},
        {4, menu(&CCommandEvents::ChangeAreaBySelection)},
        {3, menu(&CCommandEvents::DeleteArea)},
        {1, menu(&CCommandEvents::ClearSelection)},
        {8, menu(&CCommandEvents::Undo)},
        {5, menu(&CCommandEvents::Redo)},
        {1, menu(&CCommandEvents::NewWindow)},
        {1, menu(&CCommandEvents::CloseWindow)},
        {2, menu(&CCommandEvents::ActivateWindow)},
        {1, menu(&CCommandEvents::ArrangeWindows)},
        {1, menu(&CCommandEvents::NewOrOpenTemplate)},
        {1, menu(&CCommandEvents::Save)},
        {2, menu(&CCommandEvents::ToggleViewItem)},
        {1, menu(&CCommandEvents::Export)},
    };
    for (const Kind& kind : m_kinds)
        m_nTotalWeight += kind.weight;
}

QString CSoakWalker::Step()
{
    int roll = m_c.random.Int(0, m_nTotalWeight - 1);
    auto kind = m_kinds.begin();
    while (roll >= kind->weight)
        roll -= (kind++)->weight;
    const QString what = kind->run();
    m_c.Settle();
    return what;
}
