#include "catalogue/TextureSizes.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace TextureSizes;

class TextureSizesTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString Texture(const QString& name) const { return dir.filePath(name); }
    QString Sidecar() const { return dir.filePath(kFileName); }
    void WriteSidecar(const QByteArray& bytes)
    {
        QFile file(Sidecar());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QJsonObject SidecarJson() const
    {
        QFile file(Sidecar());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QJsonDocument::fromJson(file.readAll()).object();
    }
};

TEST_F(TextureSizesTest, WidthsAreKeptPerFileBesideTheOthers)
{
    EXPECT_EQ(ReadTextureWidth(Texture("slate.jpg")), std::nullopt);
    WriteSidecar(R"({"oak.png": 12.5, "note": "kept", "odd.jpg": -3})");
    QString error;
    ASSERT_TRUE(WriteTextureWidth(Texture("slate.jpg"), 60, &error)) << error.toStdString();
    ASSERT_TRUE(WriteTextureWidth(Texture("oak.png"), 20.25, &error));
    EXPECT_EQ(ReadTextureWidth(Texture("slate.jpg")), 60.0);
    EXPECT_EQ(ReadTextureWidth(Texture("oak.png")), 20.25);
    // An entry that is no positive number is no width, but stays in the file.
    EXPECT_EQ(ReadTextureWidth(Texture("odd.jpg")), std::nullopt);
    EXPECT_EQ(ReadTextureWidth(Texture("Slate.jpg")), std::nullopt);
    EXPECT_EQ(SidecarJson(), (QJsonObject{{"oak.png", 20.25}, {"note", "kept"}, {"odd.jpg", -3}, {"slate.jpg", 60}}));
    // Another folder's textures have their own sidecar.
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    EXPECT_EQ(ReadTextureWidth(dir.filePath("sub/slate.jpg")), std::nullopt);
}

TEST_F(TextureSizesTest, DamagedSidecarReadsAsEmptyAndIsReplaced)
{
    for (const QByteArray& damaged : {QByteArray("{\"slate.jpg\": 6"), QByteArray("[60]"), QByteArray("\xff\x00\x01", 3),
                                      QByteArray()}) {
        WriteSidecar(damaged);
        EXPECT_EQ(ReadTextureWidth(Texture("slate.jpg")), std::nullopt);
        QString error;
        ASSERT_TRUE(WriteTextureWidth(Texture("tile.jpg"), 30, &error));
        EXPECT_EQ(SidecarJson(), (QJsonObject{{"tile.jpg", 30}}));
    }
}

TEST_F(TextureSizesTest, NonsenseWidthsAndUnwritableFoldersAreRefused)
{
    WriteSidecar(R"({"slate.jpg": 60})");
    for (double cm : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        QString error;
        EXPECT_FALSE(WriteTextureWidth(Texture("slate.jpg"), cm, &error)) << cm;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(ReadTextureWidth(Texture("slate.jpg")), 60.0);
    QString error;
    EXPECT_FALSE(WriteTextureWidth(dir.filePath("missing/slate.jpg"), 10, &error));
    EXPECT_TRUE(error.contains(kFileName)) << error.toStdString();
}

} // namespace
