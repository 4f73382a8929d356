#include "ViewTestSupport.h"

#include "view/DropHandler.h"

#include <QMimeData>
#include <QUrl>

namespace {

// Takes drags of one file named *.take and writes down where they landed.
struct RecordingDrop : IDropHandler
{
    std::vector<QPointF>* drops;
    explicit RecordingDrop(std::vector<QPointF>* where) : drops(where) {}
    bool Accepts(const QMimeData* data) const override
    {
        return data->urls().size() == 1 && data->urls().front().path().endsWith(QLatin1String(".take"));
    }
    void Drop(const QMimeData*, QPointF picturePoint) override { drops->push_back(picturePoint); }
};

using ViewDropTest = ViewTest;

bool SendDrop(QWidget* target, const QString& file, QPoint at)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

TEST_F(ViewDropTest, DragsGoToTheInstalledHandlerAtThePicturePointElseOnToTheWindowAbove)
{
    SetPicture(SolidImage(2000, 1000, 0xFF808080));
    auto view = ShowView(doc, QSize(400, 300));
    view->SetZoom(2.0f, 2.0f);
    view->UpdateScrollSizes();
    view->SetScrollPosition(100, 60);
    // Without a handler the view takes nothing.
    EXPECT_FALSE(SendDrop(view->viewport(), QStringLiteral("/tmp/a.take"), QPoint(50, 40)));

    std::vector<QPointF> drops;
    view->SetDropHandler(std::make_unique<RecordingDrop>(&drops));
    EXPECT_FALSE(SendDrop(view->viewport(), QStringLiteral("/tmp/a.leave"), QPoint(50, 40)));
    EXPECT_TRUE(drops.empty());
    EXPECT_TRUE(SendDrop(view->viewport(), QStringLiteral("/tmp/a.take"), QPoint(50, 40)));
    // (50 + 100) / 2 and (40 + 60) / 2.
    EXPECT_EQ(drops, std::vector<QPointF>{QPointF(75, 50)});
}

} // namespace
