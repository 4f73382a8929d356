#include "AppTestSupport.h"

#include "app/ResourceIds.h"
#include "document/Messages.h"
#include "view/TilemontView.h"

#include <QFileInfo>
#include <QMdiArea>

namespace {
const QString kSaveChangesTilem1 = QStringLiteral("ync:Save changes to Tilem1?");
}

TEST_F(AppTest, NewNamesTemplatesTilem1Tilem2InTurn)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    ASSERT_EQ(App().Documents().size(), 2);
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("Tilem2"));
    EXPECT_FALSE(ActiveDoc().IsModified());
    EXPECT_EQ(Frame().ActiveChild()->windowTitle(), QStringLiteral("Tilem2[*]"));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Tilemont - Tilem2[*]"));
    // Numbers are not reused after a close.
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    FlushDeletes();
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("Tilem3"));
}

TEST_F(AppTest, OpenReadsTheChosenFileIntoANewWindowEvenWhenItIsOpenAlready)
{
    const QString path = WriteTemplate("kitchen.tlm", QSize(20, 10));
    ASSERT_TRUE(Start());
    prompts.openFiles = {path, path};
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    EXPECT_EQ(prompts.filters, (QStringList{Messages::kTemplateFilter, Messages::kTemplateFilter}));

    ASSERT_EQ(App().Documents().size(), 3);
    CTilemontDoc& first = App().Documents()[1]->Doc();
    CTilemontDoc& second = App().Documents()[2]->Doc();
    EXPECT_NE(&first, &second);
    for (CTilemontDoc* doc : {&first, &second}) {
        EXPECT_EQ(doc->GetPathName(), path);
        EXPECT_EQ(doc->GetTitle(), QStringLiteral("kitchen.tlm"));
        EXPECT_FALSE(doc->IsModified());
        ASSERT_NE(doc->GetPicture(), nullptr);
        EXPECT_EQ(doc->GetPicture()->size(), QSize(20, 10));
    }
    EXPECT_EQ(App().RecentFiles().GetCount(), 1);
    EXPECT_EQ(Action(ID_FILE_MRU_FIRST)->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(path));

    // The recent-file list opens the standard way: the open window comes forward.
    Frame().MdiArea()->setActiveSubWindow(App().Documents()[0]->OpenFrames().front());
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_MRU_FIRST));
    EXPECT_EQ(App().Documents().size(), 3);
    EXPECT_EQ(ActiveDoc().GetPathName(), path);
}

TEST_F(AppTest, OpenThatFailsOrIsCancelledOpensNoWindow)
{
    const QString empty = TempPath("empty.tlm");
    QFile(empty).open(QIODevice::WriteOnly);
    ASSERT_TRUE(Start());
    prompts.openFiles = {std::nullopt, empty};
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    EXPECT_TRUE(prompts.errors.isEmpty());
    // Through "Open..." an empty file is not a template.
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(prompts.errors[0], Messages::kPastEnd.arg(empty));
    EXPECT_EQ(App().Documents().size(), 1);
    EXPECT_EQ(Frame().ChildFrames().size(), 1);
    EXPECT_EQ(App().RecentFiles().GetCount(), 0);
}

TEST_F(AppTest, RecentFileThatNoLongerOpensLeavesTheList)
{
    const QString gone = TempPath("gone.tlm");
    const QString kept = WriteTemplate("kept.tlm");
    Store()->setValue("Recent File List/File1", gone);
    Store()->setValue("Recent File List/File2", kept);
    ASSERT_TRUE(Start());
    ASSERT_EQ(App().RecentFiles().GetCount(), 2);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_MRU_FIRST));
    EXPECT_EQ(prompts.errors.size(), 1);
    EXPECT_EQ(App().RecentFiles().Files(), QStringList{kept});
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_MRU_FIRST));
    EXPECT_EQ(ActiveDoc().GetPathName(), kept);
    App().ExitInstance();
    EXPECT_EQ(Store()->value("Recent File List/File1").toString(), kept);
    EXPECT_FALSE(Store()->contains("Recent File List/File2"));
}

TEST_F(AppTest, SaveAndSaveAsWriteTheFileAndTheWindowShowsTheNewName)
{
    ASSERT_TRUE(Start());
    auto picture = std::make_unique<QImage>(30, 20, QImage::Format_RGB32);
    picture->fill(Qt::red);
    ActiveDoc().SetPicture(std::move(picture));
    ActiveDoc().SetModifiedFlag();

    const QString first = TempPath("first.tlm");
    prompts.saveFiles = {first};
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_EQ(prompts.filters.last(), Messages::kTemplateFilter + " ext:" + Messages::kTemplateDefaultExt);
    EXPECT_TRUE(QFileInfo(first).isFile());
    EXPECT_FALSE(ActiveDoc().IsModified());
    EXPECT_EQ(Frame().ActiveChild()->windowTitle(), QStringLiteral("first.tlm[*]"));

    const QString second = TempPath("second.tlm");
    prompts.saveFiles = {second};
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE_AS));
    EXPECT_EQ(Frame().ActiveChild()->windowTitle(), QStringLiteral("second.tlm[*]"));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Tilemont - second.tlm[*]"));
    // "Save" now goes to the new name without asking.
    QFile::remove(second);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    ASSERT_TRUE(QFileInfo(second).isFile());

    prompts.openFiles = {second};
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_OPEN));
    ASSERT_NE(ActiveDoc().GetPicture(), nullptr);
    EXPECT_EQ(ActiveDoc().GetPicture()->size(), QSize(30, 20));
}

TEST_F(AppTest, ClosingAModifiedTemplateAsksAndCancelKeepsItOpen)
{
    ASSERT_TRUE(Start());
    ActiveDoc().SetModifiedFlag();
    prompts.answers = {IDocumentPrompts::Answer::Cancel};
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    EXPECT_EQ(prompts.asked, QStringList{kSaveChangesTilem1});
    FlushDeletes();
    ASSERT_EQ(App().Documents().size(), 1);
    ASSERT_NE(Frame().ActiveChild(), nullptr);

    // The window's own close button asks the same.
    prompts.answers = {IDocumentPrompts::Answer::Cancel};
    EXPECT_FALSE(Frame().ActiveChild()->close());
    FlushDeletes();
    ASSERT_EQ(App().Documents().size(), 1);

    prompts.answers = {IDocumentPrompts::Answer::No};
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    FlushDeletes();
    EXPECT_TRUE(App().Documents().isEmpty());
    EXPECT_EQ(Frame().CurrentMenu(), int(IDR_MAINFRAME));
}

TEST_F(AppTest, NewWindowShowsTheSameDocumentAndOnlyTheLastWindowAsks)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    ASSERT_EQ(App().Documents().size(), 1);
    const auto frames = App().Documents()[0]->OpenFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(&frames[0]->View()->GetDocument(), &frames[1]->View()->GetDocument());
    Frame().UpdateCommandUI();
    EXPECT_EQ(frames[0]->windowTitle(), QStringLiteral("Tilem1:1[*]"));
    EXPECT_EQ(frames[1]->windowTitle(), QStringLiteral("Tilem1:2[*]"));

    ActiveDoc().SetModifiedFlag();
    // No answer is scripted: closing one of two windows must not ask.
    EXPECT_TRUE(frames[1]->close());
    FlushDeletes();
    Frame().UpdateCommandUI();
    EXPECT_EQ(frames[0]->windowTitle(), QStringLiteral("Tilem1[*]"));

    prompts.answers = {IDocumentPrompts::Answer::Cancel};
    EXPECT_FALSE(frames[0]->close());
    EXPECT_EQ(prompts.asked, QStringList{kSaveChangesTilem1});
}

// Several unsaved templates: one question names them all; Save All saves
// every one (a new one asks for its name), and a cancelled save, like
// Cancel, keeps the editor open with nothing lost.
TEST_F(AppTest, ExitAsksOnceAboutEveryModifiedTemplateAndCanBeStopped)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    for (CDocumentTarget* doc : App().Documents())
        doc->Doc().SetModifiedFlag();
    const QString both = QStringLiteral("ync:Save the changes to these templates?\n\nTilem1\nTilem2");

    prompts.answers = {IDocumentPrompts::Answer::Cancel};
    ASSERT_TRUE(Frame().RunCommand(ID_APP_EXIT));
    EXPECT_EQ(prompts.asked, QStringList{both});
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(App().Documents().size(), 2);

    // Save All with the first save dialog cancelled would lose the work.
    prompts.asked.clear();
    prompts.answers = {IDocumentPrompts::Answer::Yes};
    prompts.saveFiles = {std::nullopt};
    ASSERT_TRUE(Frame().RunCommand(ID_APP_EXIT));
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(prompts.asked, QStringList{both});

    // One left unsaved: its own question, as closing its window asks.
    App().Documents().front()->Doc().SetModifiedFlag(false);
    prompts.asked.clear();
    prompts.answers = {IDocumentPrompts::Answer::Cancel};
    ASSERT_TRUE(Frame().RunCommand(ID_APP_EXIT));
    EXPECT_EQ(prompts.asked, QStringList{"ync:Save changes to Tilem2?"});

    App().Documents().front()->Doc().SetModifiedFlag();
    prompts.answers = {IDocumentPrompts::Answer::Yes};
    prompts.saveFiles = {TempPath(QStringLiteral("one.tlm")), TempPath(QStringLiteral("two.tlm"))};
    ASSERT_TRUE(Frame().RunCommand(ID_APP_EXIT));
    EXPECT_FALSE(Frame().isVisible());
    FlushDeletes();
    EXPECT_TRUE(App().Documents().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(TempPath(QStringLiteral("one.tlm"))));
    EXPECT_TRUE(QFileInfo::exists(TempPath(QStringLiteral("two.tlm"))));
    EXPECT_TRUE(prompts.answers.empty());
}

// Discard All leaves at once, saving nothing.
TEST_F(AppTest, ExitCanDiscardEveryModifiedTemplateAtOnce)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    for (CDocumentTarget* doc : App().Documents())
        doc->Doc().SetModifiedFlag();
    prompts.answers = {IDocumentPrompts::Answer::No};
    ASSERT_TRUE(Frame().RunCommand(ID_APP_EXIT));
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_TRUE(prompts.saveFiles.empty());
}
