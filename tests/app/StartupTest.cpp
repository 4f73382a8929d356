#include "AppTestSupport.h"

#include "app/FolderCase.h"
#include "app/ResourceIds.h"
#include "app/RecentFileList.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaType>

namespace {

const char* const kStringKeys[] = {"TemplatesFolder", "TexturesFolder", "LithavensFolder", "ExportFolder"};
// What earlier versions kept and nothing used: an account's password among them.
const char* const kDroppedKeys[] = {"Address",  "Folder",   "Login",     "Password",     "Port",      "AddressT",
                                    "FolderT",  "LoginT",   "PasswordT", "PortT",        "AddressD",  "FolderD",
                                    "LoginD",   "PasswordD", "PortD",    "ProxyAddress", "ProxyPort", "UseProxy"};

QString Folder(const QString& start, const char* name)
{
    return QDir::toNativeSeparators(start + QLatin1Char('/') + QLatin1String(name)) + QDir::separator();
}

} // namespace

TEST_F(AppTest, FirstRunMakesTheFoldersOpensTilem1AndWritesEveryValueWithItsType)
{
    ASSERT_TRUE(Start());
    for (const char* name : {"templates", "textures", "lithavens", "export"})
        EXPECT_TRUE(QFileInfo(StartFolder() + QLatin1Char('/') + QLatin1String(name)).isDir()) << name;
    EXPECT_EQ(App().GetTexturesFolder(), Folder(StartFolder(), "textures"));
    EXPECT_EQ(App().GetExportFolder(), Folder(StartFolder(), "export"));

    ASSERT_EQ(App().Documents().size(), 1);
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("Tilem1"));
    EXPECT_TRUE(Frame().isMaximized());
    EXPECT_EQ(Frame().CurrentMenu(), int(IDR_TILEMTYPE));

    EXPECT_EQ(App().ExitInstance(), 0);
    const auto store = Store();
    EXPECT_EQ(store->childKeys().size(), 4);
    for (const char* key : kStringKeys)
        EXPECT_EQ(store->value(QLatin1String(key)).typeId(), QMetaType::QString) << key;
    EXPECT_EQ(store->value("TemplatesFolder").toString(), Folder(StartFolder(), "templates"));
    EXPECT_EQ(store->value("LithavensFolder").toString(), Folder(StartFolder(), "lithavens"));
}

// Started from a desktop launcher the editor starts in the home folder: its
// folders go into one folder of their own there, not among the user's.
TEST_F(AppTest, StartedInTheHomeFolderTheFoldersGoIntoTilemontThere)
{
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", StartFolder().toLocal8Bit());
    ASSERT_TRUE(Start());
    qputenv("HOME", home);
    const QString base = StartFolder() + QStringLiteral("/Tilemont");
    for (const char* name : {"templates", "textures", "lithavens", "export"}) {
        EXPECT_TRUE(QFileInfo(base + QLatin1Char('/') + QLatin1String(name)).isDir()) << name;
        EXPECT_FALSE(QFileInfo(StartFolder() + QLatin1Char('/') + QLatin1String(name)).exists()) << name;
    }
    EXPECT_EQ(App().GetTexturesFolder(), Folder(base, "textures"));
    EXPECT_EQ(App().GetExportFolder(), Folder(base, "export"));
}

TEST_F(AppTest, StoredValuesSurviveARunUnchanged)
{
    QSettings::SettingsMap stored;
    int n = 0;
    for (const char* key : kStringKeys)
        stored[QLatin1String(key)] = QStringLiteral("Value %1 = ä;\\x/ %2").arg(++n).arg(QLatin1String(key));
    // Folders that exist already, in mixed case.
    const QString textures = TempPath("Stone/Tiles/");
    ASSERT_TRUE(QDir().mkpath(textures));
    stored["TexturesFolder"] = textures;
    stored["ExportFolder"] = TempPath("Out Put/");
    {
        const auto store = Store();
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            store->setValue(it.key(), it.value());
        for (const char* key : kDroppedKeys)
            store->setValue(QLatin1String(key), QStringLiteral("secret %1").arg(++n));
    }

    ASSERT_TRUE(Start());
    EXPECT_EQ(App().GetTexturesFolder(), textures);
    // A stored folder that is missing is made, one level deep.
    EXPECT_TRUE(QFileInfo(TempPath("Out Put")).isDir());
    App().ExitInstance();

    const auto store = Store();
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        const QVariant value = store->value(it.key());
        EXPECT_EQ(value.typeId(), it.value().typeId()) << it.key().toStdString();
        EXPECT_EQ(value, it.value()) << it.key().toStdString();
    }
    // The values nothing used are gone from the store, the passwords with them.
    for (const char* key : kDroppedKeys)
        EXPECT_FALSE(store->contains(QLatin1String(key))) << key;
}

TEST(FolderCaseTest, CaseIsKeptWhereTheFileSystemTellsCaseApart)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("Stone/Tiles")));
    const QString existing = tmp.path() + QStringLiteral("/Stone/Tiles/");
    const QString missing = tmp.path() + QStringLiteral("/Stone/Not/Yet/Made/");
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    GTEST_SKIP() << "this system's file systems usually ignore case";
#endif
    // Two entries differing only in case are two folders here.
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("stone")));
    EXPECT_FALSE(FolderCase::FileSystemIgnoresCase(existing));
    EXPECT_FALSE(FolderCase::FileSystemIgnoresCase(missing));
    EXPECT_EQ(FolderCase::Normalise(existing), existing);
    EXPECT_EQ(FolderCase::Normalise(missing), missing);
}

TEST(RecentFileListTest, KeepsFourNewestFirstWithoutDuplicatesAndStoresThemByNumber)
{
    QTemporaryDir tmp;
    CRecentFileList list(4);
    for (const char* name : {"a.tlm", "b.tlm", "c.tlm", "d.tlm", "e.tlm", "c.tlm"})
        list.Add(tmp.filePath(QLatin1String(name)));
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(QFileInfo(list.GetAt(0)).fileName(), QStringLiteral("c.tlm"));
    EXPECT_EQ(QFileInfo(list.GetAt(1)).fileName(), QStringLiteral("e.tlm"));
    EXPECT_EQ(QFileInfo(list.GetAt(3)).fileName(), QStringLiteral("b.tlm"));

    QSettings store(tmp.filePath("mru.ini"), QSettings::IniFormat);
    store.setValue("Recent File List/File4", "stale");
    list.Remove(3);
    list.WriteList(store);
    EXPECT_EQ(store.value("Recent File List/File1").toString(), list.GetAt(0));
    EXPECT_FALSE(store.contains("Recent File List/File4"));

    // Gaps in what is stored close up when read.
    store.remove("Recent File List/File2");
    CRecentFileList read(4);
    read.ReadList(store);
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(1), list.GetAt(2));

    CRecentFileList amp(4);
    amp.Add(QStringLiteral("/x/R&D.tlm"));
    EXPECT_EQ(amp.MenuText(0), QStringLiteral("&1 ") + QDir::toNativeSeparators("/x/R&&D.tlm"));
}

TEST_F(AppTest, CommandLineOpensTheNamedTemplate)
{
    const QString path = WriteTemplate("kitchen.tlm");
    ASSERT_TRUE(Start({QStringLiteral("-someoption"), path}));
    ASSERT_EQ(App().Documents().size(), 1);
    EXPECT_EQ(ActiveDoc().GetPathName(), path);
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("kitchen.tlm"));
    ASSERT_NE(ActiveDoc().GetPicture(), nullptr);
    EXPECT_EQ(ActiveDoc().GetPicture()->size(), QSize(12, 8));
    EXPECT_EQ(App().RecentFiles().GetAt(0), path);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Tilemont - kitchen.tlm[*]"));
}

TEST_F(AppTest, CommandLineOpensEveryTemplateNamedEachInItsOwnWindow)
{
    const QString kitchen = WriteTemplate("kitchen.tlm", QSize(12, 8));
    const QString hall = WriteTemplate("hall.tlm", QSize(20, 10));
    const QString broken = TempPath("broken.tlm");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x05\x00\x00", 3);
    file.close();

    // As a file manager hands them over; the one that cannot be read says
    // so and the others open all the same, a name given twice once.
    ASSERT_TRUE(Start({kitchen, broken, hall, kitchen}));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(broken)) << prompts.errors[0].toStdString();
    ASSERT_EQ(App().Documents().size(), 2);
    QStringList paths;
    QList<QSize> sizes;
    for (CDocumentTarget* doc : App().Documents()) {
        paths << doc->Doc().GetPathName();
        ASSERT_NE(doc->Doc().GetPicture(), nullptr);
        sizes << doc->Doc().GetPicture()->size();
        EXPECT_EQ(doc->OpenFrames().size(), 1u);
    }
    EXPECT_EQ(paths, QStringList({kitchen, hall}));
    EXPECT_EQ(sizes, QList<QSize>({QSize(12, 8), QSize(20, 10)}));
    // They share out the workspace rather than lie in a corner, one over
    // the other.
    QCoreApplication::processEvents();
    const QList<QMdiSubWindow*> windows = Frame().MdiArea()->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_FALSE(windows[0]->geometry().intersects(windows[1]->geometry()));
    const QSize workspace = Frame().MdiArea()->viewport()->size();
    const auto area = [](const QSize& s) { return qint64(s.width()) * s.height(); };
    EXPECT_GE(area(windows[0]->size()) + area(windows[1]->size()), area(workspace) * 9 / 10);
    // The last named is the window in front and heads the recent files.
    EXPECT_EQ(ActiveDoc().GetPathName(), kitchen);
    EXPECT_EQ(App().RecentFiles().GetAt(0), kitchen);
    EXPECT_EQ(App().RecentFiles().GetAt(1), hall);
}

TEST_F(AppTest, CommandLineTakesAnEmptyFileAsAnEmptyTemplate)
{
    const QString path = TempPath("empty.tlm");
    QFile(path).open(QIODevice::WriteOnly);
    ASSERT_TRUE(Start({path}));
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(ActiveDoc().GetPicture(), nullptr);
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("empty.tlm"));
}

TEST_F(AppTest, UnreadableCommandLineFileEndsStartUpAfterTheMessage)
{
    const QString path = TempPath("broken.tlm");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x05\x00\x00", 3);
    file.close();

    EXPECT_FALSE(Start({path}));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(path)) << prompts.errors[0].toStdString();
    EXPECT_TRUE(App().Documents().isEmpty());
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_TRUE(App().RecentFiles().Files().isEmpty());
    // The settings are still written back.
    EXPECT_EQ(App().ExitInstance(), 0);
    EXPECT_EQ(Store()->childKeys().size(), 4);
}
