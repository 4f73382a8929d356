#include "TestImages.h"
#include "document/WarpCache.h"
#include "render/AreaWarpUpdates.h"
#include "document/ArchiveWriter.h"
#include "document/TemplateExtension.h"
#include "document/TemplateFile.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

CArea PlainArea(const QString& name, double x0)
{
    CArea area;
    area.SetName(name);
    const CPolygon outline = RectPolygon(x0, 10, x0 + 80, 70);
    area.SetOutline(&outline);
    area.SetRotation(12.5);
    area.SetScale(0.75);
    return area;
}

CArea PerspectiveArea()
{
    CArea area = PlainArea("Floor", 5);
    area.GetSkewCorners() = {QPoint(20, 10), QPoint(70, 12), QPoint(-30, 90), QPoint(120, 95)};
    area.SetInitialRect({5, 10, 105, 60});
    area.SetPerspective(true);
    area.SetSkewApplied(true);
    area.SetRealSize({QLineF(10.5, 20.25, 60.0, 22.0), 120.0, 30.0});
    return area;
}

// Only a real size, the perspective off: each value is stored on its own.
CArea MeasuredArea()
{
    CArea area = PlainArea("Wall", 100);
    area.SetRealSize({QLineF(), 0.0, 45.5});
    return area;
}

// The bytes of the format before the block existed, written field by field
// through the area records alone.
QByteArray RecordsOnly(const std::vector<CArea>& areas)
{
    CArchiveWriter ar;
    ar.WriteU32(0); // no picture
    ar.WriteU32(static_cast<std::uint32_t>(areas.size()));
    for (const CArea& area : areas)
        EXPECT_TRUE(area.Serialize(ar));
    return ar.Data();
}

struct CBlock
{
    std::uint32_t version = CTemplateExtension::kVersion;
    std::uint32_t count = 0;
    std::optional<std::uint32_t> length; // the payload's own when unset
    std::vector<std::array<double, 6>> entries;
    std::uint32_t flags = 1;
};

// A block written by hand, so that a damaged one can still carry a good
// checksum and reach the checks behind it.
QByteArray Block(const CBlock& b)
{
    CArchiveWriter payload;
    payload.WriteU32(b.count);
    for (const auto& e : b.entries) {
        payload.WriteU32(b.flags);
        for (double v : e)
            payload.WriteF64(v);
    }
    CArchiveWriter ar;
    ar.WriteBytes("TLMX", 4);
    ar.WriteU32(b.version);
    ar.WriteU32(b.length.value_or(static_cast<std::uint32_t>(payload.Data().size())));
    ar.WriteBytes(payload.Data().constData(), payload.Data().size());
    ar.WriteU32(CTemplateExtension::Crc32(payload.Data()));
    return ar.Data();
}

// What the file holds of an area once the block's values are lost.
CArea WithoutExtension(CArea area)
{
    area.SetPerspective(false);
    area.SetRealSize({});
    return area;
}

TEST(TemplateExtension, ChecksumIsTheStandardCrc32)
{
    EXPECT_EQ(CTemplateExtension::Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(CTemplateExtension::Crc32(QByteArray()), 0u);
    EXPECT_EQ(CTemplateExtension::Crc32(QByteArray(32, '\0')), 0x190A55ADu);
}

TEST(TemplateExtension, NewValuesComeBackByValue)
{
    const std::vector<CArea> areas{PerspectiveArea(), PlainArea("Plain", 200), MeasuredArea()};
    const QByteArray bytes = *WriteTemplate(nullptr, areas);
    const CTemplateData data = ReadTemplate(bytes);
    EXPECT_FALSE(data.extensionSkipped);
    ASSERT_EQ(data.areas.size(), areas.size());
    for (std::size_t i = 0; i < areas.size(); ++i)
        EXPECT_TRUE(data.areas[i] == areas[i]) << i;
    EXPECT_EQ(*WriteTemplate(nullptr, data.areas), bytes);
}

TEST(TemplateExtension, BlockFollowsTheRecordsInItsLayout)
{
    const std::vector<CArea> areas{PlainArea("Plain", 0), PerspectiveArea()};
    const QByteArray records = RecordsOnly(areas);
    const QByteArray bytes = *WriteTemplate(nullptr, areas);
    ASSERT_TRUE(bytes.startsWith(records));
    const QByteArray block = bytes.mid(records.size());
    const qsizetype payloadSize = 4 + 2 * CTemplateExtension::kEntryBytes;
    ASSERT_EQ(block.size(), 12 + payloadSize + 4);
    EXPECT_EQ(block.left(4), QByteArray("TLMX"));
    EXPECT_EQ(qFromLittleEndian<quint32>(block.constData() + 4), 1u);
    EXPECT_EQ(qFromLittleEndian<quint32>(block.constData() + 8), quint32(payloadSize));
    const QByteArray payload = block.mid(12, payloadSize);
    EXPECT_EQ(qFromLittleEndian<quint32>(payload.constData()), 2u);
    EXPECT_EQ(payload.mid(4, CTemplateExtension::kEntryBytes), QByteArray(CTemplateExtension::kEntryBytes, '\0'));
    const char* second = payload.constData() + 4 + CTemplateExtension::kEntryBytes;
    EXPECT_EQ(qFromLittleEndian<quint32>(second), 1u);
    const double want[6] = {10.5, 20.25, 60.0, 22.0, 120.0, 30.0};
    for (int i = 0; i < 6; ++i) {
        double v;
        std::memcpy(&v, second + 4 + 8 * i, 8);
        EXPECT_EQ(v, want[i]) << i;
    }
    EXPECT_EQ(qFromLittleEndian<quint32>(block.constData() + 12 + payloadSize), CTemplateExtension::Crc32(payload));
}

TEST(TemplateExtension, TemplatesWithoutNewValuesSaveAsBefore)
{
    const QImage texture = QuadrantImage(16, 8);
    CArea textured = PlainArea("Textured", 0);
    textured.SetTexture(&texture);
    const std::vector<CArea> areas{PlainArea("A", 0), textured};
    EXPECT_EQ(*WriteTemplate(nullptr, areas), RecordsOnly(areas));

    // The seeds written by the independent writer, without images, come
    // back to the byte: the plain ones without a block, the last with it.
    const QDir corpus(QStringLiteral(TILEMONT_FUZZ_CORPUS));
    for (const char* name : {"empty.tlm", "one_area.tlm", "utf16_name.tlm", "holed.tlm", "tilted_floor.tlm"}) {
        QFile file(corpus.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray original = file.readAll();
        const CTemplateData data = ReadTemplate(original);
        EXPECT_FALSE(data.extensionSkipped) << name;
        EXPECT_EQ(*WriteTemplate(data.picture.get(), data.areas), original) << name;
    }
}

TEST(TemplateExtension, PerspectiveAreasDropTheStoredWarp)
{
    const QImage texture = QuadrantImage(16, 8);
    CArea flat = PlainArea("Flat", 0);
    flat.SetSkewApplied(true);
    flat.GetSkewCorners() = {QPoint(0, 10), QPoint(80, 10), QPoint(0, 70), QPoint(80, 70)};
    flat.SetTexture(&texture);
    CArea tilted = PerspectiveArea();
    tilted.SetTexture(&texture);
    CWarpCache warps;
    InstallWarpBuilder(warps);
    ASSERT_TRUE(warps.ExactWarp(flat));
    ASSERT_TRUE(warps.ExactWarp(tilted));
    std::vector<CArea> areas;
    areas.push_back(std::move(flat));
    areas.push_back(std::move(tilted));
    const QByteArray bytes = *WriteTemplate(nullptr, QByteArray(), areas, &warps);

    const CTemplateData data = ReadTemplate(bytes);
    EXPECT_TRUE(data.areas[0].GetStoredWarp());
    EXPECT_FALSE(data.areas[1].GetStoredWarp());
    EXPECT_TRUE(data.areas[1].IsPerspective());
    // An old reader keeps the padded warp the record holds.
    const qsizetype blockSize = 12 + 4 + 2 * CTemplateExtension::kEntryBytes + 4;
    const CTemplateData old = ReadTemplate(bytes.left(bytes.size() - blockSize));
    EXPECT_FALSE(old.extensionSkipped);
    EXPECT_FALSE(old.areas[1].IsPerspective());
    EXPECT_TRUE(old.areas[1].GetStoredWarp());
}

// Every way the block can be unusable opens the template with its areas
// as the records hold them and says so; bytes that are no block say nothing.
TEST(TemplateExtension, DamagedBlocksCostOnlyTheirValues)
{
    const std::vector<CArea> areas{PerspectiveArea(), MeasuredArea()};
    const QByteArray records = RecordsOnly(areas);
    const QByteArray bytes = *WriteTemplate(nullptr, areas);
    const qsizetype start = records.size();
    const auto expectSkipped = [&](const QByteArray& file, bool warned, const std::string& what) {
        const CTemplateData data = ReadTemplate(file);
        EXPECT_EQ(data.extensionSkipped, warned) << what;
        ASSERT_EQ(data.areas.size(), areas.size()) << what;
        for (std::size_t i = 0; i < areas.size(); ++i)
            EXPECT_TRUE(data.areas[i] == WithoutExtension(areas[i])) << what << " area " << i;
    };
    for (qsizetype n = start; n < bytes.size(); ++n)
        expectSkipped(bytes.left(n), n > start, "cut at " + std::to_string(n));
    for (qsizetype at = start; at < bytes.size(); ++at) {
        QByteArray flipped = bytes;
        flipped[at] = static_cast<char>(flipped[at] ^ 0xFF);
        // A broken tag leaves stray bytes such as older files may end with.
        expectSkipped(flipped, at >= start + 4, "flipped " + std::to_string(at));
    }
    const std::array<double, 6> good{1, 2, 3, 4, 5, 6};
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::vector<std::pair<std::string, CBlock>> blocks{
        {"one entry too many", {1, 3, {}, {good, good, good}}},
        {"one entry too few", {1, 1, {}, {good}}},
        {"count and entries disagree", {1, 2, {}, {good}}},
        {"later version", {2, 2, {}, {good, good}}},
        {"huge length", {1, 2, 0xFFFFFFF0u, {good, good}}},
        {"NaN", {1, 2, {}, {good, {1, nan, 3, 4, 5, 6}}}},
        {"infinity", {1, 2, {}, {good, {1, 2, 3, 4, inf, 6}}}},
        {"negative length", {1, 2, {}, {good, {1, 2, 3, 4, -5, 6}}}},
        {"negative texture width", {1, 2, {}, {{1, 2, 3, 4, 5, -0.5}, good}}},
    };
    for (const auto& [what, block] : blocks)
        expectSkipped(records + Block(block), true, what);
    expectSkipped(records + "stray bytes", false, "stray bytes");
}

TEST(TemplateExtension, SoundBlocksReadWhateverFollows)
{
    const std::vector<CArea> areas{PerspectiveArea(), MeasuredArea()};
    CBlock block{1, 2, {}, {{1, 2, 3, 4, 5, 6}, {0, 0, 0, 0, 0, 7}}};
    block.flags = 0xFFFFFFFFu; // marks of a later writer
    const CTemplateData data = ReadTemplate(RecordsOnly(areas) + Block(block) + "later");
    EXPECT_FALSE(data.extensionSkipped);
    ASSERT_EQ(data.areas.size(), 2u);
    EXPECT_TRUE(data.areas[1].IsPerspective());
    EXPECT_EQ(data.areas[0].GetRealSize(), (CRealSize{QLineF(1, 2, 3, 4), 5, 6}));
    EXPECT_EQ(data.areas[1].GetRealSize(), (CRealSize{QLineF(), 0, 7}));
}

} // namespace

namespace {

// The shading strength rides in the flags of the block's entries: only an
// area with a strength other than 100 % needs the block, the percent comes
// back by value, and the bytes are the flag bit and the percent's byte.
TEST(TemplateExtension, ShadingStrengthIsStoredInTheFlagsAlone)
{
    CArea shaded = PlainArea("Floor", 5);
    shaded.SetShadingStrength(135);
    CArea none = PlainArea("Rug", 100);
    none.SetShadingStrength(0);
    const std::vector<CArea> areas{shaded, none, MeasuredArea()};
    ASSERT_TRUE(CTemplateExtension::IsNeeded({shaded}));
    const QByteArray bytes = *WriteTemplate(nullptr, areas);
    const CTemplateData data = ReadTemplate(bytes);
    ASSERT_EQ(data.areas.size(), 3u);
    EXPECT_EQ(data.areas[0].GetShadingStrength(), 135);
    EXPECT_EQ(data.areas[1].GetShadingStrength(), 0);
    EXPECT_EQ(data.areas[2].GetShadingStrength(), CArea::kDefaultShading);
    EXPECT_FALSE(data.areas[0].IsPerspective());
    EXPECT_EQ(data.areas[2].GetRealSize(), MeasuredArea().GetRealSize());
    EXPECT_EQ(*WriteTemplate(nullptr, data.areas), bytes);

    // Entry by entry: flags 2 | 135 << 8, 2 | 0 << 8, and 0 for the area at
    // 100 %, each before its six values.
    const QByteArray payload = bytes.mid(RecordsOnly(areas).size() + 12, 4 + 3 * CTemplateExtension::kEntryBytes);
    const auto flagsOf = [&](int entry) {
        return qFromLittleEndian<quint32>(payload.constData() + 4 + entry * CTemplateExtension::kEntryBytes);
    };
    EXPECT_EQ(flagsOf(0), 2u | (135u << 8));
    EXPECT_EQ(flagsOf(1), 2u);
    EXPECT_EQ(flagsOf(2), 0u);

    // Back at 100 % the block is not needed, and the file is as before.
    std::vector<CArea> plain{shaded};
    plain[0].SetShadingStrength(CArea::kDefaultShading);
    EXPECT_EQ(*WriteTemplate(nullptr, plain), RecordsOnly(plain));

    // A later writer's percent past the range is the nearest the area holds.
    CBlock block{1, 1, {}, {{0, 0, 0, 0, 0, 0}}};
    block.flags = 2u | (240u << 8);
    const CTemplateData later = ReadTemplate(RecordsOnly({PlainArea("Floor", 5)}) + Block(block));
    EXPECT_FALSE(later.extensionSkipped);
    EXPECT_EQ(later.areas[0].GetShadingStrength(), CArea::kMaxShading);
}

} // namespace
