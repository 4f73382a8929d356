#include "TestImages.h"
#include "document/ArchiveError.h"
#include "document/ArchiveReader.h"
#include "document/ArchiveWriter.h"
#include "document/IAreaWarpSource.h"
#include "document/TemplateFile.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

CArea SmallArea()
{
    CArea area;
    area.SetName("Abc");
    const CPolygon outline = RectPolygon(1, 2, 30, 40);
    area.SetOutline(&outline);
    return area;
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

TEST(TemplateFileLayout, EmptyTemplateIsEightZeroBytes)
{
    const auto bytes = WriteTemplate(nullptr, {});
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, QByteArray(8, '\0'));
    const CTemplateData data = ReadTemplate(*bytes);
    EXPECT_EQ(data.picture, nullptr);
    EXPECT_TRUE(data.areas.empty());
}

TEST(TemplateFileLayout, PlainAreaRecordTakes160Bytes)
{
    const auto bytes = WriteTemplate(nullptr, {SmallArea()});
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 8 + 160);
    // Name "Abc" with its one-byte prefix, right after picture blob and count.
    EXPECT_EQ(bytes->mid(8, 4), Bytes({3, 'A', 'b', 'c'}));
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes->constData() + 4), 1u);
    // Scale 1.0 sits after name, two empty blobs, rotation and both shifts.
    const qsizetype scaleAt = 8 + 4 + 4 + 4 + 8 + 4 + 4;
    double scale;
    std::memcpy(&scale, bytes->constData() + scaleAt, 8);
    EXPECT_EQ(scale, 1.0);
    // One contour of four vertices, then the empty initial rect.
    const qsizetype contoursAt = scaleAt + 8 + 4 + 32;
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes->constData() + contoursAt), 1u);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes->constData() + contoursAt + 4), 4);
    EXPECT_EQ(bytes->right(16), QByteArray(16, '\0'));
}

QByteArray StoredName(const QString& name)
{
    CArchiveWriter ar;
    ar.WriteString(name);
    return ar.Data();
}

TEST(TemplateFileStrings, LengthPrefixesAtTheirBoundaries)
{
    EXPECT_EQ(StoredName(QString(254, 'x')).left(1), Bytes({254}));
    EXPECT_EQ(StoredName(QString(255, 'x')).left(3), Bytes({0xFF, 0xFF, 0x00}));
    EXPECT_EQ(StoredName(QString(65533, 'x')).left(3), Bytes({0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(StoredName(QString(65534, 'x')).left(7), Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0, 0}));
    for (int n : {0, 1, 254, 255, 65533, 65534, 70000}) {
        const QString name(n, QChar('a' + n % 26));
        CArchiveReader reader(StoredName(name));
        EXPECT_EQ(reader.ReadString(), name) << n;
        EXPECT_EQ(reader.Remaining(), 0) << n;
    }
}

TEST(TemplateFileStrings, Windows1252NamesStaySingleBytes)
{
    const QString name = QString::fromUtf8("Küche € ‰ Œ");
    const QByteArray stored = StoredName(name);
    EXPECT_EQ(stored.size(), 1 + name.size());
    EXPECT_EQ(static_cast<unsigned char>(stored[2]), 0xFC); // ü
    EXPECT_EQ(static_cast<unsigned char>(stored[7]), 0x80); // €
    CArchiveReader reader(stored);
    EXPECT_EQ(reader.ReadString(), name);
}

TEST(TemplateFileStrings, OtherNamesUseTheUtf16Form)
{
    const QString name = QString::fromUtf8("Ωmega 床");
    const QByteArray stored = StoredName(name);
    EXPECT_EQ(stored.left(4), Bytes({0xFF, 0xFE, 0xFF, int(name.size())}));
    EXPECT_EQ(stored.size(), 4 + 2 * name.size());
    EXPECT_EQ(qFromLittleEndian<quint16>(stored.constData() + 4), 0x03A9);
    CArchiveReader reader(stored);
    EXPECT_EQ(reader.ReadString(), name);

    // A long one takes the two-byte length inside the marker.
    const QString longName = QString(300, QChar(0x5E8A));
    const QByteArray longStored = StoredName(longName);
    EXPECT_EQ(longStored.left(6), Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    CArchiveReader longReader(longStored);
    EXPECT_EQ(longReader.ReadString(), longName);
}

CArea FullArea()
{
    CArea area;
    area.SetName(QString::fromUtf8("Floor ü"));
    CPolygon outline = RectPolygon(0.5, 1.25, 300.75, 200.125);
    outline.contours.push_back({{100.1, 50.2}, {120.3, 50.2}, {120.3, 80.9}, {100.1, 80.9}});
    area.SetOutline(&outline);
    area.SetRotation(33.3);
    area.SetShift(-7, 12);
    area.SetScale(0.37);
    area.GetSkewCorners() = {QPoint(1, 2), QPoint(300, 5), QPoint(-4, 210), QPoint(310, 220)};
    area.SetInitialRect({3, 4, 103, 54});
    const QImage texture = QuadrantImage(16, 8);
    area.SetTexture(&texture);
    area.SetSkewApplied(true);
    return area;
}

// The warp a save finds for FullArea: a made-up image of its own size, so
// that what comes back is known to be the stored blob, not a rebuilt warp.
class CFullAreaWarp : public IAreaWarpSource
{
public:
    std::shared_ptr<const QImage> ExactWarp(const CArea& area) const override
    {
        return area.GetName() == FullArea().GetName() ? m_image : nullptr;
    }

private:
    std::shared_ptr<const QImage> m_image = std::make_shared<const QImage>(QuadrantImage(20, 10));
};

TEST(TemplateFileRoundTrip, EveryStoredFieldComesBack)
{
    const QImage picture = QuadrantImage(64, 48);
    std::vector<CArea> areas;
    areas.push_back(FullArea());
    areas.push_back(SmallArea());
    const CFullAreaWarp warps;
    const auto bytes = WriteTemplate(&picture, QByteArray(), areas, &warps);
    ASSERT_TRUE(bytes);
    const CTemplateData data = ReadTemplate(*bytes);
    ASSERT_TRUE(data.picture);
    EXPECT_EQ(data.picture->size(), QSize(64, 48));
    ASSERT_EQ(data.areas.size(), 2u);
    const CArea& a = data.areas[0];
    const CArea original = FullArea();
    EXPECT_EQ(a.GetName(), original.GetName());
    EXPECT_EQ(a.GetOutline(), original.GetOutline());
    EXPECT_EQ(a.GetRotation(), 33.3);
    EXPECT_EQ(a.GetShiftX(), -7);
    EXPECT_EQ(a.GetShiftY(), 12);
    EXPECT_EQ(a.GetScale(), 0.37);
    EXPECT_TRUE(a.IsSkewApplied());
    EXPECT_EQ(a.GetSkewCorners(), original.GetSkewCorners());
    EXPECT_EQ(a.GetInitialRect(), (CIntRect{3, 4, 103, 54}));
    ASSERT_TRUE(a.GetTexture());
    EXPECT_EQ(a.GetTexture()->size(), QSize(16, 8));
    // The warp comes from the file as stored, not rebuilt.
    ASSERT_TRUE(a.GetStoredWarp());
    EXPECT_EQ(a.GetStoredWarp()->size(), QSize(20, 10));
    EXPECT_EQ(data.areas[1].GetName(), "Abc");
    EXPECT_EQ(data.areas[1].GetTexture(), nullptr);
}

TEST(TemplateFileRoundTrip, HolesStayPlainContours)
{
    CArea area;
    CPolygon ring = RectPolygon(0, 0, 100, 100);
    ring.contours.push_back({{40, 40}, {40, 60}, {60, 60}, {60, 40}});
    area.SetOutline(&ring);
    const CTemplateData data = ReadTemplate(*WriteTemplate(nullptr, {area}));
    ASSERT_EQ(data.areas.size(), 1u);
    EXPECT_EQ(data.areas[0].GetOutline(), ring);
}

// Every prefix of a valid file short of the whole is refused as running
// past the end; none may crash or read garbage as a template.
TEST(TemplateFileDamage, EveryTruncatedPrefixIsRefused)
{
    const QImage picture = QuadrantImage(8, 8);
    const CFullAreaWarp warps;
    const auto bytes = WriteTemplate(&picture, QByteArray(), {FullArea(), SmallArea()}, &warps);
    ASSERT_TRUE(bytes);
    for (qsizetype n = 0; n < bytes->size(); ++n) {
        try {
            ReadTemplate(bytes->left(n));
            ADD_FAILURE() << "prefix of " << n << " bytes was accepted";
        } catch (const CArchiveError& e) {
            EXPECT_EQ(e.GetKind(), CArchiveError::Kind::EndOfFile) << n;
        }
    }
}

QByteArray WithU32At(QByteArray bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
}

TEST(TemplateFileDamage, CountsThatCannotFitAreRefusedBeforeAllocating)
{
    const QByteArray good = *WriteTemplate(nullptr, {SmallArea()});
    const qsizetype contoursAt = 8 + 4 + 4 + 4 + 8 + 4 + 4 + 8 + 4 + 32;
    const std::vector<QByteArray> damaged = {
        WithU32At(good, 0, 0xFFFFFFF0u),        // picture blob size
        WithU32At(good, 4, 0xFFFFFFFFu),        // area count
        WithU32At(good, 4, 2u),                 // one area more than stored
        WithU32At(good, 12, 0x7FFFFFFFu),       // texture blob size
        WithU32At(good, contoursAt, 0x40000000u), // contour count
        WithU32At(good, contoursAt + 4, 0xFFFFFFFFu), // vertex count -1
        WithU32At(good, contoursAt + 4, 0x80000000u), // most negative vertex count
        WithU32At(good, contoursAt + 4, 0x10000000u), // vertex count too large
        QByteArray(8, '\0') + Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + QByteArray(200, '\0'), // name length
    };
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        QByteArray bytes = damaged[i];
        if (i == damaged.size() - 1)
            bytes = WithU32At(bytes, 4, 1u);
        try {
            ReadTemplate(bytes);
            ADD_FAILURE() << "damaged file " << i << " was accepted";
        } catch (const CArchiveError& e) {
            EXPECT_EQ(e.GetKind(), CArchiveError::Kind::EndOfFile) << i;
        }
    }
}

TEST(TemplateFileDamage, UndecodableBlobIsAnAbsentImage)
{
    CArchiveWriter ar;
    const QByteArray junk("definitely not an image");
    ar.WriteU32(static_cast<quint32>(junk.size()));
    ar.WriteBytes(junk.constData(), junk.size());
    ar.WriteU32(1);
    const QByteArray area = *WriteTemplate(nullptr, {SmallArea()});
    ar.WriteBytes(area.constData() + 8, area.size() - 8);
    const CTemplateData data = ReadTemplate(ar.Data());
    EXPECT_EQ(data.picture, nullptr);
    ASSERT_EQ(data.areas.size(), 1u);
    EXPECT_EQ(data.areas[0].GetName(), "Abc");
}

TEST(TemplateFileDamage, BytesAfterTheJpegEndAreIgnored)
{
    const QImage picture = QuadrantImage(24, 16);
    QByteArray bytes = *WriteTemplate(&picture, {});
    const quint32 blob = qFromLittleEndian<quint32>(bytes.constData());
    bytes.insert(4 + blob, QByteArray("trailing"));
    bytes = WithU32At(bytes, 0, blob + 8);
    const CTemplateData data = ReadTemplate(bytes);
    ASSERT_TRUE(data.picture);
    EXPECT_EQ(data.picture->size(), QSize(24, 16));
}

} // namespace
