#pragma once

#include <QString>

// What a menu item or toolbar button shows for a command.
struct CCommandState
{
    bool enabled = true;
    bool checked = false;
    // What the command would act on now, shown after its menu text ("Create
    // area" in "Undo Create area"); empty for the plain text.
    QString detail = {};
};

// One link of the command route: the active view, its document, the child
// frame, the main frame, the application. The first target that handles a
// command answers it; a command nobody handles is disabled.
class ICommandTarget
{
public:
    virtual ~ICommandTarget() = default;
    virtual bool HandlesCommand(int id) const = 0;
    // Asked only for commands the target handles.
    virtual CCommandState CommandState(int id) const = 0;
    virtual void OnCommand(int id) = 0;
};
