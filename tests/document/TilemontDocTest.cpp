#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "document/CommandIds.h"
#include "document/Messages.h"
#include "document/PictureFileFilter.h"
#include "document/TemplateFile.h"
#include "document/TilemontDoc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Answer = IDocumentPrompts::Answer;

class DocumentTest : public ::testing::Test
{
protected:
    DocumentTest() : doc(prompts, &panel) { doc.AddView(&view); }

    void Select(double x0, double y0, double x1, double y1)
    {
        const CPolygon p = RectPolygon(x0, y0, x1, y1);
        doc.SetSelection(&p);
    }
    void CreateArea(const QString& name, double x0 = 0, double y0 = 0, double x1 = 10, double y1 = 10)
    {
        Select(x0, y0, x1, y1);
        prompts.names.push_back(name);
        doc.OnCreateArea();
    }
    QString WritePicture(const QString& name, int w, int h)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(QuadrantImage(w, h).save(path));
        return path;
    }
    QByteArray FileBytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    CountingPanel panel;
    CountingView view;
    CTilemontDoc doc;
};

TEST_F(DocumentTest, CreateAreaAsksForANameAndCopiesTheSelection)
{
    CreateArea("Floor", 1, 2, 30, 40);
    CreateArea("Floor", 1, 2, 30, 40);
    ASSERT_EQ(doc.GetAreas().size(), 2u);
    EXPECT_EQ(prompts.asked.front(), "name:Enter area name|Enter area name|Area");
    EXPECT_EQ(doc.GetAreas()[0].GetOutline(), doc.GetAreas()[1].GetOutline());
    EXPECT_EQ(doc.GetAreas()[0].GetOutline(), RectPolygon(1, 2, 30, 40));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(panel.notifications, 2);
    EXPECT_EQ(panel.lastView, &view);
    EXPECT_FALSE(doc.GetSelection().IsEmpty());
    EXPECT_EQ(doc.GetSelectedArea(), nullptr);

    // Cancelling the name dialog changes nothing; an empty name is allowed.
    prompts.names.push_back(std::nullopt);
    doc.OnCreateArea();
    EXPECT_EQ(doc.GetAreas().size(), 2u);
    CreateArea("");
    EXPECT_EQ(doc.GetAreas().back().GetName(), "");
}

TEST_F(DocumentTest, ClearSelectionDoesNotModify)
{
    Select(0, 0, 5, 5);
    doc.OnClearSelection();
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.updates, 1);
}

TEST_F(DocumentTest, DeleteMiddleAreaKeepsTheOthersInOrder)
{
    CreateArea("one");
    CreateArea("two");
    CreateArea("three");
    doc.EditArea(doc.AreaIdAt(0), "edit", [](CArea& a) { a.SetScale(3.0); });
    doc.EditArea(doc.AreaIdAt(2), "edit", [](CArea& a) { a.SetShift(7, 8); });
    doc.SetModifiedFlag(false);
    doc.SetSelectedIndex(1);

    prompts.answers.push_back(Answer::No);
    doc.OnDeleteArea();
    EXPECT_EQ(doc.GetAreas().size(), 3u);
    EXPECT_FALSE(doc.IsModified());

    prompts.answers.push_back(Answer::Yes);
    doc.OnDeleteArea();
    EXPECT_EQ(prompts.asked.back(), "yn:Do you want to delete selected area?");
    ASSERT_EQ(doc.GetAreas().size(), 2u);
    EXPECT_EQ(doc.GetAreas()[0].GetName(), "one");
    EXPECT_EQ(doc.GetAreas()[1].GetName(), "three");
    EXPECT_EQ(doc.GetAreas()[0].GetScale(), 3.0);
    EXPECT_EQ(doc.GetAreas()[1].GetShiftX(), 7);
    EXPECT_EQ(doc.GetAreas()[1].GetShiftY(), 8);
    EXPECT_EQ(doc.GetSelectedArea(), nullptr);
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, SelectedAreaSurvivesTheListGrowing)
{
    CreateArea("first");
    CreateArea("picked");
    doc.SetSelectedIndex(1);
    doc.EditArea(doc.GetSelectedAreaId(), "edit", [](CArea& a) { a.SetScale(4.5); });
    for (int i = 0; i < 50; ++i)
        CreateArea(QString::number(i));
    ASSERT_NE(doc.GetSelectedArea(), nullptr);
    EXPECT_EQ(doc.GetSelectedArea()->GetName(), "picked");
    EXPECT_EQ(doc.GetSelectedArea()->GetScale(), 4.5);
    doc.SetSelectedArea(&doc.GetAreas()[10]);
    EXPECT_EQ(doc.GetSelectedIndex(), 10);
    CArea stranger;
    doc.SetSelectedArea(&stranger);
    EXPECT_EQ(doc.GetSelectedArea(), nullptr);
}

TEST_F(DocumentTest, AddAndDeleteSelectionChangeTheOutlineAndTheSelection)
{
    CreateArea("A", 0, 0, 10, 10);
    doc.SetSelectedIndex(0);
    Select(5, 0, 20, 10);
    doc.OnAddSelectionToArea();
    const CArea& area = doc.GetAreas()[0];
    EXPECT_EQ(area.GetOutlineBounds(), QRect(0, 0, 20, 10));
    EXPECT_EQ(doc.GetSelection().GetPolygon(), area.GetOutline());

    Select(-5, -5, 50, 50);
    doc.OnDeleteSelectionFromArea();
    EXPECT_TRUE(doc.GetAreas()[0].GetOutline().IsEmpty());
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_EQ(doc.GetAreas().size(), 1u);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, SelectPictureReplacesItButKeepsAreas)
{
    CreateArea("A", 1, 1, 9, 9);
    doc.EditArea(doc.AreaIdAt(0), "edit", [](CArea& a) { a.SetScale(2.0); });
    prompts.openFiles.push_back(WritePicture("p.png", 40, 30));
    doc.OnSelectPicture();
    ASSERT_TRUE(doc.GetPicture());
    EXPECT_EQ(doc.GetPicture()->size(), QSize(40, 30));
    EXPECT_EQ(prompts.filters.front(), PictureFileFilter::Filter());
    EXPECT_EQ(doc.GetAreas()[0].GetScale(), 2.0);
    EXPECT_EQ(doc.GetAreas()[0].GetOutline(), RectPolygon(1, 1, 9, 9));
    EXPECT_EQ(view.updates, 1);
}

TEST_F(DocumentTest, UnreadablePictureKeepsTheOldOne)
{
    prompts.openFiles.push_back(WritePicture("p.png", 40, 30));
    doc.OnSelectPicture();
    doc.SetModifiedFlag(false);

    const QString junk = dir.filePath("junk.png");
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture at all");
    f.close();
    prompts.openFiles.push_back(junk);
    prompts.openFiles.push_back(dir.filePath("missing.png"));
    doc.OnSelectPicture();
    doc.OnSelectPicture();

    ASSERT_TRUE(doc.GetPicture());
    EXPECT_EQ(doc.GetPicture()->size(), QSize(40, 30));
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[0].contains(junk));
    EXPECT_EQ(prompts.errors[1], Messages::kNotFound.arg(dir.filePath("missing.png")));
}

TEST_F(DocumentTest, SaveAsThenSaveWritesToTheNewName)
{
    CreateArea("A");
    const QString first = dir.filePath("first.tlm");
    prompts.saveFiles.push_back(first);
    EXPECT_TRUE(doc.OnFileSave());
    EXPECT_EQ(prompts.filters.back(), Messages::kTemplateFilter + " ext:*.tlm");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), first);

    const QString second = dir.filePath("second.tlm");
    prompts.saveFiles.push_back(second);
    EXPECT_TRUE(doc.OnFileSaveAs());
    EXPECT_EQ(doc.GetTitle(), "second.tlm");
    CreateArea("B");
    EXPECT_TRUE(doc.OnFileSave());
    EXPECT_TRUE(prompts.saveFiles.empty());
    EXPECT_EQ(ReadTemplate(FileBytes(second)).areas.size(), 2u);
    EXPECT_EQ(ReadTemplate(FileBytes(first)).areas.size(), 1u);
}

TEST_F(DocumentTest, FailedSaveKeepsThePreviousFileAndTheModifiedFlag)
{
    CreateArea("A");
    const QString path = dir.filePath("t.tlm");
    prompts.saveFiles.push_back(path);
    ASSERT_TRUE(doc.OnFileSave());
    const QByteArray before = FileBytes(path);

    // A picture the encoder cannot take (larger than JPEG allows) fails the
    // save as a whole.
    doc.SetPicture(std::make_unique<QImage>(70000, 1, QImage::Format_RGB32));
    CreateArea("B");
    EXPECT_FALSE(doc.OnFileSave());
    EXPECT_EQ(prompts.errors.back(), Messages::kFailedToSave);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"t.tlm"});
}

TEST_F(DocumentTest, SaveIntoAMissingFolderIsReported)
{
    CreateArea("A");
    const QString path = dir.filePath("no/such/folder/t.tlm");
    prompts.saveFiles.push_back(path);
    EXPECT_FALSE(doc.OnFileSave());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(path));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
}

TEST_F(DocumentTest, SaveChangesQuery)
{
    EXPECT_TRUE(doc.SaveModified()); // not modified: nothing asked
    EXPECT_TRUE(prompts.asked.isEmpty());

    doc.SetTitle("Tilem1");
    CreateArea("A");
    prompts.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(prompts.asked.back(), "ync:Save changes to Tilem1?");

    prompts.answers.push_back(Answer::No);
    EXPECT_TRUE(doc.SaveModified());

    // Yes, then cancelling the file dialog, keeps the document open.
    prompts.answers.push_back(Answer::Yes);
    prompts.saveFiles.push_back(std::nullopt);
    EXPECT_FALSE(doc.SaveModified());

    // Yes with a save that fails keeps it open too.
    prompts.answers.push_back(Answer::Yes);
    prompts.saveFiles.push_back(dir.filePath("missing/x.tlm"));
    EXPECT_FALSE(doc.SaveModified());

    prompts.answers.push_back(Answer::Yes);
    prompts.saveFiles.push_back(dir.filePath("x.tlm"));
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_FALSE(doc.IsModified());

    CreateArea("B");
    prompts.answers.push_back(Answer::Cancel);
    doc.SaveModified();
    EXPECT_EQ(prompts.asked.back(), "ync:Save changes to " + dir.filePath("x.tlm") + "?");
}

TEST_F(DocumentTest, OpenReplacesContentsOrReportsAndKeepsThem)
{
    const QImage picture = QuadrantImage(32, 16);
    CArea stored;
    stored.SetName("Stored");
    const QString path = dir.filePath("in.tlm");
    QString error;
    ASSERT_TRUE(SaveTemplateFile(path, &picture, {stored}, &error));

    CreateArea("Mine");
    doc.SetSelectedIndex(0);
    QFile truncated(dir.filePath("cut.tlm"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(FileBytes(path).left(20));
    truncated.close();
    EXPECT_FALSE(doc.OnOpenDocument(truncated.fileName()));
    EXPECT_EQ(prompts.errors.back(), Messages::kPastEnd.arg(truncated.fileName()));
    ASSERT_EQ(doc.GetAreas().size(), 1u);
    EXPECT_EQ(doc.GetAreas()[0].GetName(), "Mine");

    const int notified = panel.notifications;
    EXPECT_TRUE(doc.OnOpenDocument(path));
    ASSERT_EQ(doc.GetAreas().size(), 1u);
    EXPECT_EQ(doc.GetAreas()[0].GetName(), "Stored");
    ASSERT_TRUE(doc.GetPicture());
    EXPECT_EQ(doc.GetPicture()->size(), QSize(32, 16));
    EXPECT_EQ(doc.GetSelectedArea(), nullptr);
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "in.tlm");
    EXPECT_EQ(panel.notifications, notified + 1);
}

// A file cut short after its picture opens with the picture and the areas
// that are whole, and says what was lost; cut inside the picture it is
// refused as before.
TEST_F(DocumentTest, ATemplateCutShortOpensWithWhatIsWhole)
{
    const QImage picture = QuadrantImage(32, 16);
    std::vector<CArea> areas(3);
    for (int i = 0; i < 3; ++i) {
        areas[std::size_t(i)].SetName(QStringLiteral("Area %1").arg(i + 1));
        const CPolygon outline{{CContour{QPointF(i, 0), QPointF(i + 8, 0), QPointF(i + 8, 8)}}};
        areas[std::size_t(i)].SetOutline(&outline);
    }
    const QString whole = dir.filePath("whole.tlm");
    QString error;
    ASSERT_TRUE(SaveTemplateFile(whole, &picture, areas, &error));
    const QByteArray bytes = FileBytes(whole);
    // Where the third area starts: the file of two areas is the same bytes
    // up to there but for its count of areas (four bytes after the picture).
    const QString two = dir.filePath("two.tlm");
    ASSERT_TRUE(SaveTemplateFile(two, &picture, {areas[0], areas[1]}, &error));
    const QByteArray twoBytes = FileBytes(two);
    qsizetype third = 0;
    while (third < twoBytes.size() && twoBytes[third] == bytes[third])
        ++third;
    ASSERT_EQ(bytes[third], '\x03');
    for (third += 4; third < twoBytes.size() && twoBytes[third] == bytes[third];)
        ++third;
    // The two-area file may end right there (no block after its areas).
    ASSERT_LE(third, twoBytes.size());
    ASSERT_LT(third + 6, bytes.size());

    const QString cut = dir.filePath("cut.tlm");
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.left(third + 6));
    file.close();
    EXPECT_TRUE(doc.OnOpenDocument(cut));
    ASSERT_TRUE(doc.GetPicture());
    EXPECT_EQ(doc.GetPicture()->size(), picture.size());
    ASSERT_EQ(doc.GetAreas().size(), 2u);
    EXPECT_EQ(doc.GetAreas()[1].GetName(), QStringLiteral("Area 2"));
    EXPECT_EQ(doc.GetAreas()[1].GetOutline(), areas[1].GetOutline());
    EXPECT_EQ(prompts.errors.back(), Messages::kAreasLost.arg(cut).arg(2).arg(3));
    // A reader for scripts still refuses it: nothing is salvaged silently.
    EXPECT_FALSE(LoadTemplateFile(cut, &error));
    EXPECT_EQ(error, Messages::kPastEnd.arg(cut));
}

TEST_F(DocumentTest, EmptyFileOpensAsNewOnlyWhenAsked)
{
    const QString empty = dir.filePath("empty.tlm");
    QFile f(empty);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(doc.OnOpenDocument(empty));
    EXPECT_EQ(prompts.errors.back(), Messages::kPastEnd.arg(empty));
    EXPECT_TRUE(doc.OnOpenDocument(empty, true));
    EXPECT_TRUE(doc.GetAreas().empty());
    EXPECT_EQ(doc.GetPicture(), nullptr);
}

// A damaged perspective block costs its values, not the template, and the
// user hears of it once, after the template opened.
TEST_F(DocumentTest, DamagedExtensionOpensWithOneWarning)
{
    CArea stored;
    stored.SetName("Tilted");
    stored.SetPerspective(true);
    const QString path = dir.filePath("tilted.tlm");
    QString error;
    ASSERT_TRUE(SaveTemplateFile(path, nullptr, {stored}, &error));
    QByteArray bytes = FileBytes(path);
    bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] ^ 0x5A); // the checksum
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const qsizetype before = prompts.errors.size();
    EXPECT_TRUE(doc.OnOpenDocument(path));
    ASSERT_EQ(doc.GetAreas().size(), 1u);
    EXPECT_EQ(doc.GetAreas()[0].GetName(), "Tilted");
    EXPECT_FALSE(doc.GetAreas()[0].IsPerspective());
    ASSERT_EQ(prompts.errors.size(), before + 1);
    EXPECT_EQ(prompts.errors.back(), Messages::kExtensionSkipped.arg(path));

    ASSERT_TRUE(SaveTemplateFile(path, nullptr, {stored}, &error));
    EXPECT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(doc.GetAreas()[0].IsPerspective());
    EXPECT_EQ(prompts.errors.size(), before + 1);
}

} // namespace
