#include "catalogue/TextureCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <dirent.h>

namespace {

using namespace TextureCatalogue;

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
}

// The directory's entries in the order the file system itself returns them,
// read without Qt.
QStringList ReaddirOrder(const QString& folder, bool wantDirs)
{
    QStringList names;
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    while (dirent* entry = dir ? readdir(dir) : nullptr) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name == "." || name == "..")
            continue;
        if (QFileInfo(folder + "/" + name).isDir() == wantDirs)
            names << name;
    }
    if (dir)
        closedir(dir);
    return names;
}

// Groups are the immediate subfolders in file-system order; a group's
// textures are every file directly in it, images or not, nothing below,
// except the sidecars that describe them (real sizes, products).
TEST(TextureCatalogue, GroupsAndTexturesFollowTheTwoLevelRules)
{
    QTemporaryDir root;
    const QString textures = root.filePath("textures");
    for (const char* group : {"wood", "stone", "tiles", ".hidden"})
        ASSERT_TRUE(QDir().mkpath(textures + "/" + group));
    Touch(textures + "/loose.jpg");
    Touch(textures + "/wood/oak.jpg");
    Touch(textures + "/wood/readme.txt");
    Touch(textures + "/wood/noextension");
    Touch(textures + "/wood/texture-sizes.json");
    Touch(textures + "/wood/Products.JSON");
    ASSERT_TRUE(QDir().mkpath(textures + "/wood/nested"));
    Touch(textures + "/wood/nested/deep.jpg");

    QStringList groups;
    ListFolderEntries(textures + "   ", nullptr, &groups, true, false, false, "*.*");
    EXPECT_EQ(groups, ReaddirOrder(textures, true));

    QStringList files;
    ListFolderEntries(textures + "/wood", &files, nullptr, false, true, true, "*.*");
    QStringList expected;
    for (const QString& name : ReaddirOrder(textures + "/wood", false))
        if (!name.endsWith(".json", Qt::CaseInsensitive))
            expected << textures + "/wood/" + name;
    EXPECT_EQ(files, expected);
    EXPECT_EQ(files.size(), 3);
    EXPECT_EQ(ListGroupTextures(textures + "/wood"),
              QStringList({textures + "/wood/noextension", textures + "/wood/oak.jpg", textures + "/wood/readme.txt"}));

    QStringList none;
    ListFolderEntries(root.filePath("missing"), &none, &none, false, false, false, "*.*");
    EXPECT_TRUE(none.isEmpty());
}

TEST(TextureCatalogue, StringRulesOfMasksSplitsAndSeparators)
{
    EXPECT_TRUE(MatchesNameMask("oak.v2.jpg", "oak.*"));
    EXPECT_TRUE(MatchesNameMask("noextension", "*.*"));
    EXPECT_TRUE(MatchesNameMask("slate.jpg", "*.png|*.jpg"));
    EXPECT_FALSE(MatchesNameMask("slate.jpg", "*.png|oak.*"));
    EXPECT_TRUE(MatchesNameMask("anything", ""));

    QStringList parts;
    EXPECT_EQ(SplitToArray("a|b|", "|", parts), 2);
    parts.clear();
    EXPECT_EQ(SplitToArray("a||b", "|", parts), 3);
    EXPECT_EQ(parts, (QStringList{"a", "", "b"}));
    parts.clear();
    EXPECT_EQ(SplitToArray("", "|", parts), 0);

    QString left = "keep", right = "keep";
    EXPECT_FALSE(SplitAtFirst("no separator", "=", left, right, true));
    EXPECT_EQ(left + right, "keepkeep");
    EXPECT_TRUE(SplitAtFirst(" key = a = b ", "=", left, right, true));
    EXPECT_EQ(QStringList({left, right}), QStringList({"key", "a = b"}));

    const QString sep = QDir::separator();
    EXPECT_EQ(EnsureTrailingBackslash("/data/textures   ", true), "/data/textures" + sep);
    EXPECT_EQ(EnsureTrailingBackslash("/data/textures" + sep, true), "/data/textures" + sep);
    EXPECT_EQ(EnsureTrailingBackslash("/data/textures" + sep + sep, false), "/data/textures" + sep);
    EXPECT_EQ(EnsureTrailingBackslash("   ", true), "");
    EXPECT_EQ(GetFileTitle("/data/wood/oak.v2.jpg"), "oak.v2");
    EXPECT_EQ(GetFileTitle("/data/wood/plank"), "plank");
}

} // namespace
