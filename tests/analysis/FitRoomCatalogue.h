#pragma once

#include "FitRoom.h"

#include <vector>

// The rooms the perspective fit is measured on. Tuning: the rooms the fit is
// developed against. Judging: other rooms (other layouts, cameras, pieces of
// floor) kept apart, to tell whether what was tuned holds on rooms the
// tuning never saw.
class CFitRoomCatalogue
{
public:
    static std::vector<CFitRoom> Tuning();
    static std::vector<CFitRoom> Judging();
};
