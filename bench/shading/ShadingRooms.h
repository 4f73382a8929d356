#pragma once

#include "analysis/FitRoom.h"

#include <vector>

// The floors the light layer is measured on: the fit's floor rooms and a few
// more with what light does on a floor (sun through barred windows, a
// ceiling spot, tables and a plant standing in the light, rugs); the fit's
// judging floors and one more room are kept apart to judge.
class CShadingRooms
{
public:
    static std::vector<CFitRoom> Tuning();
    static std::vector<CFitRoom> Judging();
};
