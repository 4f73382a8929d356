#include "AppTestSupport.h"

#include "app/IRealSizePrompt.h"
#include "app/PerspectiveCommands.h"
#include "app/ResourceIds.h"
#include "app/StatusBar.h"
#include "document/Messages.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "view/TilemontView.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <deque>
#include <functional>
#include <thread>

namespace {

// Answers the Real Size dialog from a script, each answer made from what
// the dialog was shown, as a user edits it; keeps what it was shown.
struct ScriptedRealSize : IRealSizePrompt
{
    using Reply = std::function<Answer(const CRealSize& shown)>;
    std::deque<Reply> answers;
    std::vector<CRealSize> shown;
    Answer AskRealSize(const CRealSize& values, const QString&) override
    {
        shown.push_back(values);
        if (answers.empty())
            throw std::logic_error("unscripted Real Size dialog");
        const Reply reply = answers.front();
        answers.pop_front();
        return reply(values);
    }
    static Reply Plain(IRealSizePrompt::Action action, CRealSize values = {})
    {
        return [action, values](const CRealSize&) { return Answer{action, values}; };
    }
};

class PerspectiveFlowTest : public AppTest
{
protected:
    // A template with a plain picture and one textured area, picked in the
    // Areas panel as the user picks it.
    void StartWithFloor()
    {
        ASSERT_TRUE(Start());
        ActiveDoc().SetPicture(std::make_unique<QImage>(PlainPicture()));
        CArea floor;
        floor.SetName(QStringLiteral("Floor"));
        const CPolygon outline{{{{20, 20}, {220, 20}, {220, 160}, {20, 160}}}};
        floor.SetOutline(&outline);
        QImage texture(80, 40, QImage::Format_RGB32);
        texture.fill(0xFF806040);
        floor.SetTexture(&texture);
        m_id = ActiveDoc().AddArea(std::move(floor), QStringLiteral("Create area"));
        Frame().NotifyAreasPanel(&ActiveDoc(), Frame().ActiveChild()->View(), true);
        Panel().Controls().areaList->setCurrentRow(0);
        ASSERT_EQ(ActiveDoc().GetSelectedAreaId(), m_id);
        QCoreApplication::processEvents();
        m_undoBefore = UndoText();
    }
    static QImage PlainPicture()
    {
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(0xFF808080);
        return picture;
    }
    // The demo room opened in the editor, its floor picked in the panel,
    // bare of corners as a floor just outlined is.
    AreaId OpenDemoFloor()
    {
        QProcess cli;
        cli.start(QStringLiteral(TILEMONT_CLI), {QStringLiteral("demo"), TempPath(QStringLiteral("demo"))});
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_TRUE(Start({TempPath(QStringLiteral("demo/templates/demo.tlm"))}));
        Frame().NotifyAreasPanel(&ActiveDoc(), Frame().ActiveChild()->View(), true);
        Panel().Controls().areaList->setCurrentRow(0);
        const AreaId floor = ActiveDoc().GetSelectedAreaId();
        ActiveDoc().EditArea(floor, QStringLiteral("Outline"), [](CArea& a) {
            a.GetSkewCorners() = {};
            a.SetSkewApplied(false);
        });
        return floor;
    }
    CAreasBar& Panel() { return *Frame().AreasPanel(); }
    const CArea& Floor() { return *ActiveDoc().FindArea(m_id); }
    QString UndoText() { return Action(ID_EDIT_UNDO)->text(); }

    AreaId m_id = 0;
    // The history's last step once the area is picked.
    QString m_undoBefore;
};

} // namespace

// The panel's Perspective box is one undoable step, and shows what undo and
// redo make of the area.
TEST_F(PerspectiveFlowTest, PerspectiveBoxIsOneStepThatFollowsUndo)
{
    StartWithFloor();
    QCheckBox* box = Panel().Controls().perspective;
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Perspective"));
    EXPECT_FALSE(box->isChecked());
    box->click();
    EXPECT_TRUE(Floor().IsPerspective());
    EXPECT_EQ(UndoText(), QStringLiteral("&Undo Perspective\tCtrl+Z"));
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_FALSE(Floor().IsPerspective());
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(UndoText(), m_undoBefore);
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_REDO));
    EXPECT_TRUE(box->isChecked());
}

// "Fit Perspective" on a picture without straight edges: the message names
// the area, no step is made, the status bar reports no fit. Without a
// picked area the command is off.
TEST_F(PerspectiveFlowTest, FitWithoutEdgesTellsAndLeavesTheTemplate)
{
    StartWithFloor();
    EXPECT_TRUE(Action(ID_FIT_PERSPECTIVE)->isEnabled());
    const CArea before = Floor();
    const QString undo = UndoText();
    Panel().Controls().fitPerspective->click();
    EXPECT_EQ(prompts.errors, QStringList{Messages::kNoPerspective.arg(QStringLiteral("Floor"))});
    EXPECT_EQ(Floor(), before);
    EXPECT_EQ(UndoText(), undo);
    EXPECT_TRUE(Frame().StatusBar()->currentMessage().isEmpty());

    ActiveDoc().SetSelectedArea(nullptr);
    EXPECT_FALSE(Action(ID_FIT_PERSPECTIVE)->isEnabled());
    EXPECT_FALSE(Action(ID_REAL_SIZE)->isEnabled());
}

// On the demo room the panel's "Fit Perspective" is one step that lays the
// floor in perspective, and gives the very corners and canvas that
// tilemont-cli fit-perspective prints and writes for the same template.
TEST_F(PerspectiveFlowTest, FitOnTheDemoRoomIsOneStepWithTheCommandLinesCorners)
{
    const auto run = [](const QStringList& arguments) {
        QProcess cli;
        cli.start(QStringLiteral(TILEMONT_CLI), arguments);
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        return cli.readAllStandardOutput();
    };
    run({QStringLiteral("demo"), TempPath(QStringLiteral("demo"))});
    const QString demo = TempPath(QStringLiteral("demo/templates/demo.tlm"));
    const QJsonObject printed =
        QJsonDocument::fromJson(run({QStringLiteral("fit-perspective"), demo, QStringLiteral("--area"),
                                     QStringLiteral("Floor"), QStringLiteral("--out"), TempPath("fitted.tlm")}))
            .object();
    ASSERT_TRUE(printed.contains(QStringLiteral("corners")));

    ASSERT_TRUE(Start({demo}));
    Frame().NotifyAreasPanel(&ActiveDoc(), Frame().ActiveChild()->View(), true);
    Panel().Controls().areaList->setCurrentRow(0);
    const AreaId floor = ActiveDoc().GetSelectedAreaId();
    ASSERT_EQ(ActiveDoc().FindArea(floor)->GetName(), QStringLiteral("Floor"));
    // The demo's floor comes fitted: laid flat again first.
    ActiveDoc().EditArea(floor, QStringLiteral("flat"), [](CArea& a) {
        a.SetPerspective(false);
        a.ResetSkew();
    });
    const CArea before = *ActiveDoc().FindArea(floor);
    Panel().Controls().fitPerspective->click();
    const CArea& fitted = *ActiveDoc().FindArea(floor);
    EXPECT_TRUE(fitted.IsPerspective());
    EXPECT_TRUE(fitted.IsSkewApplied());
    EXPECT_TRUE(Panel().Controls().perspective->isChecked());
    EXPECT_TRUE(UndoText().contains(Messages::kStepFitPerspective)) << UndoText().toStdString();
    EXPECT_TRUE(Frame().StatusBar()->currentMessage().contains(QStringLiteral("focal length")));

    const QJsonArray corners = printed[QStringLiteral("corners")].toArray();
    ASSERT_EQ(corners.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QJsonArray c = corners[i].toArray();
        EXPECT_EQ(fitted.GetSkewCorners()[std::size_t(i)], QPoint(c[0].toInt(), c[1].toInt())) << "corner " << i;
    }
    const QJsonArray canvas = printed[QStringLiteral("canvas")].toArray();
    EXPECT_EQ(fitted.WarpCanvasSize(), QSize(canvas[0].toInt(), canvas[1].toInt()));
    auto written = LoadTemplateFile(TempPath("fitted.tlm"), nullptr);
    ASSERT_TRUE(written);
    // Everything the fit set, as the file holds it (the texture's pixels
    // pass through the file's compression once more, so they are not
    // compared).
    const CArea& stored = written->areas[0];
    EXPECT_EQ(stored.GetSkewCorners(), fitted.GetSkewCorners());
    EXPECT_EQ(stored.GetInitialRect(), fitted.GetInitialRect());
    EXPECT_EQ(stored.IsPerspective(), fitted.IsPerspective());
    EXPECT_EQ(stored.IsSkewApplied(), fitted.IsSkewApplied());
    EXPECT_EQ(stored.GetScale(), fitted.GetScale());
    EXPECT_EQ(stored.GetRotation(), fitted.GetRotation());

    ActiveDoc().OnEditUndo();
    EXPECT_EQ(*ActiveDoc().FindArea(floor), before);
}

// The fit runs on a worker, not the window's thread. Cancel, and the area
// changing while the fit runs, both leave the template as it was: the
// area's values and the history (the edit made meanwhile is the last step,
// with no "Fit perspective" after it), and the Skew box stays off.
TEST_F(PerspectiveFlowTest, FitRunsBesideTheWindowAndCancelOrAChangeLeavesTheTemplate)
{
    const AreaId floor = OpenDemoFloor();
    CTilemontDoc& doc = ActiveDoc();
    const CArea before = *doc.FindArea(floor);
    const int steps = doc.GetHistory().Count();
    const QString undo = UndoText();
    const std::thread::id window = std::this_thread::get_id();
    std::atomic<bool> besideTheWindow{true};
    std::atomic<int> reports{0};
    Frame().Perspective().SetFitProbe([&](int) {
        besideTheWindow = besideTheWindow && std::this_thread::get_id() != window;
        ++reports;
        return false;
    });
    Panel().Controls().fitPerspective->click();
    EXPECT_GT(reports, 0);
    EXPECT_TRUE(besideTheWindow);
    EXPECT_EQ(*doc.FindArea(floor), before);
    EXPECT_EQ(doc.GetHistory().Count(), steps);
    EXPECT_EQ(UndoText(), undo);
    EXPECT_FALSE(Panel().Controls().skew->isChecked());
    EXPECT_TRUE(prompts.errors.isEmpty());

    // The user turns the texture while the fit is still looking for lines.
    Frame().Perspective().SetFitProbe([&](int percent) {
        if (percent == 0)
            QMetaObject::invokeMethod(
                &Frame(), [&] { doc.EditArea(floor, QStringLiteral("Turn"), [](CArea& a) { a.SetRotation(45.0); }); },
                Qt::BlockingQueuedConnection);
        return true;
    });
    Panel().Controls().fitPerspective->click();
    CArea turned = before;
    turned.SetRotation(45.0);
    EXPECT_EQ(*doc.FindArea(floor), turned);
    EXPECT_EQ(doc.GetHistory().Count(), steps + 1);
    EXPECT_EQ(UndoText(), QStringLiteral("&Undo Turn\tCtrl+Z"));
    EXPECT_FALSE(Panel().Controls().skew->isChecked());
    Frame().Perspective().SetFitProbe({});
}

// After a fit the window edits the fitted corners at once: the panel's Skew
// box is on, the view is in skew mode on the floor with the grid drawn and
// the fitted warp already kept. Undo gives the bare floor back and, its
// corners gone, ends the mode without a step of its own, so redo still
// brings the fit back.
TEST_F(PerspectiveFlowTest, FitShowsTheCornersForEditingAndUndoEndsTheMode)
{
    const AreaId floor = OpenDemoFloor();
    CTilemontDoc& doc = ActiveDoc();
    const CArea before = *doc.FindArea(floor);
    const QString undo = UndoText();
    CTilemontView* view = Frame().ActiveChild()->View();
    Panel().Controls().fitPerspective->click();
    const CArea fitted = *doc.FindArea(floor);
    ASSERT_TRUE(fitted.IsPerspective());
    EXPECT_TRUE(Panel().Controls().skew->isChecked());
    EXPECT_TRUE(view->IsSkewMode());
    EXPECT_EQ(view->GetEditedAreaId(), floor);
    EXPECT_TRUE(view->ShowsPerspectiveGrid());
    EXPECT_EQ(view->EditSession()->SkewEditing(floor).edit, true);
    EXPECT_TRUE(doc.Warps().FindExact(floor, fitted.WarpInputs()));
    EXPECT_TRUE(UndoText().contains(Messages::kStepFitPerspective));

    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_EQ(*doc.FindArea(floor), before);
    EXPECT_EQ(UndoText(), undo);
    EXPECT_FALSE(Panel().Controls().skew->isChecked());
    EXPECT_FALSE(view->IsSkewMode());
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_REDO));
    EXPECT_EQ(*doc.FindArea(floor), fitted);
}

// "Real Size...": the user asks to draw the line, drags it in the view, the
// dialog comes back with it, and OK makes one "Real size" step whose scale
// shows the texture at its real width.
TEST_F(PerspectiveFlowTest, RealSizeWithADraggedLineIsOneStepAtRealScale)
{
    StartWithFloor();
    ScriptedRealSize dialog;
    Frame().Perspective().SetRealSizePrompt(&dialog);
    dialog.answers.push_back(ScriptedRealSize::Plain(IRealSizePrompt::Action::DrawLine, CRealSize{QLineF(), 0.0, 30.0}));
    ASSERT_TRUE(Action(ID_REAL_SIZE)->isEnabled());
    ASSERT_TRUE(Frame().RunCommand(ID_REAL_SIZE));
    ASSERT_EQ(dialog.shown.size(), 1u);
    EXPECT_TRUE(dialog.shown[0].IsEmpty());

    CTilemontView* view = Frame().ActiveChild()->View();
    // Pixel for pixel, so that the dragged client points are whole picture
    // points (the window opened with the picture fitted into it).
    ASSERT_TRUE(Frame().RunCommand(ID_ORIGINAL_SIZE));
    QWidget* port = view->viewport();
    const QPoint from = view->PictureToClient(QPointF(30, 50)).toPoint();
    const QPoint to = view->PictureToClient(QPointF(150, 50)).toPoint();
    QTest::mousePress(port, Qt::LeftButton, {}, from);
    QTest::mouseMove(port, (from + to) / 2);
    QTest::mouseMove(port, to);
    // Before the release nothing is asked yet.
    EXPECT_EQ(dialog.shown.size(), 1u);
    dialog.answers.push_back([](const CRealSize& shown) {
        CRealSize typed = shown;
        typed.referenceCm = 60.0;
        return IRealSizePrompt::Answer{IRealSizePrompt::Action::Apply, typed};
    });
    QTest::mouseRelease(port, Qt::LeftButton, {}, to);
    QCoreApplication::processEvents();
    ASSERT_EQ(dialog.shown.size(), 2u);
    const QLineF line(QPointF(30, 50), QPointF(150, 50));
    EXPECT_EQ(dialog.shown[1].reference, line);
    EXPECT_EQ(dialog.shown[1].textureWidthCm, 30.0);
    // The tool the user had is back.
    EXPECT_NE(view->GetActiveTool(), view->GetTool(CTilemontView::ReferenceLineTool));

    EXPECT_EQ(UndoText(), QStringLiteral("&Undo Real size\tCtrl+Z"));
    EXPECT_EQ(Floor().GetRealSize(), (CRealSize{line, 60.0, 30.0}));
    // 30 cm of texture over 80 px; the line's length in pixels is 60 cm.
    EXPECT_DOUBLE_EQ(Floor().GetScale(), 30.0 * line.length() / (60.0 * 80.0));
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_TRUE(Floor().GetRealSize().IsEmpty());
    EXPECT_EQ(Floor().GetScale(), 1.0);
    Frame().Perspective().SetRealSizePrompt(nullptr);
}

// Escape while drawing abandons the line: the dialog comes back with the
// line it had.
TEST_F(PerspectiveFlowTest, EscapeAbandonsTheReferenceLine)
{
    StartWithFloor();
    ScriptedRealSize dialog;
    Frame().Perspective().SetRealSizePrompt(&dialog);
    dialog.answers.push_back(ScriptedRealSize::Plain(IRealSizePrompt::Action::DrawLine));
    ASSERT_TRUE(Frame().RunCommand(ID_REAL_SIZE));
    CTilemontView* view = Frame().ActiveChild()->View();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseMove(view->viewport(), QPoint(90, 60));
    dialog.answers.push_back(ScriptedRealSize::Plain(IRealSizePrompt::Action::Cancel));
    QTest::keyClick(view, Qt::Key_Escape);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(90, 60));
    QCoreApplication::processEvents();
    ASSERT_EQ(dialog.shown.size(), 2u);
    EXPECT_TRUE(dialog.shown[1].IsEmpty());
    EXPECT_EQ(UndoText(), m_undoBefore);
    Frame().Perspective().SetRealSizePrompt(nullptr);
}

// View > Perspective Grid reaches every view and is remembered at once.
TEST_F(PerspectiveFlowTest, PerspectiveGridIsRememberedAndReachesTheViews)
{
    ASSERT_TRUE(Start());
    EXPECT_FALSE(Action(ID_VIEW_PERSPECTIVE_GRID)->isChecked());
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_PERSPECTIVE_GRID));
    EXPECT_TRUE(Action(ID_VIEW_PERSPECTIVE_GRID)->isChecked());
    EXPECT_TRUE(Frame().ActiveChild()->View()->IsPerspectiveGrid());
    EXPECT_EQ(Store()->value(QLatin1String(AppSettings::kPerspectiveGridKey)), QVariant(true));
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    EXPECT_TRUE(Frame().ActiveChild()->View()->IsPerspectiveGrid());
}
