#pragma once

#include "view/CommandTarget.h"

#include <vector>

// Walks a command route (active view, its document, child frame, main frame,
// application): the first target that handles a command decides its state and
// runs it; a command nobody handles is disabled and does nothing.
class CCommandRouter
{
public:
    using Route = std::vector<ICommandTarget*>;

    static ICommandTarget* FindHandler(const Route& route, int id);
    // Disabled and unchecked when nobody on the route handles id.
    static CCommandState StateOf(const Route& route, int id);
    // Runs id at its handler if it is enabled now; true when it ran.
    static bool Dispatch(const Route& route, int id);
};
