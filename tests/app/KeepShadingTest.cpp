#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "controls/FileBrowseEdit.h"
#include "document/TestImages.h"
#include "export/ui/ExportDlg.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "render/TemplateCompositor.h"
#include "view/TilemontView.h"

#include <QCheckBox>
#include <functional>
#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>

namespace {

// A 200 x 100 room whose floor (lower half) lies in shadow on its left 40 %
// and carries a flat texture.
QString WriteShadowedRoom(const QString& path)
{
    QImage picture(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            const int v = y < 50 ? 230 : (x < 80 ? 60 : 120);
            picture.setPixel(x, y, qRgb(v, v, v));
        }
    QImage texture(8, 8, QImage::Format_RGB32);
    texture.fill(qRgb(200, 160, 120));
    return WriteOneAreaTemplate(path, picture, QStringLiteral("Floor"), RectPolygon(0, 50, 200, 100), texture);
}

// How much darker the shadowed part of the floor is than the rest, in an
// export or in what a view shows.
double ShadowRatio(const QImage& image, const std::function<QPoint(QPointF)>& place = {})
{
    const auto at = [&](double x, double y) {
        const QPoint p = place ? place(QPointF(x, y)) : QPointF(x, y).toPoint();
        return QColor(image.pixel(p)).redF();
    };
    return at(30, 80) / at(170, 80);
}

double ShadowRatio(CTilemontView* view)
{
    return ShadowRatio(view->viewport()->grab().toImage(),
                       [view](QPointF p) { return view->PictureToClient(p).toPoint(); });
}

TEST_F(AppTest, KeepShadingShowsInEveryViewStartsTheExportsBoxAndOutlivesTheRun)
{
    const QString room = WriteShadowedRoom(TempPath(QStringLiteral("room.tlm")));
    ASSERT_TRUE(Start({room}));
    Frame().show();
    CTilemontView* first = Frame().ActiveChild()->View();
    EXPECT_FALSE(Action(ID_VIEW_KEEP_SHADING)->isChecked());
    EXPECT_NEAR(ShadowRatio(first), 1.0, 0.05);

    Action(ID_VIEW_KEEP_SHADING)->trigger();
    EXPECT_TRUE(Action(ID_VIEW_KEEP_SHADING)->isChecked());
    EXPECT_NEAR(ShadowRatio(first), 0.5, 0.1);
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    EXPECT_TRUE(Frame().ActiveChild()->View()->IsKeepShading());
    EXPECT_EQ(Store()->value(QLatin1String(AppSettings::kKeepShadingKey)), QVariant(true));

    // The export's box starts as the views show; unticked, the export is
    // the plain composition.
    for (const bool keep : {true, false}) {
        const QString out = TempPath(keep ? QStringLiteral("shaded.png") : QStringLiteral("plain.png"));
        bool boxStarted = !keep;
        App().SetExportDialogRunner([&](CExportDlg& d) {
            boxStarted = d.KeepShadingBox()->isChecked();
            d.KeepShadingBox()->setChecked(keep);
            d.FormatList()->setCurrentIndex(d.FormatList()->findText(QStringLiteral("PNG")));
            d.FileNameEdit()->setText(out);
            return d.TryAccept();
        });
        ASSERT_TRUE(Frame().RunCommand(ID_EXPORT));
        EXPECT_TRUE(boxStarted);
        const QImage written(out);
        ASSERT_FALSE(written.isNull()) << out.toStdString();
        EXPECT_NEAR(ShadowRatio(written), keep ? 0.5 : 1.0, keep ? 0.1 : 0.02);
    }

    EXPECT_EQ(App().ExitInstance(), 0);
    ASSERT_TRUE(Start({room}));
    EXPECT_TRUE(Frame().ActiveChild()->View()->IsKeepShading());
}

TEST_F(AppTest, KeepShadingStaysWhileTheSkewCornersAreEditedWithPreview)
{
    ASSERT_TRUE(Start({WriteShadowedRoom(TempPath(QStringLiteral("room.tlm")))}));
    Frame().show();
    Action(ID_VIEW_KEEP_SHADING)->trigger();
    CTilemontView* view = Frame().ActiveChild()->View();
    CAreasBarControls& c = Frame().AreasPanel()->Controls();
    c.areaList->setCurrentRow(0);
    ASSERT_TRUE(c.skew->isEnabled());
    c.skew->click();
    const AreaId id = ActiveDoc().GetAreas()[0].GetId();
    ASSERT_TRUE(view->SkewEditing(id).edit);
    if (!c.skewPreview->isChecked())
        c.skewPreview->click();
    ASSERT_TRUE(view->SkewEditing(id).preview);
    EXPECT_NEAR(ShadowRatio(view), 0.5, 0.1);

    // The export takes the template as saved, shaded as it always was.
    const CTemplateSnapshot saved = ActiveDoc().Snapshot();
    EXPECT_NEAR(ShadowRatio(ComposeTemplate(*saved.picture, saved.areas, {}, CComposeOptions{true})), 0.5, 0.1);
    EXPECT_NEAR(ShadowRatio(ComposeTemplate(*saved.picture, saved.areas)), 1.0, 0.02);
}

} // namespace
