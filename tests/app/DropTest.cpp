#include "AppTestSupport.h"
#include "document/Messages.h"
#include "document/TestImages.h"
#include "catalogue/TextureSizes.h"
#include "view/TilemontView.h"

#include <QApplication>
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

namespace {

// Drags files over the main window and drops them at a point of a widget
// inside it, through the window as the desktop's drag does: Qt finds the
// widget under the point and passes the drag up until one takes it.
struct Drag
{
    QWidget* frame;
    QMimeData data;

    Drag(QWidget* mainFrame, const QStringList& files) : frame(mainFrame)
    {
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
    }
    QPointF InWindow(QWidget* over, QPoint at) const { return over->mapTo(frame, at); }
    bool Enter(QWidget* over, QPoint at)
    {
        QDragEnterEvent enter(InWindow(over, at).toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->windowHandle(), &enter);
        return enter.isAccepted();
    }
    bool Drop(QWidget* over, QPoint at)
    {
        if (!Enter(over, at))
            return false;
        QDropEvent drop(InWindow(over, at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame->windowHandle(), &drop);
        // The drop is answered first and carried out just after.
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }
};

class DropTest : public AppTest
{
protected:
    // A 100 x 80 template with the area "Floor" over its lower half.
    QString WriteRoom(const QString& name)
    {
        QImage picture(100, 80, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        CArea floor;
        floor.SetName(QStringLiteral("Floor"));
        const CPolygon outline = RectPolygon(0, 40, 100, 80);
        floor.SetOutline(&outline);
        const QString path = TempPath(name);
        QString error;
        EXPECT_TRUE(SaveTemplateFile(path, &picture, {floor}, &error)) << error.toStdString();
        return path;
    }
    QString WriteImage(const QString& name, QColor colour, QSize size = QSize(16, 16))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = TempPath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    QWidget* Viewport() { return Frame().ActiveChild()->View()->viewport(); }
    QPoint ClientOf(QPointF picture) { return Frame().ActiveChild()->View()->PictureToClient(picture).toPoint(); }
};

TEST_F(DropTest, TemplatesOpenEachInItsOwnWindowAndOtherFilesAreRefusedWhileDragged)
{
    const QString first = WriteRoom(QStringLiteral("first.tlm"));
    const QString second = WriteRoom(QStringLiteral("Second.TLM"));
    QFile text(TempPath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a template");
    text.close();
    ASSERT_TRUE(Start());
    Frame().show();
    const qsizetype windowsBefore = Frame().MdiArea()->subWindowList().size();

    // Over the view of the open template and over the bare window alike.
    for (QWidget* over : {Viewport(), static_cast<QWidget*>(&Frame())}) {
        EXPECT_FALSE(Drag(&Frame(), {text.fileName()}).Enter(over, QPoint(5, 5)));
        EXPECT_FALSE(Drag(&Frame(), {TempPath(QStringLiteral("a.png")), TempPath(QStringLiteral("b.png"))})
                         .Enter(over, QPoint(5, 5)));
    }
    EXPECT_TRUE(Drag(&Frame(), {first, text.fileName(), second}).Drop(Viewport(), QPoint(5, 5)));
    EXPECT_EQ(Frame().MdiArea()->subWindowList().size(), windowsBefore + 2);
    EXPECT_EQ(Frame().ActiveChild()->Document().Doc().GetPathName(), second);
    // Big enough to show the picture, not the view's bare size hint.
    EXPECT_GE(Frame().ActiveChild()->width(), Frame().MdiArea()->viewport()->width() / 2);
    EXPECT_EQ(App().RecentFiles().Files().mid(0, 2), (QStringList{second, first}));
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(DropTest, APictureOnAnAreaIsItsTextureAndBesideTheAreasItMayBecomeThePicture)
{
    const QString room = WriteRoom(QStringLiteral("room.tlm"));
    const QString red = WriteImage(QStringLiteral("red.png"), Qt::red);
    const QString big = WriteImage(QStringLiteral("blue.jpg"), Qt::blue, QSize(60, 30));
    ASSERT_TRUE(Start({room}));
    Frame().show();
    CTilemontDoc& doc = ActiveDoc();
    const CTemplateSnapshot opened = doc.Snapshot();

    ASSERT_TRUE(Drag(&Frame(), {red}).Drop(Viewport(), ClientOf(QPointF(50, 60))));
    ASSERT_NE(doc.GetAreas()[0].GetTexture(), nullptr);
    EXPECT_EQ(doc.GetAreas()[0].GetTexture()->pixel(3, 3), QColor(Qt::red).rgb());
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(doc.GetHistory().UndoText(), Messages::kStepTexture);

    // Above the floor: asked, and No changes nothing; Yes is one step.
    prompts.answers = {IDocumentPrompts::Answer::No, IDocumentPrompts::Answer::Yes};
    ASSERT_TRUE(Drag(&Frame(), {big}).Drop(Viewport(), ClientOf(QPointF(50, 10))));
    EXPECT_EQ(doc.GetPicture()->size(), QSize(100, 80));
    ASSERT_TRUE(Drag(&Frame(), {big}).Drop(Viewport(), ClientOf(QPointF(50, 10))));
    EXPECT_EQ(prompts.asked, QStringList(2, QStringLiteral("yn:") +
                                                Messages::kUseAsPicture.arg(QDir::toNativeSeparators(big))));
    EXPECT_EQ(doc.GetPicture()->size(), QSize(60, 30));

    doc.OnEditUndo();
    doc.OnEditUndo();
    EXPECT_EQ(doc.Snapshot(), opened);
}

TEST_F(DropTest, AnUndecodablePictureIsReportedAsATexturePickIsAndChangesNothing)
{
    const QString room = WriteRoom(QStringLiteral("room.tlm"));
    QFile broken(TempPath(QStringLiteral("broken.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF\xE0 truncated");
    broken.close();
    ASSERT_TRUE(Start({room}));
    Frame().show();
    const CTemplateSnapshot opened = ActiveDoc().Snapshot();

    // On the area and beside it: the same message, no question, no step.
    for (QPointF at : {QPointF(50, 60), QPointF(50, 10)})
        EXPECT_TRUE(Drag(&Frame(), {broken.fileName()}).Drop(Viewport(), ClientOf(at)));
    ASSERT_EQ(prompts.errors.size(), 2);
    EXPECT_TRUE(prompts.errors[0].contains(QDir::toNativeSeparators(broken.fileName())));
    EXPECT_EQ(prompts.errors[0], prompts.errors[1]);
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(ActiveDoc().Snapshot(), opened);
    EXPECT_FALSE(ActiveDoc().GetHistory().CanUndo());

    // A new template has no picture: the dropped file may become it.
    ASSERT_NE(App().OnFileNew(), nullptr);
    const QString green = WriteImage(QStringLiteral("green.bmp"), Qt::green);
    prompts.answers = {IDocumentPrompts::Answer::Yes};
    EXPECT_TRUE(Drag(&Frame(), {green}).Drop(Viewport(), QPoint(10, 10)));
    ASSERT_NE(ActiveDoc().GetPicture(), nullptr);
    EXPECT_EQ(ActiveDoc().GetPicture()->pixel(0, 0), QColor(Qt::green).rgb());
}

} // namespace

// A picture whose real width its folder remembers, dropped on a measured
// area, keeps the surface at real scale in the same "Texture" step.
TEST_F(DropTest, ADroppedTextureOfKnownWidthKeepsAMeasuredAreaAtRealScale)
{
    const QString room = WriteRoom(QStringLiteral("room.tlm"));
    const QString tile = WriteImage(QStringLiteral("tile.png"), Qt::darkGreen, QSize(50, 50));
    QString error;
    ASSERT_TRUE(TextureSizes::WriteTextureWidth(tile, 40.0, &error)) << error.toStdString();
    ASSERT_TRUE(Start({room}));
    Frame().show();
    CTilemontDoc& doc = ActiveDoc();
    const AreaId floor = doc.AreaIdAt(0);
    CRealSize real;
    real.reference = QLineF(10, 60, 90, 60); // 80 px are
    real.referenceCm = 160.0;                // 160 cm, so a 40 cm texture
    real.textureWidthCm = 30.0;              // spans 20 px: scale 20 / 50.
    ASSERT_TRUE(doc.SetAreaRealSize(floor, real));

    ASSERT_TRUE(Drag(&Frame(), {tile}).Drop(Viewport(), ClientOf(QPointF(50, 60))));
    EXPECT_EQ(doc.GetHistory().UndoText(), Messages::kStepTexture);
    EXPECT_EQ(doc.FindArea(floor)->GetRealSize().textureWidthCm, 40.0);
    EXPECT_DOUBLE_EQ(doc.FindArea(floor)->GetScale(), 0.4);
}
