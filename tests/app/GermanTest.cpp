#include "AppTestSupport.h"
#include "app/CommandTable.h"
#include "app/ResourceIds.h"
#include "app/TranslationLoader.h"

#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>

#include <map>

namespace {

// Where the build puts the German translation, and where the editor lives in
// the build tree; see tests/CMakeLists.txt.
const QString kQmDir = QStringLiteral(TILEMONT_QM_DIR);
const QString kEditorDir = QStringLiteral(TILEMONT_EDITOR_DIR);

// Words a German menu says just as the English one does.
const QStringList kSameInGerman{QStringLiteral("Hand")};

QString WithoutKeys(const QString& text)
{
    return text.section(u'\t', 0, 0);
}

// Each menu of the bar: its title, then every item it shows.
void CheckMenus(QMenuBar* bar, const QStringList& englishTitles)
{
    std::map<QKeySequence, QString> titleKeys;
    for (QAction* title : bar->actions()) {
        ASSERT_NE(title->menu(), nullptr);
        EXPECT_FALSE(englishTitles.contains(title->text())) << title->text().toStdString();
        const QKeySequence titleKey = QKeySequence::mnemonic(title->text());
        if (!titleKey.isEmpty()) {
            EXPECT_TRUE(titleKeys.emplace(titleKey, title->text()).second) << title->text().toStdString();
        }

        std::map<QKeySequence, QString> keys;
        int items = 0;
        for (QAction* action : title->menu()->actions()) {
            if (action->isSeparator() || !action->isVisible())
                continue;
            ++items;
            const CCommandEntry* entry = CommandTable::Find(action->data().toInt());
            ASSERT_NE(entry, nullptr) << action->text().toStdString();
            const QString text = WithoutKeys(action->text());
            const QString english = QString::fromUtf8(entry->text);
            // The recent files and the window list name files and windows.
            const bool names = (entry->id == ID_FILE_MRU_FIRST && text != CommandTable::Tip(*entry)) ||
                               entry->id == ID_WINDOW_CHILD_FIRST;
            if (!names) {
                if (!kSameInGerman.contains(text)) {
                    EXPECT_NE(text, english) << "untranslated: " << text.toStdString();
                }
                EXPECT_EQ(QKeySequence::mnemonic(text).isEmpty(), QKeySequence::mnemonic(english).isEmpty())
                    << "accelerator lost or added: " << text.toStdString();
            }
            const QKeySequence key = QKeySequence::mnemonic(action->text());
            if (!key.isEmpty()) {
                const auto [where, unique] = keys.emplace(key, text);
                EXPECT_TRUE(unique) << title->text().toStdString() << ": " << text.toStdString() << " and "
                                    << where->second.toStdString() << " share " << key.toString().toStdString();
            }
        }
        EXPECT_GT(items, 0) << title->text().toStdString();
    }
}

class GermanTest : public AppTest
{
protected:
    void TearDown() override
    {
        AppTest::TearDown();
        m_loader.reset();
    }

    bool LoadGerman(const QStringList& folders)
    {
        m_loader = std::make_unique<CTranslationLoader>();
        return m_loader->Install(QLocale(QLocale::German, QLocale::Germany), folders,
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }

private:
    std::unique_ptr<CTranslationLoader> m_loader;
};

} // namespace

// An editor started from the build tree finds the translation the build
// made, and an installed one finds it where the install rule puts it; where
// there is none, or no German, everything stays English.
TEST_F(GermanTest, TheLoaderFindsTheBuildsAndTheInstalledTranslationOrLeavesEnglish)
{
    EXPECT_TRUE(CTranslationLoader::Folders(kEditorDir).contains(QDir(kQmDir).absolutePath()));
    const QString prefix = QDir::cleanPath(TempPath(QStringLiteral("prefix")));
    EXPECT_TRUE(CTranslationLoader::Folders(prefix + QStringLiteral("/bin"))
                    .contains(prefix + QStringLiteral("/" TILEMONT_INSTALLED_QM_DIR)));

    EXPECT_FALSE(LoadGerman({TempPath(QStringLiteral("nowhere"))}));
    EXPECT_EQ(CommandTable::MenuTitle(CMenuPlace::File), QStringLiteral("&File"));
    EXPECT_EQ(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText), QStringLiteral("Ctrl+Z"));
    EXPECT_FALSE(CTranslationLoader().Install(QLocale(QLocale::English, QLocale::UnitedStates), {kQmDir},
                                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    EXPECT_EQ(CommandTable::MenuTitle(CMenuPlace::File), QStringLiteral("&File"));

    // The first folder that has it wins; Qt's own texts come with it.
    ASSERT_TRUE(LoadGerman({TempPath(QStringLiteral("nowhere")), kQmDir}));
    EXPECT_EQ(CommandTable::MenuTitle(CMenuPlace::File), QStringLiteral("&Datei"));
    EXPECT_EQ(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText), QStringLiteral("Strg+Z"));
}

// Every menu and every item in it speaks German, the items keep their
// accelerators, and no two items of one menu (nor two menus) share one. The
// menus shown without a template hold a part of the same items.
TEST_F(GermanTest, EveryMenuIsGermanWithItsOwnAccelerators)
{
    QStringList englishTitles;
    for (CMenuPlace place : {CMenuPlace::File, CMenuPlace::Edit, CMenuPlace::Template, CMenuPlace::Select,
                             CMenuPlace::Tool, CMenuPlace::View, CMenuPlace::Window, CMenuPlace::Help})
        englishTitles << CommandTable::MenuTitle(place);
    ASSERT_TRUE(LoadGerman({kQmDir}));

    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("t.tlm"))}));
    ASSERT_EQ(Frame().CurrentMenu(), int(IDR_TILEMTYPE));
    Frame().UpdateCommandUI();
    CheckMenus(Frame().menuBar(), englishTitles);
    EXPECT_EQ(Frame().menuBar()->actions().size(), englishTitles.size());

    // An item that names its step says it in one German sentence.
    CPolygon square;
    square.contours.push_back({QPointF(1, 1), QPointF(9, 1), QPointF(9, 7), QPointF(1, 7)});
    ActiveDoc().SetSelection(&square);
    prompts.names.push_back(QStringLiteral("Boden"));
    ASSERT_TRUE(Frame().RunCommand(ID_CREATE_AREA));
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Rückgängig: Bereich erstellen\tStrg+Z"));
    EXPECT_EQ(Action(ID_EDIT_UNDO)->toolTip(), QStringLiteral("Rückgängig: Bereich erstellen (Strg+Z)"));
}

