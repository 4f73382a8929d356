#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "codecs/EncoderRegistry.h"
#include "document/Messages.h"
#include "document/TestImages.h"
#include "export/ExportRun.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

// A 60 x 40 picture whose middle holds a textured area.
QString WriteRoom(const QString& path)
{
    QImage picture(60, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            picture.setPixel(x, y, qRgb(4 * x, 6 * y, 90));
    QImage texture(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            texture.setPixel(x, y, (x + y) % 2 ? qRgb(250, 250, 20) : qRgb(20, 20, 250));
    return WriteOneAreaTemplate(path, picture, QStringLiteral("Floor"), RectPolygon(10, 10, 50, 30), texture);
}

QImage Argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// Copy gives what an export at the picture's size writes: the areas laid
// in, the selection and its handles left out.
TEST_F(AppTest, CopyPutsTheTemplateOnTheClipboardAsTheExportWritesIt)
{
    ASSERT_TRUE(Start({WriteRoom(TempPath(QStringLiteral("room.tlm")))}));
    CPolygon triangle;
    triangle.contours.push_back({QPointF(2, 2), QPointF(30, 2), QPointF(16, 20)});
    ActiveDoc().SetSelection(&triangle);
    QGuiApplication::clipboard()->clear();
    ASSERT_TRUE(Action(ID_EDIT_COPY)->isEnabled());
    Action(ID_EDIT_COPY)->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());

    const CTemplateSnapshot snapshot = ActiveDoc().Snapshot();
    CExportRequest request;
    request.width = 60;
    request.height = 40;
    request.fileName = TempPath(QStringLiteral("reference.png"));
    ASSERT_GE(GetEncoderClsid(QStringLiteral("image/png"), &request.encoder), 0);
    QString error;
    ASSERT_TRUE(ExportRun(*snapshot.picture, snapshot.areas, request, &error)) << error.toStdString();
    const QImage exported(request.fileName);
    EXPECT_EQ(Argb(copied), Argb(exported));
    EXPECT_NE(Argb(copied), Argb(*snapshot.picture)) << "the area must show";

    // Nothing to copy without a picture.
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    EXPECT_FALSE(Action(ID_EDIT_COPY)->isEnabled());
}

// Paste asks as a picture dropped beside the areas does; yes makes the
// Clipboard's picture the template's in one step that Undo takes back.
TEST_F(AppTest, PasteOffersTheClipboardsPictureAsOneUndoableStep)
{
    ASSERT_TRUE(Start({WriteRoom(TempPath(QStringLiteral("room.tlm")))}));
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(Action(ID_EDIT_PASTE)->isEnabled());
    QImage pasted(30, 20, QImage::Format_RGB32);
    pasted.fill(qRgb(200, 30, 40));
    QGuiApplication::clipboard()->setImage(pasted);
    ASSERT_TRUE(Action(ID_EDIT_PASTE)->isEnabled());
    const QImage before = *ActiveDoc().GetPicture();

    prompts.answers.push_back(IDocumentPrompts::Answer::No);
    Action(ID_EDIT_PASTE)->trigger();
    EXPECT_EQ(prompts.asked, QStringList{QStringLiteral("yn:") +
                                         Messages::kUseAsPicture.arg(QStringLiteral("the picture on the Clipboard"))});
    EXPECT_EQ(*ActiveDoc().GetPicture(), before);
    EXPECT_FALSE(ActiveDoc().IsModified());

    prompts.answers.push_back(IDocumentPrompts::Answer::Yes);
    Action(ID_EDIT_PASTE)->trigger();
    EXPECT_EQ(Argb(*ActiveDoc().GetPicture()), Argb(pasted));
    EXPECT_EQ(ActiveDoc().GetAreas().size(), 1u);
    EXPECT_TRUE(ActiveDoc().IsModified());
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(),
              QStringLiteral("&Undo %1\tCtrl+Z").arg(Messages::kStepSelectPicture));
    Action(ID_EDIT_UNDO)->trigger();
    EXPECT_EQ(*ActiveDoc().GetPicture(), before);
    EXPECT_TRUE(prompts.errors.isEmpty());
}
