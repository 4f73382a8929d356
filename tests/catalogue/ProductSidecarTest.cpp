#include "catalogue/ProductSidecar.h"
#include "catalogue/TextureCatalogue.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ProductSidecarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (int i = 1; i <= 4; ++i) {
            QImage plank(60, 10, QImage::Format_RGB32);
            plank.fill(qRgb(150 + 10 * i, 110, 60));
            ASSERT_TRUE(plank.save(Path(QStringLiteral("oak-%1.png").arg(i))));
        }
        QImage slate(16, 16, QImage::Format_RGB32);
        slate.fill(qRgb(60, 60, 70));
        ASSERT_TRUE(slate.save(Path(QStringLiteral("slate.png"))));
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void WriteSidecar(const QByteArray& json)
    {
        QFile f(Path(ProductSidecar::kFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(json);
    }

    QTemporaryDir m_dir;
};

const QByteArray kOak = R"({"products": [
    {"name": "Tile", "size": [20, 20], "variants": ["slate.png"]},
    {"name": "Oak plank", "size": [60, 10], "variants": ["oak-1.png", "oak-2.png", "oak-3.png", "oak-4.png"],
     "layouts": ["herringbone", "straight"], "jointMm": 2, "jointColour": "#3a2a1c"}]})";

TEST_F(ProductSidecarTest, AnyVariantPickedLaysItsWholeProduct)
{
    WriteSidecar(kOak);
    for (int i = 1; i <= 4; ++i) {
        QString name;
        const auto p = ProductSidecar::PatternFor(Path(QStringLiteral("oak-%1.png").arg(i)), &name);
        ASSERT_TRUE(p) << i;
        EXPECT_EQ(name, QStringLiteral("Oak plank"));
        EXPECT_EQ(p->variants.size(), 4u);
        EXPECT_EQ(p->variants[2].image.pixel(0, 0), qRgb(180, 110, 60));
        EXPECT_EQ((std::pair{p->widthCm, p->heightCm}), (std::pair{60.0, 10.0}));
        EXPECT_EQ(p->layout, ELayout::Herringbone);
        EXPECT_EQ(p->jointMm, 2.0);
        EXPECT_EQ(p->jointColour, qRgb(0x3a, 0x2a, 0x1c));
        EXPECT_EQ(p->origin, EPatternOrigin::Balanced);
    }
    const auto tile = ProductSidecar::PatternFor(Path(QStringLiteral("slate.png")));
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->layout, ELayout::Straight);
}

TEST_F(ProductSidecarTest, PicturesNotListedAndFaultySidecarsLayPlainTextures)
{
    EXPECT_FALSE(ProductSidecar::PatternFor(Path(QStringLiteral("oak-1.png")))); // no sidecar
    WriteSidecar(R"({"products": [{"size": [60, 10], "variants": ["oak-1.png"]}]})");
    EXPECT_FALSE(ProductSidecar::PatternFor(Path(QStringLiteral("oak-2.png"))));
    for (const QByteArray& bad :
         {QByteArray("{not json"), QByteArray(R"({"products": [{"size": [60], "variants": ["oak-1.png"]}]})"),
          QByteArray(R"({"products": [{"size": [60, -1], "variants": ["oak-1.png"]}]})"),
          QByteArray(R"({"products": [{"size": [60, 10], "variants": ["oak-1.png", "gone.png"]}]})"),
          QByteArray(R"({"products": [{"size": [60, 10], "variants": ["oak-1.png"], "layouts": ["zigzag"]}]})"),
          QByteArray(R"({"products": [{"size": [60, 10], "variants": ["oak-1.png"], "jointColour": "mud"}]})")}) {
        WriteSidecar(bad);
        EXPECT_FALSE(ProductSidecar::PatternFor(Path(QStringLiteral("oak-1.png")))) << bad.toStdString();
    }
}

TEST_F(ProductSidecarTest, TheSidecarIsKnownForWhatItIs)
{
    WriteSidecar(kOak);
    EXPECT_TRUE(ProductSidecar::IsSidecar(Path(ProductSidecar::kFileName)));
    EXPECT_TRUE(ProductSidecar::IsSidecar(QStringLiteral("/a/b/PRODUCTS.JSON")));
    EXPECT_FALSE(ProductSidecar::IsSidecar(Path(QStringLiteral("oak-1.png"))));
    // A group's textures are its pictures, never the sidecar.
    const QStringList textures = TextureCatalogue::ListGroupTextures(m_dir.path());
    EXPECT_EQ(textures.size(), 5);
    for (const QString& f : textures)
        EXPECT_FALSE(ProductSidecar::IsSidecar(f)) << f.toStdString();
}

} // namespace
