#pragma once

#include <QString>
#include <optional>

// The real width of each texture, remembered per texture file in a small
// JSON file beside the textures (texture-sizes.json in the group folder:
// {"slate.jpg": 60}), so that a texture laid at its real size once is known
// by every template after. Widths in centimetres.
namespace TextureSizes {

inline const QString kFileName = QStringLiteral("texture-sizes.json");

// The width recorded for the texture, or nothing. A missing, unreadable or
// damaged sidecar, or an entry that is no positive number, counts as none
// and is not reported: the width is a convenience, never a reason to fail.
std::optional<double> ReadTextureWidth(const QString& texturePath);

// Records the width (positive and finite), keeping the other entries; a
// damaged sidecar is replaced. Written through a temporary file, so a failed
// write leaves the old sidecar as it was. On failure returns false and sets
// error to the user's message.
bool WriteTextureWidth(const QString& texturePath, double cm, QString* error);

} // namespace TextureSizes
