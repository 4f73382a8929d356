#pragma once

#include "document/LayingPattern.h"

#include <QString>
#include <optional>

// A texture group's products, described in a small JSON file beside their
// pictures (products.json in the group folder):
// {"products": [{"name": "Oak plank", "size": [60, 10],
//                "variants": ["oak-1.jpg", "oak-2.jpg"],
//                "layouts": ["herringbone", "straight"],
//                "jointMm": 2, "jointColour": "#3a2a1c"}]}
// Each variant is the photograph of one whole piece; picking any of them
// lays the product in its first layout rather than the picture as a plain
// texture. The sidecar itself is no texture.
namespace ProductSidecar {

inline const QString kFileName = QStringLiteral("products.json");

// Whether path names a group's sidecar, which the swatches leave out.
bool IsSidecar(const QString& path);

// The pattern that lays the product the picture at texturePath belongs to,
// or nothing when no sidecar beside it lists the picture. A sidecar that is
// missing, damaged or names pictures that cannot be read counts as none:
// the picture is then laid as the plain texture it is.
std::optional<CLayingPattern> PatternFor(const QString& texturePath, QString* productName = nullptr);

} // namespace ProductSidecar
