#include "AppTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ResourceIds.h"
#include "app/WandOptionsBar.h"
#include "document/TemplateFile.h"
#include "view/TilemontView.h"
#include "view/WandTool.h"
#include "view/WandToolOptions.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QCheckBox>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <tuple>

namespace {

using WandFlowTest = AppTest;

// A wand click on the demo room's floor in the editor gives the outline
// tilemont-cli select writes for the same pixel, vertex for vertex, and the
// options it used are kept in the settings.
TEST_F(WandFlowTest, EditorClickGivesTheCommandLinesOutline)
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
    const auto loaded = LoadTemplateFile(demo, nullptr);
    ASSERT_TRUE(loaded && loaded->picture);
    const QPoint at(loaded->picture->width() / 2, loaded->picture->height() * 9 / 10);
    const QString out = TempPath(QStringLiteral("selected.tlm"));
    const QJsonObject printed =
        QJsonDocument::fromJson(run({QStringLiteral("select"), demo, QStringLiteral("--area"), QStringLiteral("Wand"),
                                     QStringLiteral("--at"), QStringLiteral("%1,%2").arg(at.x()).arg(at.y()),
                                     QStringLiteral("--tolerance"), QStringLiteral("24"), QStringLiteral("--out"),
                                     out}))
            .object();
    const auto selected = LoadTemplateFile(out, nullptr);
    ASSERT_TRUE(selected);
    const CPolygon& expected = selected->areas.back().GetOutline();
    ASSERT_FALSE(expected.IsEmpty());
    EXPECT_EQ(printed[QStringLiteral("contours")].toInt(), int(expected.contours.size()));

    ASSERT_TRUE(Start({demo}));
    CWandToolOptions::Instance().Set({24, true, 16});
    ASSERT_TRUE(Frame().RunCommand(ID_MAGIC_WAND));
    CTilemontView* view = Frame().ActiveChild()->View();
    view->SetZoom(1, 1);
    view->UpdateScrollSizes();
    view->SetScrollPosition(std::max(0, at.x() - 50), std::max(0, at.y() - 50));
    const QPoint client = view->PictureToClient(QPointF(at) + QPointF(0.5, 0.5)).toPoint();
    ASSERT_TRUE(view->viewport()->rect().contains(client));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, client);
    EXPECT_EQ(ActiveDoc().GetSelection().GetPolygon(), expected);
    EXPECT_EQ(ActiveDoc().GetHistory().UndoText(), QStringLiteral("Selection"));
    EXPECT_FALSE(ActiveDoc().IsModified());

    CWandToolOptions::Instance().Set({40, false, 3});
    EXPECT_EQ(Store()->value(QLatin1String(AppSettings::kWandToleranceKey)).toInt(), 40);
    EXPECT_EQ(Store()->value(QLatin1String(AppSettings::kWandContiguousKey)).toBool(), false);
    EXPECT_EQ(Store()->value(QLatin1String(AppSettings::kWandMinSpeckKey)).toInt(), 3);
    CWandToolOptions::Instance().Set(SWandOptions());
}

} // namespace

namespace {

// The options bar shows only with the wand, edits the shared options both
// ways, and every control has a name a screen reader can say.
TEST_F(WandFlowTest, ToolOptionsBarFollowsTheWandAndItsOptions)
{
    ASSERT_TRUE(Start());
    CWandToolOptions::Instance().Set({32, true, 16});
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    CWandOptionsBar* bar = Frame().ToolOptionsBar();
    EXPECT_FALSE(bar->isVisible());
    ASSERT_TRUE(Frame().RunCommand(ID_MAGIC_WAND));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("Tool Options"));
    EXPECT_EQ(bar->ToleranceField()->value(), 32);
    EXPECT_EQ(bar->SpeckField()->value(), 16);
    EXPECT_TRUE(bar->ContiguousBox()->isChecked());
    for (QWidget* control : {static_cast<QWidget*>(bar->ToleranceField()), static_cast<QWidget*>(bar->ToleranceSlider()),
                             static_cast<QWidget*>(bar->SpeckField())})
        EXPECT_FALSE(control->accessibleName().isEmpty());

    bar->ToleranceSlider()->setValue(70);
    bar->ContiguousBox()->setChecked(false);
    bar->SpeckField()->setValue(5);
    EXPECT_EQ(bar->ToleranceField()->value(), 70);
    const SWandOptions set = CWandToolOptions::Instance().Get();
    EXPECT_EQ((std::tuple{set.tolerance, set.contiguous, set.minSpeck}), (std::tuple{70, false, 5}));
    EXPECT_EQ(Store()->value(QLatin1String(AppSettings::kWandToleranceKey)).toInt(), 70);

    CWandToolOptions::Instance().Set({12, true, 5});
    EXPECT_EQ(bar->ToleranceSlider()->value(), 12);
    EXPECT_TRUE(bar->ContiguousBox()->isChecked());

    ASSERT_TRUE(Frame().RunCommand(ID_HAND));
    EXPECT_FALSE(bar->isVisible());
    CWandToolOptions::Instance().Set(SWandOptions());
}

// A sideways wand drag raises the tolerance: the bar shows each value as
// the drag reaches it, keeps the last on release, and Escape drops it.
TEST_F(WandFlowTest, TheToleranceFieldFollowsAWandDrag)
{
    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("room.tlm"), QSize(300, 200))}));
    CWandToolOptions::Instance().Set({20, true, 0});
    Frame().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    ASSERT_TRUE(Frame().RunCommand(ID_MAGIC_WAND));
    CWandOptionsBar* bar = Frame().ToolOptionsBar();
    CTilemontView* view = Frame().ActiveChild()->View();
    // At its own size the picture lies under the pointer from the corner.
    Frame().RunCommand(ID_ORIGINAL_SIZE);
    ASSERT_EQ(view->GetZoomX(), 1.0f);
    QWidget* surface = view->viewport();
    const QPoint from = view->PictureToClient(QPointF(60.5, 60.5)).toPoint();
    const int step = CWandTool::kPixelsPerStep;
    QTest::mouseMove(surface, from);
    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(surface, from + QPoint(15 * step, 0));
    EXPECT_EQ(bar->ToleranceField()->value(), 35);
    EXPECT_EQ(bar->ToleranceSlider()->value(), 35);
    EXPECT_EQ(CWandToolOptions::Instance().Get().tolerance, 20) << "the drag is not taken before its release";
    QTest::mouseMove(surface, from + QPoint(30 * step, 0));
    EXPECT_EQ(bar->ToleranceField()->value(), 50);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, from + QPoint(30 * step, 0));
    EXPECT_EQ(CWandToolOptions::Instance().Get().tolerance, 50);
    EXPECT_EQ(bar->ToleranceField()->value(), 50);

    QTest::mousePress(surface, Qt::LeftButton, {}, from);
    QTest::mouseMove(surface, from - QPoint(10 * step, 0));
    EXPECT_EQ(bar->ToleranceField()->value(), 40);
    QTest::keyClick(surface, Qt::Key_Escape);
    EXPECT_EQ(bar->ToleranceField()->value(), 50);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, from - QPoint(10 * step, 0));
    EXPECT_EQ(CWandToolOptions::Instance().Get().tolerance, 50);
    CWandToolOptions::Instance().Set(SWandOptions());
}

} // namespace
