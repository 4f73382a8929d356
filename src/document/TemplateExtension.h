#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

class CArchiveReader;
class CArchiveWriter;
class CArea;

// The optional block after a template's last area record, holding what the
// record layout has no room for: each area's perspective mode, real-size
// values and shading strength. Readers that predate it stop at the last
// record and never see it, so it is written only when some area uses a
// value it holds; a template without one saves byte for byte as before.
//
// Layout (little-endian): the tag "TLMX", u32 version, u32 payload length,
// the payload, u32 CRC-32 of the payload. Version 1 payload: u32 area count
// (the file's), then per area u32 flags (bit 0 perspective; bit 1 a
// shading strength other than 100 %, its percent in bits 8 to 15), f64 reference
// line x1, y1, x2, y2 (picture pixels), f64 its length in cm, f64 the
// texture's real width in cm.
class CTemplateExtension
{
public:
    enum class Outcome
    {
        Absent,   // nothing, or bytes that are no block: an older file
        Applied,  // the values were read into the areas
        Unusable, // a block, but short, damaged or of a later kind: skipped
    };

    static constexpr std::uint32_t kVersion = 1;
    static constexpr qsizetype kEntryBytes = 4 + 6 * 8;

    static bool IsNeeded(const std::vector<CArea>& areas);
    // Appends the block when IsNeeded, else nothing.
    static void Write(CArchiveWriter& ar, const std::vector<CArea>& areas);
    // Reads the block from what follows the last record and sets the areas'
    // values; they stay untouched unless the whole block is sound. Never
    // throws: a damaged block costs the values, not the template.
    static Outcome Read(CArchiveReader& ar, std::vector<CArea>& areas);

    // CRC-32 as zlib and PNG compute it (reflected, polynomial 0xEDB88320).
    static std::uint32_t Crc32(const QByteArray& bytes);

    // The framing every block after the records shares: the four-byte tag,
    // u32 version, u32 payload length, the payload, u32 CRC-32 of it.
    static void WriteFramed(CArchiveWriter& ar, const char (&tag)[4], std::uint32_t version,
                            const QByteArray& payload);
    // Applied with the payload when the block is sound; Absent when the
    // bytes do not begin like the tag (a stray tail of an older file);
    // Unusable for a block cut short, damaged or of another version.
    // Raises nothing.
    static Outcome ReadFramed(CArchiveReader& ar, const char (&tag)[4], std::uint32_t version, QByteArray& payload);
};
