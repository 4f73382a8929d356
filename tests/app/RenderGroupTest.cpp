#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "controls/BrowseEdit.h"
#include "document/TestImages.h"
#include "export/ui/RenderGroupDlg.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

// Template > "Render texture group...": every texture of the chosen group
// becomes an image of the template with that texture in the chosen area;
// the template itself does not change, and the user hears what was done.
TEST_F(AppTest, RenderTextureGroupWritesOneImagePerTextureAndLeavesTheTemplateAlone)
{
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    CArea wall, floor;
    wall.SetName(QStringLiteral("Wall"));
    floor.SetName(QStringLiteral("Floor"));
    const CPolygon top = RectPolygon(0, 0, 60, 20), bottom = RectPolygon(0, 20, 60, 40);
    wall.SetOutline(&top);
    floor.SetOutline(&bottom);
    const QString room = TempPath(QStringLiteral("room.tlm"));
    QString error;
    ASSERT_TRUE(SaveTemplateFile(room, &picture, {wall, floor}, &error));
    const QString group = StartFolder() + QStringLiteral("/textures/stone");
    ASSERT_TRUE(QDir().mkpath(group));
    for (const auto& [name, colour] : {std::pair{"Red.png", Qt::red}, std::pair{"blue.bmp", Qt::blue}}) {
        QImage texture(4, 4, QImage::Format_RGB32);
        texture.fill(colour);
        ASSERT_TRUE(texture.save(group + QLatin1Char('/') + QLatin1String(name)));
    }
    QFile notes(group + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();

    ASSERT_TRUE(Start({room}));
    CTilemontDoc& doc = ActiveDoc();
    const CTemplateSnapshot before = doc.Snapshot();
    const QString out = TempPath(QStringLiteral("renders"));
    QString preselected;
    App().SetRenderGroupDialogRunner([&](CRenderGroupDlg& d) {
        preselected = d.AreaList()->currentText() + QLatin1Char('|') + d.WidthEdit()->text();
        d.AreaList()->setCurrentIndex(1);
        d.GroupList()->setCurrentIndex(d.GroupList()->findText(QStringLiteral("stone")));
        d.OutputEdit()->setText(out);
        d.FormatList()->setCurrentIndex(d.FormatList()->findText(QStringLiteral("PNG")));
        // A size the images cannot have is refused and the dialog stays.
        d.WidthEdit()->setText(QStringLiteral("0"));
        if (d.TryAccept())
            return true;
        d.WidthEdit()->setText(QStringLiteral("30"));
        d.HeightEdit()->setText(QStringLiteral("20"));
        return d.TryAccept();
    });
    ASSERT_TRUE(Action(ID_RENDER_GROUP)->isEnabled());
    ASSERT_TRUE(Frame().RunCommand(ID_RENDER_GROUP));

    EXPECT_EQ(preselected, QStringLiteral("Wall|60"));
    const QImage red(out + QStringLiteral("/Red.png")), blue(out + QStringLiteral("/blue.png"));
    ASSERT_EQ(red.size(), QSize(30, 20));
    ASSERT_EQ(blue.size(), QSize(30, 20));
    EXPECT_EQ(QColor(red.pixel(15, 15)), QColor(Qt::red));
    EXPECT_EQ(QColor(blue.pixel(15, 15)), QColor(Qt::blue));
    // The wall has no texture: the picture shows, in the export's 5-6-5 colour.
    EXPECT_NEAR(QColor(blue.pixel(15, 5)).green(), QColor(Qt::gray).green(), 4);
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("1 pixel")));
    // The report says where to find the images.
    EXPECT_TRUE(prompts.errors[1].startsWith(
        QStringLiteral("2 images written to %1, 1 not.\n").arg(QDir::toNativeSeparators(out))))
        << prompts.errors[1].toStdString();
    EXPECT_TRUE(prompts.errors[1].contains(QStringLiteral("notes.txt")));
    EXPECT_EQ(doc.Snapshot(), before);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
