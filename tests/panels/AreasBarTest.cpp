#include "controls/SpinButtons.h"
#include "document/ScriptedPrompts.h"
#include "document/TilemontDoc.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "panels/TextureBrowser.h"
#include "view/TilemontView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

CPolygon Rect(int x, int y, int w, int h)
{
    CPolygon p;
    p.contours.push_back({{double(x), double(y)}, {double(x + w), double(y)}, {double(x + w), double(y + h)},
                          {double(x), double(y + h)}});
    return p;
}

QImage Solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The placement fields as the panel shows them.
QStringList Fields(const CAreasBar& panel)
{
    const CAreasBarControls& c = panel.Controls();
    return {c.rotation->text(), c.shiftX->text(), c.shiftY->text(), c.scale->text()};
}

} // namespace

// A textures folder with two groups, a template with two areas on a
// picture, one view on it and the panel pointed at it.
class AreasBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        const QDir root(m_tmp.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("textures/stone")) && root.mkpath(QStringLiteral("textures/wood")));
        ASSERT_TRUE(Solid(20, 20, 0xFF3060C0).save(Texture(QStringLiteral("stone/Blue.PNG"))));
        ASSERT_TRUE(Solid(20, 20, 0xFF30C060).save(Texture(QStringLiteral("stone/green.png"))));
        QFile broken(Texture(QStringLiteral("stone/lumpy.jpg")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("\xFF\xD8\xFF\xE0 not really a JPEG");
        broken.close();
        ASSERT_TRUE(Solid(20, 20, 0xFF806040).save(Texture(QStringLiteral("wood/oak.png"))));

        doc.SetPicture(std::make_unique<QImage>(Solid(200, 150, 0xFF808080)));
        for (const auto& [name, rect] : {std::pair{"Floor", Rect(10, 10, 80, 60)}, {"Wall", Rect(100, 10, 80, 60)}}) {
            CArea area;
            area.SetName(QString::fromLatin1(name));
            area.SetOutline(&rect);
            doc.AddArea(std::move(area), QStringLiteral("add"));
        }
        panel = std::make_unique<CAreasBar>(prompts, m_tmp.path() + QStringLiteral("/textures/"));
        panel->resize(300, 600);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
        doc.SetAreasPanelSink(panel.get());
        view = MakeView(doc);
        panel->UpdateFromDocument(&doc, view.get(), true);
        doc.SetModifiedFlag(false);
    }

    void TearDown() override
    {
        view.reset();
        doc.SetAreasPanelSink(nullptr);
        panel.reset();
    }

    QString Texture(const QString& name) const { return m_tmp.path() + QStringLiteral("/textures/") + name; }

    std::unique_ptr<CTilemontView> MakeView(CTilemontDoc& d)
    {
        auto v = std::make_unique<CTilemontView>(d, panel.get());
        v->resize(240, 180);
        v->show();
        return v;
    }

    CAreasBarControls& C() { return panel->Controls(); }
    void Pick(int row) { C().areaList->setCurrentRow(row); }
    const CArea& Area(int index) { return doc.GetAreas()[std::size_t(index)]; }

    // Clicks the swatch of the file whose name ends with tail.
    void ClickSwatch(const QString& tail)
    {
        CTextureBrowser* browser = C().browser;
        for (int p = 0; p < browser->Count(); ++p) {
            if (browser->PathAt(p).endsWith(tail)) {
                QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->CellRect(p).center());
                return;
            }
        }
        ADD_FAILURE() << "no swatch " << tail.toStdString();
    }

    ScriptedPrompts prompts;
    CTilemontDoc doc{prompts};
    std::unique_ptr<CAreasBar> panel;
    std::unique_ptr<CTilemontView> view;

private:
    QTemporaryDir m_tmp;
};

TEST_F(AreasBarTest, FieldsValidateAsTheyChangeAndApplyOnlyWhatIsValid)
{
    Pick(1);
    C().rotation->setText(QStringLiteral("30"));
    EXPECT_EQ(Area(1).GetRotation(), 30.0);
    C().rotation->setText(QStringLiteral("400"));
    EXPECT_EQ(C().rotation->text(), QStringLiteral("0"));
    EXPECT_EQ(Area(1).GetRotation(), 0.0);

    C().shiftX->setText(QStringLiteral("40000"));
    C().shiftX->setText(QStringLiteral("-"));
    EXPECT_EQ(Area(1).GetShiftX(), 0);
    C().shiftX->setText(QStringLiteral("-5"));
    C().scale->setText(QStringLiteral("0"));
    C().rotation->setText(QStringLiteral("abc"));

    const CArea& wall = Area(1);
    EXPECT_EQ((std::tuple{wall.GetRotation(), wall.GetShiftX(), wall.GetShiftY(), wall.GetScale()}),
              (std::tuple{0.0, -5, 0, 0.0}));
    EXPECT_EQ(prompts.errors, (QStringList{QStringLiteral("Please enter a number between 0 and 360."),
                                           QStringLiteral("Please enter an integer between -32767 and 32767."),
                                           QStringLiteral("Please enter an integer."),
                                           QStringLiteral("Please enter a number.")}));
    EXPECT_EQ(Area(0).GetRotation(), 0.0) << "only the picked area is edited";
}

TEST_F(AreasBarTest, PickWritesTheFieldsWithoutEditingAndUndoShowsTheValuesUndone)
{
    doc.EditArea(doc.AreaIdAt(0), QStringLiteral("setup"), [](CArea& a) {
        a.SetRotation(12.5);
        a.SetShift(3, -4);
        a.SetScale(2.0);
    });
    doc.SetModifiedFlag(false);
    const int steps = doc.GetHistory().Count();

    Pick(0);
    EXPECT_EQ(Fields(*panel), (QStringList{"12.5", "3", "-4", "2"}));
    EXPECT_FALSE(doc.IsModified()) << "writing the fields must not edit the area";
    EXPECT_EQ(doc.GetSelection().GetPolygon(), Area(0).GetOutline());
    EXPECT_EQ(doc.GetSelectedAreaId(), doc.AreaIdAt(0));
    EXPECT_EQ(view->GetEditedAreaId(), doc.AreaIdAt(0));

    // A run of typing in one field is one step; so is a run of arrows.
    C().rotation->setFocus();
    for (const char* text : {"4", "45", "45."})
        C().rotation->setText(QString::fromLatin1(text));
    EXPECT_EQ(C().rotation->text(), QStringLiteral("45.")) << "the panel must not rewrite what is being typed";
    for (int i = 0; i < 3; ++i)
        C().scaleSpin->Step(+1);
    EXPECT_EQ(Area(0).GetScale(), 5.0);
    EXPECT_EQ(doc.GetHistory().Count(), steps + 3) << "pick, rotation run, scale run";

    doc.OnEditUndo();
    EXPECT_EQ(Fields(*panel), (QStringList{"45.", "3", "-4", "2"}));
    doc.OnEditUndo();
    EXPECT_EQ(Fields(*panel), (QStringList{"12.5", "3", "-4", "2"}));
    doc.OnEditRedo();
    EXPECT_EQ(Area(0).GetRotation(), 45.0);
    EXPECT_EQ(C().rotation->text(), QStringLiteral("45"));
}

// A scale a fit or a real size worked out has more digits than the field
// can show: it shows the number rounded, not its tail, and editing another
// field keeps the area's own value to the last digit.
TEST_F(AreasBarTest, LongNumbersFitTheirFieldsAndKeepTheirDigits)
{
    const double scale = 4.0667164439, rotation = 100.0 / 3.0;
    doc.EditArea(doc.AreaIdAt(0), QStringLiteral("setup"), [&](CArea& a) {
        a.SetRotation(rotation);
        a.SetScale(scale);
    });
    Pick(0);
    EXPECT_EQ(Fields(*panel), (QStringList{"33.333", "0", "0", "4.06672"}));
    C().shiftX->setText(QStringLiteral("7"));
    EXPECT_EQ(Area(0).GetShiftX(), 7);
    EXPECT_EQ(Area(0).GetScale(), scale);
    EXPECT_EQ(Area(0).GetRotation(), rotation);
    // What the user types is taken as typed.
    C().scale->setText(QStringLiteral("4.06"));
    EXPECT_EQ(Area(0).GetScale(), 4.06);
    doc.OnEditUndo();
    EXPECT_EQ(Area(0).GetScale(), scale);
    EXPECT_EQ(C().scale->text(), QStringLiteral("4.06672"));
}

TEST_F(AreasBarTest, RotationArrowsWrapAndEachStepApplies)
{
    Pick(0);
    C().rotation->setText(QStringLiteral("360"));
    C().rotationSpin->Step(+1);
    EXPECT_EQ(C().rotation->text(), QStringLiteral("0"));
    EXPECT_EQ(Area(0).GetRotation(), 0.0);
    C().rotationSpin->Step(-1);
    EXPECT_EQ(Area(0).GetRotation(), 360.0);
    C().rotation->setText(QStringLiteral("12.5"));
    C().rotationSpin->Step(-1);
    EXPECT_EQ(Area(0).GetRotation(), 12.0);
    C().shiftX->setText(QStringLiteral("32767"));
    C().shiftXSpin->Step(+1);
    EXPECT_EQ(Area(0).GetShiftX(), 32767) << "shifts stop at their ends";
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(AreasBarTest, HandleModesDisableEachOtherAndAPickSwitchesTheOldAreaOff)
{
    Pick(0);
    C().skew->click();
    EXPECT_TRUE(view->SkewEditing(doc.AreaIdAt(0)).edit);
    EXPECT_TRUE(view->IsSkewMode());
    const auto enabled = [this] {
        return std::vector<bool>{C().skew->isEnabled(), C().initialRect->isEnabled(), C().resetSkew->isEnabled(),
                                 C().resetInitialRect->isEnabled()};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, true}));

    Pick(1);
    EXPECT_FALSE(view->SkewEditing(doc.AreaIdAt(0)).edit) << "the area left behind stops skew editing";
    EXPECT_FALSE(C().skew->isChecked()) << "the box shows the new area's flag";
    EXPECT_EQ(enabled(), (std::vector<bool>{true, false, false, true}));
    EXPECT_TRUE(view->IsSkewMode());
    EXPECT_EQ(view->GetEditedAreaId(), doc.AreaIdAt(1));

    C().skew->click(); // on for the wall
    C().skew->click(); // and off again
    EXPECT_FALSE(view->IsSkewMode());
    C().initialRect->click();
    EXPECT_TRUE(view->IsInitialRectMode());
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, true, false}));
    C().initialRect->click();
    EXPECT_EQ(enabled(), (std::vector<bool>(4, true)));
}

TEST_F(AreasBarTest, TexturePicksNeedAnAreaKeepTheTextureOnFailureAndReadMixedCaseNames)
{
    ASSERT_EQ(C().groups->currentText(), C().groups->itemText(0));
    C().groups->setCurrentIndex(C().groups->findText(QStringLiteral("stone")));
    ASSERT_EQ(C().browser->Count(), 3);

    const int steps = doc.GetHistory().Count();
    ClickSwatch(QStringLiteral("green.png"));
    EXPECT_EQ(doc.GetHistory().Count(), steps) << "no area picked: nothing changes";

    Pick(0);
    ClickSwatch(QStringLiteral("Blue.PNG"));
    ASSERT_NE(Area(0).GetTexture(), nullptr);
    EXPECT_EQ(Area(0).GetTexture()->pixel(5, 5), 0xFF3060C0u);
    EXPECT_TRUE(doc.IsModified());

    ClickSwatch(QStringLiteral("lumpy.jpg"));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("lumpy.jpg")));
    EXPECT_EQ(Area(0).GetTexture()->pixel(5, 5), 0xFF3060C0u) << "a file that does not decode changes nothing";

    doc.OnEditUndo();
    EXPECT_EQ(Area(0).GetTexture(), nullptr);
}

TEST_F(AreasBarTest, FocusChangesRefillOnlyForAnotherDocumentAndClosingAViewEmptiesTheList)
{
    auto second = MakeView(doc);
    Pick(1);
    C().groups->setCurrentIndex(1);
    panel->NotifyAreasPanel(&doc, second.get(), false);
    EXPECT_EQ(panel->SelectedIndex(), 1) << "another view of the same template keeps the pick";
    EXPECT_EQ(C().groups->currentIndex(), 1);

    CTilemontDoc other(prompts, panel.get());
    other.AddArea(CArea(), QStringLiteral("add"));
    auto otherView = MakeView(other);
    panel->NotifyAreasPanel(&other, otherView.get(), false);
    EXPECT_EQ(panel->Document(), &other);
    EXPECT_EQ(panel->SelectedIndex(), -1);
    EXPECT_EQ(C().areaList->count(), 1);
    EXPECT_EQ(C().groups->currentIndex(), 0) << "a refill starts at the first group again";

    otherView.reset();
    EXPECT_EQ(panel->Document(), nullptr);
    EXPECT_EQ(C().areaList->count(), 0);
    EXPECT_EQ(C().groups->count(), 2);
    EXPECT_GT(C().browser->Count(), 0);
}

TEST_F(AreasBarTest, ListFollowsAreasAddedAndRemovedAlsoByUndo)
{
    Pick(1);
    CArea extra;
    extra.SetName(QStringLiteral("Counter"));
    doc.AddArea(std::move(extra), QStringLiteral("Create area"));
    EXPECT_EQ(C().areaList->count(), 3);
    EXPECT_EQ(panel->SelectedIndex(), -1);
    doc.OnEditUndo();
    EXPECT_EQ(C().areaList->count(), 2);
    Pick(0);
    doc.DeleteArea(doc.AreaIdAt(0), QStringLiteral("Delete selected area"), true);
    ASSERT_EQ(C().areaList->count(), 1);
    EXPECT_EQ(C().areaList->item(0)->text(), QStringLiteral("Wall"));
    C().rotation->setText(QStringLiteral("90"));
    EXPECT_EQ(Area(0).GetRotation(), 0.0) << "nothing is picked after a refill";
}

TEST_F(AreasBarTest, EnterHidesThePanelOnlyWhenEveryFieldIsValidAndEscapeHidesIt)
{
    Pick(0);
    C().scale->setText(QStringLiteral("x"));
    QTest::keyClick(C().rotation, Qt::Key_Return);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(prompts.errors.size(), 2) << "once as typed, once for Enter";
    C().scale->setText(QStringLiteral("3"));
    QTest::keyClick(C().rotation, Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(Area(0).GetScale(), 3.0);
    panel->show();
    QTest::keyClick(C().shiftX, Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
}

// Which area a window edits the corners of is that window's state: no step,
// not a change of the template, and undo and redo leave it alone. Leaving
// the corners, or previewing them, keeps the exact warp of the values shown.
TEST_F(AreasBarTest, SkewEditingIsSessionStateThatNoStepAndNoUndoChanges)
{
    const AreaId id = doc.AreaIdAt(0);
    ASSERT_TRUE(doc.LayTexture(id, Solid(8, 8, 0xFF102030)));
    doc.EditArea(id, "Corners", [](CArea& a) { a.ResetSkew(); });
    doc.EditArea(id, "Scale", [](CArea& a) { a.SetScale(2.0); });
    doc.SetModifiedFlag(false);
    const int steps = doc.GetHistory().Count();
    IAreaEditSession& session = *view->EditSession();

    session.SetSkewEditing(id, true, true);
    EXPECT_EQ(doc.GetHistory().Count(), steps);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_NE(doc.Warps().FindExact(id, doc.FindArea(id)->WarpInputs()), nullptr) << "a preview shows the exact warp";

    // Undo and redo bring the placement back but leave the editing as it is.
    doc.OnEditUndo();
    EXPECT_EQ(doc.FindArea(id)->GetScale(), 1.0);
    EXPECT_EQ(session.SkewEditing(id), (CSkewEditing{true, true}));
    session.SetSkewEditing(id, false, false);
    EXPECT_NE(doc.Warps().FindExact(id, doc.FindArea(id)->WarpInputs()), nullptr)
        << "leaving the corners keeps their warp, the skew applied or not";
    doc.OnEditRedo();
    EXPECT_EQ(doc.FindArea(id)->GetScale(), 2.0);
    EXPECT_EQ(session.SkewEditing(id), CSkewEditing());
    EXPECT_EQ(doc.GetHistory().Count(), steps);
}

// A group's products.json shows as no swatch, and picking a product's
// picture lays the whole product in its first layout as one step.
TEST_F(AreasBarTest, AProductsPictureLaysTheProductAndItsSidecarIsNoSwatch)
{
    for (int i = 1; i <= 2; ++i)
        ASSERT_TRUE(Solid(60, 10, 0xFF906030 + 0x100000 * i).save(Texture(QStringLiteral("wood/plank-%1.png").arg(i))));
    QFile sidecar(Texture(QStringLiteral("wood/products.json")));
    ASSERT_TRUE(sidecar.open(QIODevice::WriteOnly));
    sidecar.write(R"({"products": [{"name": "Plank", "size": [60, 10], "variants": ["plank-1.png", "plank-2.png"],
                     "layouts": ["offset-half"], "jointMm": 1}]})");
    sidecar.close();
    C().groups->setCurrentIndex(C().groups->findText(QStringLiteral("wood")));
    ASSERT_EQ(C().browser->Count(), 3) << "oak and the two planks, not the sidecar";
    for (int p = 0; p < C().browser->Count(); ++p)
        EXPECT_FALSE(C().browser->PathAt(p).endsWith(QStringLiteral(".json")));

    Pick(0);
    const int steps = doc.GetHistory().Count();
    ClickSwatch(QStringLiteral("plank-2.png"));
    EXPECT_EQ(doc.GetHistory().Count(), steps + 1);
    ASSERT_NE(Area(0).GetPattern(), nullptr);
    EXPECT_EQ(Area(0).GetPattern()->layout, ELayout::OffsetHalf);
    EXPECT_EQ(Area(0).GetPattern()->variants.size(), 2u);
    EXPECT_EQ(Area(0).GetPattern()->jointMm, 1.0);

    // A picture the sidecar does not list is a plain texture as before.
    ClickSwatch(QStringLiteral("oak.png"));
    EXPECT_EQ(Area(0).GetPattern(), nullptr);
    EXPECT_EQ(Area(0).GetTexture()->pixel(5, 5), 0xFF806040u);
}

TEST_F(AreasBarTest, ShadingStrengthIsOneStepPerChangeAndFollowsUndoAndThePick)
{
    Pick(0);
    QSpinBox* shading = C().shading;
    EXPECT_EQ(shading->value(), CArea::kDefaultShading);
    const int steps = doc.GetHistory().Count();
    shading->setValue(60);
    shading->stepBy(1); // an arrow: 70
    EXPECT_EQ(Area(0).GetShadingStrength(), 70);
    EXPECT_EQ(Area(1).GetShadingStrength(), CArea::kDefaultShading) << "only the picked area";
    EXPECT_EQ(doc.GetHistory().Count(), steps + 2);
    shading->setValue(500);
    EXPECT_EQ(Area(0).GetShadingStrength(), CArea::kMaxShading);

    // Undo shows the value undone; another area shows its own, and the
    // first its own again.
    doc.OnEditUndo();
    EXPECT_EQ(Area(0).GetShadingStrength(), 70);
    EXPECT_EQ(shading->value(), 70);
    Pick(1);
    EXPECT_EQ(shading->value(), CArea::kDefaultShading);
    Pick(0);
    EXPECT_EQ(shading->value(), 70);
    EXPECT_FALSE(shading->accessibleName().isEmpty());
}
