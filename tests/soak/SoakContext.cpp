#include "SoakContext.h"

#include "app/ChildFrame.h"
#include "app/DocumentTarget.h"
#include "app/MainFrame.h"
#include "app/TilemontApp.h"

#include <QAction>
#include <QApplication>

CSoakContext::CSoakContext(CTilemontApp& app_, ScriptedPrompts& prompts_, std::uint64_t seed, Files files_)
    : app(app_), prompts(prompts_), random(seed), files(std::move(files_))
{
}

CMainFrame& CSoakContext::Frame() const
{
    return *app.MainFrame();
}

CChildFrame* CSoakContext::Child() const
{
    return Frame().ActiveChild();
}

CTilemontView* CSoakContext::View() const
{
    CChildFrame* child = Child();
    return child ? child->View() : nullptr;
}

CTilemontDoc* CSoakContext::Doc() const
{
    CChildFrame* child = Child();
    return child ? &child->Document().Doc() : nullptr;
}

CAreasBar* CSoakContext::Panel() const
{
    return Frame().AreasPanel();
}

bool CSoakContext::Trigger(int id)
{
    Frame().UpdateCommandUI();
    QAction* action = Frame().Action(id);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

void CSoakContext::Settle()
{
    QApplication::processEvents();
    // Closed windows and their documents go on the next pass of the event
    // loop, which a test never returns to.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
