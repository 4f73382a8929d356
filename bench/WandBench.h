#pragma once

#include <QImage>
#include <QPoint>

// A 6000 x 4000 room photograph made up for the wand benchmarks: a lit wall,
// a white skirting board and a noisy wooden floor, darker towards the back,
// with thousands of knots and a table and a plant standing on it. A click
// at WandRoomFloorPoint() takes the floor with thousands of holes.
const QImage& WandRoom();
QPoint WandRoomFloorPoint();
