#include "TestImages.h"
#include "document/ArchiveWriter.h"
#include "document/PatternBlock.h"
#include "document/TemplateExtension.h"
#include "document/TemplateFile.h"
#include "render/AreaPattern.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

CLayingPattern OakPattern()
{
    CLayingPattern p;
    for (int v = 0; v < 3; ++v) {
        QImage plank(120, 20, QImage::Format_RGB32);
        plank.fill(qRgb(150 + 20 * v, 110, 60));
        p.variants.push_back(PieceFromImage(plank));
    }
    p.widthCm = 120;
    p.heightCm = 20;
    p.layout = ELayout::Herringbone;
    p.angleDeg = 12.5;
    p.jointMm = 2;
    p.jointColour = qRgb(40, 30, 20);
    p.seed = 4242;
    p.turn180 = true;
    p.turn90 = true;
    p.origin = EPatternOrigin::Point;
    p.originPoint = QPointF(33.25, 41.5);
    return p;
}

CArea LaidArea()
{
    CArea area;
    area.SetName("Floor");
    const CPolygon outline = RectPolygon(0, 0, 300, 200);
    area.SetOutline(&outline);
    area.SetRealSize({QLineF(0, 0, 100, 0), 50.0, 0.0});
    EXPECT_TRUE(CAreaPattern::Apply(area, OakPattern()));
    return area;
}

CArea PlainArea()
{
    CArea area;
    area.SetName("Wall");
    const CPolygon outline = RectPolygon(10, 10, 60, 60);
    area.SetOutline(&outline);
    const QImage texture = QuadrantImage(16, 16);
    area.SetTexture(&texture);
    return area;
}

TEST(PatternBlock, APatternComesBackByValueAndSavesAgainByteForByte)
{
    const std::vector<CArea> areas{PlainArea(), LaidArea()};
    const QByteArray bytes = *WriteTemplate(nullptr, areas);
    const CTemplateData data = ReadTemplate(bytes);
    EXPECT_FALSE(data.extensionSkipped);
    EXPECT_FALSE(data.patternSkipped);
    ASSERT_EQ(data.areas.size(), 2u);
    EXPECT_EQ(data.areas[0].GetPattern(), nullptr);
    ASSERT_NE(data.areas[1].GetPattern(), nullptr);
    EXPECT_EQ(*data.areas[1].GetPattern(), OakPattern());
    // The pieces' pixels too, not only their files.
    for (std::size_t v = 0; v < 3; ++v)
        EXPECT_EQ(data.areas[1].GetPattern()->variants[v].image.convertToFormat(QImage::Format_RGB32),
                  OakPattern().variants[v].image);
    EXPECT_EQ(data.areas[1].GetRealSize(), areas[1].GetRealSize());
    EXPECT_EQ(*WriteTemplate(nullptr, data.areas), bytes);
}

TEST(PatternBlock, ItFollowsTheExtensionBlockAndReadersThatStopThereLoseOnlyThePattern)
{
    const std::vector<CArea> areas{LaidArea()};
    std::vector<CArea> unpatterned = areas;
    unpatterned[0].ClearPattern();
    const QByteArray without = *WriteTemplate(nullptr, unpatterned);
    const QByteArray with = *WriteTemplate(nullptr, areas);
    ASSERT_TRUE(with.startsWith(without));
    const QByteArray block = with.mid(without.size());
    EXPECT_EQ(block.left(4), QByteArray("TLMP"));
    EXPECT_EQ(qFromLittleEndian<quint32>(block.constData() + 4), CPatternBlock::kVersion);
    const quint32 length = qFromLittleEndian<quint32>(block.constData() + 8);
    ASSERT_EQ(block.size(), 12 + qsizetype(length) + 4);
    EXPECT_EQ(qFromLittleEndian<quint32>(block.constData() + 12 + length),
              CTemplateExtension::Crc32(block.mid(12, length)));
    // What a reader of the extension alone makes of it: everything else.
    const CTemplateData older = ReadTemplate(without);
    CTemplateData newer = ReadTemplate(with);
    ASSERT_NE(newer.areas[0].GetPattern(), nullptr);
    newer.areas[0].ClearPattern();
    EXPECT_TRUE(older.areas[0] == newer.areas[0]);
}

TEST(PatternBlock, TemplatesWithoutAPatternWriteNoBlock)
{
    const std::vector<CArea> areas{PlainArea()};
    const QByteArray bytes = *WriteTemplate(nullptr, areas);
    EXPECT_FALSE(bytes.contains("TLMP"));
    EXPECT_FALSE(bytes.contains("TLMX"));
    const CTemplateData data = ReadTemplate(bytes);
    EXPECT_EQ(*WriteTemplate(nullptr, data.areas), bytes);
}

TEST(PatternBlock, ADamagedBlockCostsThePatternAndNothingElse)
{
    const std::vector<CArea> areas{PlainArea(), LaidArea()};
    const QByteArray bytes = *WriteTemplate(nullptr, areas);
    const qsizetype at = bytes.indexOf("TLMP");
    ASSERT_GT(at, 0);
    std::vector<QByteArray> damaged;
    QByteArray flipped = bytes;
    flipped[at + 40] = static_cast<char>(flipped[at + 40] ^ 0x10); // inside the payload: the checksum fails
    damaged.push_back(flipped);
    damaged.push_back(bytes.left(at + 20));          // cut short
    damaged.push_back(bytes.left(at + 2));           // cut within the tag
    QByteArray later = bytes;
    later[at + 4] = 9;                               // a later version
    damaged.push_back(later);
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const CTemplateData data = ReadTemplate(damaged[i]);
        EXPECT_TRUE(data.patternSkipped) << i;
        EXPECT_FALSE(data.extensionSkipped) << i;
        ASSERT_EQ(data.areas.size(), 2u);
        EXPECT_EQ(data.areas[1].GetPattern(), nullptr) << i;
        // The laid texture and the real size stay.
        EXPECT_EQ(data.areas[1].GetRealSize(), areas[1].GetRealSize()) << i;
        ASSERT_NE(data.areas[1].GetTexture(), nullptr);
        EXPECT_EQ(data.areas[1].GetTexture()->size(), areas[1].GetTexture()->size());
    }
}

TEST(PatternBlock, NonsenseValuesWithAGoodChecksumAreRefused)
{
    // A payload by hand: one area, a pattern with no variants.
    const std::vector<CArea> areas{LaidArea()};
    std::vector<CArea> bare = areas;
    bare[0].ClearPattern();
    const QByteArray head = *WriteTemplate(nullptr, bare);
    const auto withPayload = [&](const QByteArray& payload) {
        CArchiveWriter ar;
        ar.WriteBytes("TLMP", 4);
        ar.WriteU32(1);
        ar.WriteU32(static_cast<std::uint32_t>(payload.size()));
        ar.WriteBytes(payload.constData(), payload.size());
        ar.WriteU32(CTemplateExtension::Crc32(payload));
        return head + ar.Data();
    };
    const auto pattern = [](std::uint32_t layout, double width, std::uint32_t variants) {
        CArchiveWriter p;
        p.WriteU32(1); // areas
        p.WriteU32(1); // has a pattern
        p.WriteU32(layout);
        for (double v : {width, 20.0, 0.0, 2.0})
            p.WriteF64(v);
        for (std::uint32_t v : {0xFF000000u, 1u, 1u, 0u})
            p.WriteU32(v);
        p.WriteF64(0);
        p.WriteF64(0);
        p.WriteU32(variants);
        for (std::uint32_t i = 0; i < variants; ++i) {
            const QByteArray png = PieceFromImage(QuadrantImage(4, 4)).bytes;
            p.WriteU32(static_cast<std::uint32_t>(png.size()));
            p.WriteBytes(png.constData(), png.size());
        }
        return p.Data();
    };
    EXPECT_FALSE(ReadTemplate(withPayload(pattern(1, 120, 1))).patternSkipped);
    ASSERT_NE(ReadTemplate(withPayload(pattern(1, 120, 1))).areas[0].GetPattern(), nullptr);
    for (const QByteArray& bad : {pattern(kLayoutCount, 120, 1), pattern(1, 0, 1), pattern(1, 120, 0),
                                  pattern(1, std::numeric_limits<double>::quiet_NaN(), 1)}) {
        const CTemplateData data = ReadTemplate(withPayload(bad));
        EXPECT_TRUE(data.patternSkipped);
        EXPECT_EQ(data.areas[0].GetPattern(), nullptr);
    }
}

} // namespace
