#include "CommandRouter.h"

ICommandTarget* CCommandRouter::FindHandler(const Route& route, int id)
{
    for (ICommandTarget* target : route)
        if (target && target->HandlesCommand(id))
            return target;
    return nullptr;
}

CCommandState CCommandRouter::StateOf(const Route& route, int id)
{
    if (const ICommandTarget* target = FindHandler(route, id))
        return target->CommandState(id);
    return CCommandState{false, false};
}

bool CCommandRouter::Dispatch(const Route& route, int id)
{
    ICommandTarget* target = FindHandler(route, id);
    // A shortcut can fire between two state updates; the state asked now wins.
    if (!target || !target->CommandState(id).enabled)
        return false;
    target->OnCommand(id);
    return true;
}
