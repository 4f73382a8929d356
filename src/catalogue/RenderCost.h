#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>

class CArea;

// What one image of a texture laid into a room costs to make, estimated
// before any of it is made, so that work can be shared out evenly. The
// figure is roughly nanoseconds of one core, from timings of the demo room
// in every format; only the relative sizes matter.
namespace RenderCost {

// The texture's size as its file's header gives it, without decoding the
// pixels; empty when the file cannot be read as a picture.
QSize TextureSize(const QString& path);

// The part of every image of a room that does not depend on the texture:
// composing over the picture, warping (for a skewed area) or tiling the
// area, scaling to output and encoding in the format of extension.
qint64 RoomCost(const CArea& area, QSize picture, QSize output, const QString& extension);

// One image: the room's part and decoding the texture. A texture of empty
// size is a file that is skipped, which costs next to nothing.
qint64 Estimate(qint64 roomCost, QSize texture);

} // namespace RenderCost
