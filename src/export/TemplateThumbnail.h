#pragma once

#include "document/TemplateFile.h"

#include <QImage>

// A small picture of a template, for file managers and quick looks: what an
// export of it at a small size shows, composed at that size rather than
// whole and then shrunk, so that a picture of many megapixels costs a
// fraction of an export.

// How to read a template for a thumbnail of side pixels: the picture
// decoded already shrunk to what ComposeThumbnail draws on, the stored warps
// left undecoded (they are built again, small).
CTemplateReadOptions ThumbnailReadOptions(int side);

// The composed template fitted within side x side pixels, aspect kept and
// never enlarged (FitWithin of the stored picture's size), from data read
// with ThumbnailReadOptions(side) or whole: every area scaled by ScaleArea
// and drawn by ComposeTemplate on the picture scaled alike, at about a
// megapixel (at least twice the side asked), then brought down to the size
// asked as an export scales (16-bit 5-6-5 colour, no shading). A picture that fits already gives exactly ComposeTemplate's
// result. Null when the template has no picture, side is not positive, or
// memory runs out.
QImage ComposeThumbnail(const CTemplateData& data, int side);
