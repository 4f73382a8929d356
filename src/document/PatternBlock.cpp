#include "PatternBlock.h"

#include "Area.h"
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "TemplateExtension.h"

#include <QImage>
#include <cmath>
#include <optional>

namespace {

constexpr char kTag[4] = {'T', 'L', 'M', 'P'};
constexpr std::uint32_t kTurn180 = 1u, kTurn90 = 2u;
// More variants than anyone photographs of one product: a count past it is
// damage, not a product.
constexpr std::uint32_t kMaxVariants = 256;

void WritePattern(CArchiveWriter& ar, const CLayingPattern& p)
{
    ar.WriteU32(static_cast<std::uint32_t>(p.layout));
    ar.WriteF64(p.widthCm);
    ar.WriteF64(p.heightCm);
    ar.WriteF64(p.angleDeg);
    ar.WriteF64(p.jointMm);
    ar.WriteU32(p.jointColour);
    ar.WriteU32(p.seed);
    ar.WriteU32((p.turn180 ? kTurn180 : 0u) | (p.turn90 ? kTurn90 : 0u));
    ar.WriteU32(static_cast<std::uint32_t>(p.origin));
    ar.WriteF64(p.originPoint.x());
    ar.WriteF64(p.originPoint.y());
    ar.WriteU32(static_cast<std::uint32_t>(p.variants.size()));
    for (const CPieceImage& v : p.variants) {
        ar.WriteU32(static_cast<std::uint32_t>(v.bytes.size()));
        ar.WriteBytes(v.bytes.constData(), v.bytes.size());
    }
}

std::optional<CLayingPattern> ReadPattern(CArchiveReader& ar)
{
    CLayingPattern p;
    const std::uint32_t layout = ar.ReadU32();
    p.widthCm = ar.ReadF64();
    p.heightCm = ar.ReadF64();
    p.angleDeg = ar.ReadF64();
    p.jointMm = ar.ReadF64();
    p.jointColour = ar.ReadU32();
    p.seed = ar.ReadU32();
    const std::uint32_t flags = ar.ReadU32();
    const std::uint32_t origin = ar.ReadU32();
    const double ox = ar.ReadF64(), oy = ar.ReadF64();
    const std::uint32_t count = ar.ReadU32();
    if (layout >= kLayoutCount || origin > static_cast<std::uint32_t>(EPatternOrigin::Balanced) || count == 0 ||
        count > kMaxVariants)
        return std::nullopt;
    for (double v : {p.widthCm, p.heightCm, p.angleDeg, p.jointMm, ox, oy})
        if (!std::isfinite(v))
            return std::nullopt;
    p.layout = static_cast<ELayout>(layout);
    p.turn180 = (flags & kTurn180) != 0;
    p.turn90 = (flags & kTurn90) != 0;
    p.origin = static_cast<EPatternOrigin>(origin);
    p.originPoint = QPointF(ox, oy);
    for (std::uint32_t i = 0; i < count; ++i) {
        CPieceImage v;
        v.bytes = ar.ReadBytes(ar.ReadU32());
        v.image = QImage::fromData(v.bytes);
        if (v.image.isNull())
            return std::nullopt;
        p.variants.push_back(std::move(v));
    }
    if (!p.IsUsable())
        return std::nullopt;
    return p;
}

} // namespace

bool CPatternBlock::IsNeeded(const std::vector<CArea>& areas)
{
    for (const CArea& area : areas)
        if (area.GetPattern())
            return true;
    return false;
}

void CPatternBlock::Write(CArchiveWriter& ar, const std::vector<CArea>& areas)
{
    // Read only after an extension block, which a patterned area always
    // brings (its texture's real width).
    if (!IsNeeded(areas) || !CTemplateExtension::IsNeeded(areas))
        return;
    CArchiveWriter payload;
    payload.WriteU32(static_cast<std::uint32_t>(areas.size()));
    for (const CArea& area : areas) {
        const CLayingPattern* p = area.GetPattern();
        payload.WriteU32(p ? 1u : 0u);
        if (p)
            WritePattern(payload, *p);
    }
    CTemplateExtension::WriteFramed(ar, kTag, kVersion, payload.Data());
}

CPatternBlock::Outcome CPatternBlock::Read(CArchiveReader& ar, std::vector<CArea>& areas)
{
    QByteArray payload;
    switch (CTemplateExtension::ReadFramed(ar, kTag, kVersion, payload)) {
    case CTemplateExtension::Outcome::Absent: return Outcome::Absent;
    case CTemplateExtension::Outcome::Unusable: return Outcome::Unusable;
    case CTemplateExtension::Outcome::Applied: break;
    }
    try {
        CArchiveReader in(payload);
        if (in.ReadU32() != areas.size())
            return Outcome::Unusable;
        std::vector<std::optional<CLayingPattern>> patterns(areas.size());
        for (auto& p : patterns) {
            const std::uint32_t present = in.ReadU32();
            if (present > 1)
                return Outcome::Unusable;
            if (present == 1 && !(p = ReadPattern(in)))
                return Outcome::Unusable;
        }
        if (in.Remaining() != 0)
            return Outcome::Unusable;
        for (std::size_t i = 0; i < areas.size(); ++i)
            if (patterns[i])
                areas[i].SetPattern(*patterns[i]);
        return Outcome::Applied;
    } catch (const CArchiveError&) {
        return Outcome::Unusable;
    }
}
