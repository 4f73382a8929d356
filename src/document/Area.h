#pragma once

#include "AreaWarpInputs.h"
#include "IntRect.h"
#include "LayingPattern.h"
#include "RealSize.h"
#include "StoredImage.h"
#include "geometry/Homography.h"
#include "geometry/Polygon.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class CArchiveReader;
class CArchiveWriter;
class IAreaWarpSource;

// A document's name for one of its areas, for as long as the document lives:
// unlike a position in the list it survives removals, and an area that an
// undo brings back keeps it. 0 names no area.
using AreaId = quint64;

// One area of a template as the file stores it: a named outline on the
// picture, the texture laid into it and the numbers that place the texture,
// with the document's name for it. A plain value: copies share the images,
// which nothing changes in place, setters only set, and equality compares
// what a template stores. The warps drawn from it are kept by the document's
// warp cache, and which area is being edited is the view's business.
class CArea
{
public:
    // Skew corners in this order; the quadrilateral runs TL, TR, BR, BL.
    enum Corner { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };
    using Corners = std::array<QPoint, 4>;

    // Equality of what a template stores: outline, name, texture pixels,
    // placement, skew, corners and initial rect, perspective, real size and
    // the pattern laid, shading strength.
    // The identity and the warp as read are not part of it.
    bool operator==(const CArea& other) const;

    AreaId GetId() const { return m_nId; }
    // Only the document hands out identities.
    void SetId(AreaId id) { m_nId = id; }

    QString GetName() const { return m_strName; }
    void SetName(const QString& name) { m_strName = name; }

    const CPolygon& GetOutline() const { return m_outline; }
    CPolygon& GetOutline() { return m_outline; }
    void SetOutline(const CPolygon* outline) { CopyPolygon(m_outline, outline); }

    const QImage* GetTexture() const { return m_pTexture.get(); }
    // Ignored for null; otherwise stores a copy. New pixels: the texture is
    // encoded when the template is saved.
    void SetTexture(const QImage* texture);
    // The same, keeping the JPEG file the texture came as to write back.
    void SetTexture(const CStoredImage& texture);
    // The JPEG file the texture is saved as while unchanged; empty when it
    // is encoded at the save.
    const QByteArray& GetTextureJpeg() const { return m_textureJpeg; }
    // The warped texture the file was read with, while it is still the warp
    // of the area's values, else null; always null for a perspective, whose
    // stored warp is padded for other readers. Drawing takes it rather than
    // building the warp again.
    std::shared_ptr<const QImage> GetStoredWarp() const;

    double GetRotation() const { return m_dRotation; }
    void SetRotation(double degrees) { m_dRotation = degrees; }
    std::int32_t GetShiftX() const { return m_nShiftX; }
    std::int32_t GetShiftY() const { return m_nShiftY; }
    void SetShift(std::int32_t x, std::int32_t y) { m_nShiftX = x; m_nShiftY = y; }
    double GetScale() const { return m_dScale; }
    void SetScale(double scale) { m_dScale = scale; }

    bool IsSkewApplied() const { return m_bSkew != 0; }
    void SetSkewApplied(bool applied) { m_bSkew = applied ? 1 : 0; }

    // Perspective: the skew corners are the images of the canvas's corners
    // through a plane homography rather than a bilinear patch. Off for every
    // area a template made before it had the mode.
    bool IsPerspective() const { return m_bPerspective; }
    void SetPerspective(bool perspective) { m_bPerspective = perspective; }
    // The map from the warp canvas (0..width, 0..height) onto the picture
    // that the corners define, or nothing when they make no plane (three in
    // a line, a fold, no canvas).
    std::optional<CHomography> CanvasToPicture() const;

    // The pattern the texture was laid from, or null: a texture of its own
    // (a new texture drops the pattern). Kept in the extension block.
    const CLayingPattern* GetPattern() const { return m_pPattern.get(); }
    void SetPattern(const CLayingPattern& pattern) { m_pPattern = std::make_shared<const CLayingPattern>(pattern); }
    void ClearPattern() { m_pPattern.reset(); }

    const CRealSize& GetRealSize() const { return m_realSize; }
    void SetRealSize(const CRealSize& realSize) { m_realSize = realSize; }
    // How strongly Keep Shading lays the picture's light over the texture,
    // in percent (kMinShading to kMaxShading): 100 as measured, 0 not at
    // all, 150 half as much again. 100 for every area made before it.
    static constexpr int kMinShading = 0;
    static constexpr int kMaxShading = 150;
    static constexpr int kDefaultShading = 100;
    int GetShadingStrength() const { return m_nShadingStrength; }
    void SetShadingStrength(int percent) { m_nShadingStrength = std::clamp(percent, kMinShading, kMaxShading); }

    // Whether the area holds any value a template without the extension
    // block cannot store.
    bool UsesExtension() const
    {
        return m_bPerspective || !m_realSize.IsEmpty() || m_pPattern || m_nShadingStrength != kDefaultShading;
    }

    const Corners& GetSkewCorners() const { return m_ptSkew; }
    Corners& GetSkewCorners() { return m_ptSkew; }
    // The corners' bounding box, both ends included: where the warped
    // texture's pixel (0, 0) lands, and the initial rectangle a reset gives.
    QRect GetSkewBounds() const;
    // The picture pixels the warped texture covers (before a preview's
    // enlargement): the corners' bounds for the bilinear patch; for a
    // perspective, whose corners may lie far past the picture, only the part
    // of those bounds near the outline, so that memory and time follow the
    // area and not its quadrilateral.
    QRect GetSkewedTextureRect() const;
    // Picture pixels this area can paint: outline, corner quadrilateral and
    // warped texture together (a preview drawn enlarged is cut to the
    // warp's rect), so that a change repaints no less.
    QRect GetDrawBounds() const;
    bool HasSkewCorners() const;
    void ResetSkew();

    const CIntRect& GetInitialRect() const { return m_rcInitial; }
    void SetInitialRect(const CIntRect& rect) { m_rcInitial = rect; }
    void ResetInitialRect();

    // Integer bounds (x, y, width, height) of the outline as drawn, vertices
    // truncated toward zero.
    QRect GetOutlineBounds() const;

    // Empties the outline, drops the texture, the warp as read and the
    // applied skew; the name, placement, corners and initial rect stay.
    void Clear();

    // The flat canvas the warp distorts: the initial rectangle's size, or the
    // outline's bounds while the rectangle is empty.
    QSize WarpCanvasSize() const;
    // What the warp is built from, as it is now.
    CAreaWarpInputs WarpInputs() const;

    // Returns false, having written an incomplete record, when an image could
    // not be encoded; the caller abandons the file. Once the blob as read no
    // longer holds, the warp written is the one warps gives for the area,
    // and none without warps.
    bool Serialize(CArchiveWriter& ar, const IAreaWarpSource* warps = nullptr) const;
    // Raises CArchiveError when the record runs past the end of the data.
    // damaged, when given, is set when an image was only partly readable.
    // Without decodeWarp the warped texture's blob is kept as bytes alone
    // (and written back as read), so drawing builds the warp.
    void Serialize(CArchiveReader& ar, bool* damaged = nullptr, bool decodeWarp = true);
    // The warped texture's blob as read is this area's warp as it is now:
    // reading a file calls it once the values after the records are in.
    // The blob is written back unchanged until anything the warp is built
    // from changes.
    void KeepStoredWarp();

private:
    using Image = std::shared_ptr<const QImage>;

    Image PadToSkewBounds(const Image& warp) const;

    CIntRect m_rcInitial;
    Corners m_ptSkew{};
    std::uint32_t m_bSkew = 0;
    double m_dScale = 1.0;
    std::int32_t m_nShiftX = 0;
    std::int32_t m_nShiftY = 0;
    double m_dRotation = 0.0;
    bool m_bPerspective = false;
    CRealSize m_realSize;
    std::shared_ptr<const CLayingPattern> m_pPattern;
    int m_nShadingStrength = kDefaultShading;
    Image m_pTexture;
    QByteArray m_textureJpeg;
    // The warped texture's blob as read and its pixels, valid while the
    // warp's inputs are still m_storedWarpInputs (a rebuild from them makes
    // the same warp).
    QByteArray m_storedWarp;
    Image m_storedWarpImage;
    std::optional<CAreaWarpInputs> m_storedWarpInputs;
    CPolygon m_outline;
    QString m_strName;
    AreaId m_nId = 0;
};
