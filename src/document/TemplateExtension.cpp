#include "TemplateExtension.h"

#include "Area.h"
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"

#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr char kTag[4] = {'T', 'L', 'M', 'X'};
constexpr std::uint32_t kPerspectiveFlag = 1u;
// An area's shading strength other than 100 %: the flag, and the percent
// in the flags' second byte. Readers before it leave both alone.
constexpr std::uint32_t kShadingFlag = 2u;
constexpr int kShadingShift = 8;
constexpr std::uint32_t kShadingMask = 0xFFu << kShadingShift;

struct CEntry
{
    bool perspective = false;
    CRealSize realSize;
    int shading = CArea::kDefaultShading;
};

bool IsSound(const CRealSize& r)
{
    const std::array<double, 6> values{r.reference.x1(), r.reference.y1(), r.reference.x2(),
                                       r.reference.y2(), r.referenceCm,    r.textureWidthCm};
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return r.referenceCm >= 0.0 && r.textureWidthCm >= 0.0;
}

// The payload's entries, or nothing when they do not make sense for these
// areas.
std::optional<std::vector<CEntry>> ReadPayload(const QByteArray& payload, std::size_t areaCount)
{
    CArchiveReader ar(payload);
    if (ar.ReadU32() != areaCount ||
        payload.size() != 4 + static_cast<qsizetype>(areaCount) * CTemplateExtension::kEntryBytes)
        return std::nullopt;
    std::vector<CEntry> entries(areaCount);
    for (CEntry& e : entries) {
        // Flag bits other than perspective are left alone: a later writer
        // may add marks that matter only to itself.
        const std::uint32_t flags = ar.ReadU32();
        e.perspective = (flags & kPerspectiveFlag) != 0;
        // A percent past the range (a later writer's) is taken as the
        // nearest the area holds, rather than costing the block.
        if (flags & kShadingFlag)
            e.shading = int((flags & kShadingMask) >> kShadingShift);
        const double x1 = ar.ReadF64(), y1 = ar.ReadF64(), x2 = ar.ReadF64(), y2 = ar.ReadF64();
        e.realSize.reference = QLineF(x1, y1, x2, y2);
        e.realSize.referenceCm = ar.ReadF64();
        e.realSize.textureWidthCm = ar.ReadF64();
        if (!IsSound(e.realSize))
            return std::nullopt;
    }
    return entries;
}

} // namespace

bool CTemplateExtension::IsNeeded(const std::vector<CArea>& areas)
{
    for (const CArea& area : areas)
        if (area.UsesExtension())
            return true;
    return false;
}

void CTemplateExtension::Write(CArchiveWriter& ar, const std::vector<CArea>& areas)
{
    if (!IsNeeded(areas))
        return;
    CArchiveWriter payload;
    payload.WriteU32(static_cast<std::uint32_t>(areas.size()));
    for (const CArea& area : areas) {
        const CRealSize& r = area.GetRealSize();
        std::uint32_t flags = area.IsPerspective() ? kPerspectiveFlag : 0u;
        if (area.GetShadingStrength() != CArea::kDefaultShading)
            flags |= kShadingFlag | (std::uint32_t(area.GetShadingStrength()) << kShadingShift);
        payload.WriteU32(flags);
        for (double v : {r.reference.x1(), r.reference.y1(), r.reference.x2(), r.reference.y2(), r.referenceCm,
                         r.textureWidthCm})
            payload.WriteF64(v);
    }
    WriteFramed(ar, kTag, kVersion, payload.Data());
}

void CTemplateExtension::WriteFramed(CArchiveWriter& ar, const char (&tag)[4], std::uint32_t version,
                                     const QByteArray& payload)
{
    ar.WriteBytes(tag, sizeof tag);
    ar.WriteU32(version);
    ar.WriteU32(static_cast<std::uint32_t>(payload.size()));
    ar.WriteBytes(payload.constData(), payload.size());
    ar.WriteU32(Crc32(payload));
}

CTemplateExtension::Outcome CTemplateExtension::ReadFramed(CArchiveReader& ar, const char (&tag)[4],
                                                           std::uint32_t version, QByteArray& payload)
{
    // Older files may carry stray bytes after the last record and have
    // always opened; only bytes that begin like the tag (a block cut short
    // within it included) count as a block.
    const qsizetype tagBytes = std::min<qsizetype>(ar.Remaining(), sizeof tag);
    if (tagBytes == 0)
        return Outcome::Absent;
    if (ar.ReadBytes(static_cast<quint64>(tagBytes)) != QByteArray::fromRawData(tag, tagBytes))
        return Outcome::Absent;
    try {
        if (tagBytes < qsizetype(sizeof tag) || ar.ReadU32() != version)
            return Outcome::Unusable;
        const std::uint32_t length = ar.ReadU32();
        payload = ar.ReadBytes(length);
        if (ar.ReadU32() != Crc32(payload))
            return Outcome::Unusable;
        return Outcome::Applied;
    } catch (const CArchiveError&) {
        return Outcome::Unusable;
    }
}

CTemplateExtension::Outcome CTemplateExtension::Read(CArchiveReader& ar, std::vector<CArea>& areas)
{
    QByteArray payload;
    if (const Outcome framed = ReadFramed(ar, kTag, kVersion, payload); framed != Outcome::Applied)
        return framed;
    try {
        const auto entries = ReadPayload(payload, areas.size());
        if (!entries)
            return Outcome::Unusable;
        for (std::size_t i = 0; i < areas.size(); ++i) {
            CArea& area = areas[i];
            area.SetPerspective((*entries)[i].perspective);
            area.SetRealSize((*entries)[i].realSize);
            area.SetShadingStrength((*entries)[i].shading);
        }
        return Outcome::Applied;
    } catch (const CArchiveError&) {
        return Outcome::Unusable;
    }
}

std::uint32_t CTemplateExtension::Crc32(const QByteArray& bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char ch : bytes)
        crc = table[(crc ^ static_cast<std::uint8_t>(ch)) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}
