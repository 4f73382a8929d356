#pragma once

#include "view/CommandTarget.h"

class CTilemontView;

// The commands a template's window answers itself: the mouse tools, the
// zoom commands and "Refresh".
class CViewCommands : public ICommandTarget
{
public:
    explicit CViewCommands(CTilemontView& view) : m_view(view) {}

    // The tool slot a tool command picks, or -1 when id picks none.
    static int ToolSlotOf(int id);

    bool HandlesCommand(int id) const override;
    CCommandState CommandState(int id) const override;
    void OnCommand(int id) override;

private:
    CTilemontView& m_view;
};
