#pragma once

#include <QImage>

// The texture as it looks when every texel is seen averaged with its
// neighbours over a square of side texels: a box mean in each direction,
// wrapping round the edges as the repeating texture does, so that the
// result still tiles seamlessly. A texture drawn side times smaller than its
// texels and blurred first shows what shrinking it after drawing would (the
// means of the texels each pixel covers) instead of the few texels a
// sampler happens to hit. Alpha is averaged with the colour it carries.
// A side of 1 or less gives the texture back; a side wider than the
// texture averages over its whole width (or height), and none goes beyond
// 4095 texels. Null when memory runs
// out.
QImage BlurRepeatingTexture(const QImage& texture, int side);
