#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "document/PictureCommand.h"
#include "document/SelectionCommand.h"
#include "document/TemplateFile.h"
#include "document/TilemontDoc.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Answer = IDocumentPrompts::Answer;

// What the user can see of a template: its content and its selection.
struct State
{
    std::optional<QImage> picture;
    std::vector<CArea> areas;
    CPolygon selection;
    bool operator==(const State&) const = default;
};

void PrintTo(const State& s, std::ostream* os)
{
    *os << "picture " << (s.picture ? s.picture->width() : -1) << ", " << s.areas.size() << " areas (";
    for (const CArea& a : s.areas)
        *os << a.GetName().toStdString() << " " << a.GetOutline().contours.size() << " contours, scale "
            << a.GetScale() << "; ";
    *os << "), selection of " << s.selection.contours.size() << " contours";
}

State Take(const CTilemontDoc& doc)
{
    const CTemplateSnapshot snapshot = doc.Snapshot();
    return State{snapshot.picture, snapshot.areas, doc.GetSelection().GetPolygon()};
}

class HistoryTest : public ::testing::Test
{
protected:
    // Opens a saved template: a picture, a textured area and a plain one.
    void Open()
    {
        std::vector<CArea> areas(2);
        const CPolygon floor = RectPolygon(0, 20, 64, 48), wall = RectPolygon(0, 0, 64, 20);
        areas[0].SetName("Floor");
        areas[0].SetOutline(&floor);
        const QImage texture = QuadrantImage(8, 8);
        areas[0].SetTexture(&texture);
        areas[1].SetName("Wall");
        areas[1].SetOutline(&wall);
        const QImage picture = QuadrantImage(64, 48);
        QString error;
        ASSERT_TRUE(SaveTemplateFile(Path("room.tlm"), &picture, areas, &error)) << error.toStdString();
        ASSERT_TRUE(doc.OnOpenDocument(Path("room.tlm")));
    }
    void Select(double x0, double y0, double x1, double y1)
    {
        const CPolygon p = RectPolygon(x0, y0, x1, y1);
        doc.SetSelection(&p);
    }
    void CreateArea(const QString& name)
    {
        prompts.names.push_back(name);
        doc.OnCreateArea();
    }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    CTilemontDoc doc{prompts};
};

TEST_F(HistoryTest, EveryCommandUndoesBackToTheOpenedTemplateAndRedoesForward)
{
    Open();
    std::vector<State> states{Take(doc)};
    const auto stepped = [&] {
        states.push_back(Take(doc));
        EXPECT_EQ(doc.GetHistory().Index(), int(states.size()) - 1) << doc.GetHistory().UndoText().toStdString();
    };

    Select(5, 5, 20, 20);
    stepped();
    CreateArea("Counter");
    stepped();
    doc.SetSelectedIndex(1);
    Select(30, 10, 50, 30);
    stepped();
    doc.OnAddSelectionToArea();
    stepped();
    Select(0, 0, 10, 10);
    stepped();
    doc.OnDeleteSelectionFromArea();
    stepped();
    // A held arrow key: the repeats join the first press.
    doc.NudgeArea(doc.AreaIdAt(0), 1, 0, false);
    doc.NudgeArea(doc.AreaIdAt(0), 1, 0, true);
    doc.NudgeArea(doc.AreaIdAt(0), 1, 0, true);
    stepped();
    const QString picture = Path("other.png");
    ASSERT_TRUE(QuadrantImage(80, 60).save(picture));
    prompts.openFiles.push_back(picture);
    doc.OnSelectPicture();
    stepped();
    doc.EditArea(doc.AreaIdAt(0), "Scale", [](CArea& a) { a.SetScale(3.0); });
    stepped();
    Select(2, 2, 8, 8);
    stepped();
    doc.OnClearSelection();
    stepped();
    prompts.answers.push_back(Answer::Yes);
    doc.OnDeleteArea();
    stepped();
    EXPECT_EQ(doc.GetAreas().size(), 2u);

    const State final = states.back();
    for (int i = int(states.size()) - 2; i >= 0; --i) {
        ASSERT_TRUE(doc.GetHistory().CanUndo());
        doc.OnEditUndo();
        EXPECT_EQ(Take(doc), states[std::size_t(i)]) << "after undoing to step " << i;
    }
    EXPECT_FALSE(doc.GetHistory().CanUndo());
    EXPECT_FALSE(doc.IsModified());
    // Undoing the deletion picked the deleted area again.
    while (doc.GetHistory().CanRedo())
        doc.OnEditRedo();
    EXPECT_EQ(Take(doc), final);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(HistoryTest, ModifiedFollowsTheContentWhateverSelectionStepsLieBetween)
{
    Open();
    Select(1, 1, 5, 5);
    EXPECT_FALSE(doc.IsModified());
    CreateArea("A");
    EXPECT_TRUE(doc.IsModified());
    Select(2, 2, 6, 6);
    doc.OnEditUndo();
    doc.OnEditUndo();
    EXPECT_FALSE(doc.IsModified()) << "back at the opened content, past a selection step";

    // The save point: undoing past it modifies, redoing back clears.
    doc.OnEditRedo();
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_FALSE(doc.IsModified());
    doc.OnEditUndo();
    EXPECT_TRUE(doc.IsModified());
    doc.OnEditRedo();
    EXPECT_FALSE(doc.IsModified());

    // A new change after undoing past the save point loses the way back to
    // the saved content: modified whatever is undone next.
    doc.OnEditUndo();
    CreateArea("B");
    doc.OnEditUndo();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetAreas().size(), 2u);
}

TEST_F(HistoryTest, NudgeRunsMergeIntoOneStepThatUndoesOutlineAndSelection)
{
    Open();
    const AreaId floor = doc.AreaIdAt(0);
    const CPolygon selection = RectPolygon(1, 1, 2, 2);
    doc.SetSelection(&selection);
    const int before = doc.GetHistory().Count();
    doc.NudgeArea(floor, 0, 10, false);
    for (int i = 0; i < 20; ++i)
        doc.NudgeArea(floor, 0, 1, true);
    doc.NudgeArea(floor, 1, 0, false);
    EXPECT_EQ(doc.GetHistory().Count(), before + 2);
    EXPECT_EQ(doc.FindArea(floor)->GetOutline(), RectPolygon(1, 50, 65, 78));
    EXPECT_EQ(doc.GetHistory().UndoText(), "Move area");

    doc.OnEditUndo();
    doc.OnEditUndo();
    EXPECT_EQ(doc.FindArea(floor)->GetOutline(), RectPolygon(0, 20, 64, 48));
    EXPECT_EQ(doc.GetSelection().GetPolygon(), selection);
}

TEST_F(HistoryTest, HistoryDropsTheOldestStepsBeyondItsCountOrImageBudget)
{
    // Each picture step holds two 40 000-byte pictures, one shared with the
    // step before: 130 000 bytes keep three pictures, so two steps.
    CTemplateContent content;
    CHistory history(10, 130000);
    std::vector<QImage> pictures;
    for (int i = 0; i < 6; ++i) {
        pictures.push_back(QImage(100, 100, QImage::Format_RGB32));
        pictures.back().fill(qRgb(i, 0, 0));
    }
    for (int i = 1; i < 6; ++i)
        history.Push(std::make_unique<CPictureCommand>(content, "Picture", pictures[i - 1], pictures[i]));
    EXPECT_EQ(history.Count(), 2);
    EXPECT_LE(history.ImageBytes(), 130000);
    history.Undo();
    history.Undo();
    EXPECT_FALSE(history.CanUndo());
    ASSERT_TRUE(content.GetPicture());
    EXPECT_EQ(*content.GetPicture(), pictures[3]);
    EXPECT_EQ(history.CleanIndex(), -1);

    CHistory counted(3);
    for (int i = 0; i < 5; ++i)
        counted.Push(std::make_unique<CSelectionCommand>(content, "Select", CSelection(),
                                                         CSelection(RectPolygon(0, 0, i + 1, 1))));
    EXPECT_EQ(counted.Count(), 3);
}

} // namespace
