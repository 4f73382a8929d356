#include "controls/BannerBar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor kFace(12, 200, 34);

void Send(CBannerBar& bar, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, pos, bar.mapToGlobal(pos), button, type == QEvent::MouseMove ? Qt::NoButton : button,
                      Qt::NoModifier);
    QApplication::sendEvent(&bar, &event);
}

// Counts the pixels of area in shot that differ from the same pixels of picture at origin, or from face when
// picture is null.
int Mismatches(const QImage& shot, const QRect& area, const QImage& picture, QPoint origin = {})
{
    int wrong = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb want = picture.isNull() ? kFace.rgb() : picture.pixel(x - origin.x(), y - origin.y());
            wrong += shot.pixel(x, y) != want;
        }
    return wrong;
}

} // namespace

TEST(BannerBar, PictureIsCentredAtNaturalSizeBetweenButtonFaceStrips)
{
    CBannerBar bar;
    ASSERT_EQ(bar.ImageCount(), 3);
    QPalette palette = bar.palette();
    palette.setColor(QPalette::Button, kFace);
    bar.setPalette(palette);
    bar.resize(800, 60);
    EXPECT_EQ(bar.height(), CBannerBar::kHeight);
    EXPECT_EQ(bar.sizeHint().height(), CBannerBar::kHeight);
    EXPECT_GE(bar.sizeHint().width(), 1920);
    EXPECT_EQ(bar.ImageRect(), QRect(160, 0, 480, 60));

    for (int index = 0; index < 2; ++index) {
        const QImage picture =
            QImage(CBannerBar::DefaultTips()[size_t(index)].imagePath).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(picture.size(), QSize(480, 60));
        const QImage shot = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shot.size(), QSize(800, 60));
        EXPECT_EQ(Mismatches(shot, QRect(0, 0, 160, 60), QImage()), 0) << index;
        EXPECT_EQ(Mismatches(shot, QRect(640, 0, 160, 60), QImage()), 0) << index;
        EXPECT_EQ(Mismatches(shot, QRect(160, 0, 480, 60), picture, QPoint(160, 0)), 0) << index;
        bar.Advance();
    }

    // Halves round toward minus infinity, also when the client is the smaller.
    EXPECT_EQ(CBannerBar::ImageRect(QSize(480, 60), QSize(801, 61)), QRect(160, 0, 480, 60));
    EXPECT_EQ(CBannerBar::ImageRect(QSize(480, 60), QSize(99, 59)), QRect(-191, -1, 480, 60));
}

TEST(BannerBar, OnlyThePictureShowsTheHandAndOpensTheLinkOnALeftClick)
{
    CBannerBar bar;
    bar.resize(800, 60);
    const QUrl url(QStringLiteral("qrc:/help/index.html"));
    bar.SetLink(url);
    QList<QUrl> opened;
    bar.SetOpener([&](const QUrl& u) { opened << u; });

    const struct
    {
        QPoint pos;
        bool inside;
    } points[] = {{{159, 30}, false}, {{160, 30}, true}, {{639, 59}, true}, {{640, 30}, false}, {{400, 0}, true}};
    for (const auto& point : points) {
        Send(bar, QEvent::MouseMove, point.pos);
        EXPECT_EQ(bar.cursor().shape(), point.inside ? Qt::PointingHandCursor : Qt::ArrowCursor) << point.pos.x();
    }

    Send(bar, QEvent::MouseButtonPress, {100, 30}, Qt::LeftButton);
    Send(bar, QEvent::MouseButtonPress, {700, 30}, Qt::LeftButton);
    Send(bar, QEvent::MouseButtonPress, {300, 30}, Qt::RightButton);
    EXPECT_TRUE(opened.isEmpty());
    Send(bar, QEvent::MouseButtonPress, {300, 30}, Qt::LeftButton);
    EXPECT_EQ(opened, QList<QUrl>{url});
}

TEST(BannerBar, TimerCyclesThroughTheTipsThatLoadAndTheDescriptionFollows)
{
    CBannerBar bar;
    EXPECT_EQ(bar.accessibleName(), QStringLiteral("Banner"));
    const QTimer* timer = bar.findChild<QTimer*>();
    ASSERT_TRUE(timer && timer->isActive());
    EXPECT_EQ(timer->interval(), 2000);
    const auto& tips = CBannerBar::DefaultTips();
    for (int expected : {0, 1, 2, 0}) {
        EXPECT_EQ(bar.CurrentIndex(), expected);
        EXPECT_EQ(bar.accessibleDescription(), tips[size_t(expected)].text);
        bar.Advance();
    }

    const CBannerBar::Tip missing{QStringLiteral(":/banner/none.png"), QStringLiteral("gone")};
    CBannerBar one({missing, tips[1], missing});
    ASSERT_EQ(one.ImageCount(), 1);
    EXPECT_EQ(one.accessibleDescription(), tips[1].text);
    one.Advance();
    EXPECT_EQ(one.CurrentIndex(), 0);

    // Without pictures: button face throughout, and nothing to click.
    CBannerBar none({missing});
    QPalette palette = none.palette();
    palette.setColor(QPalette::Button, kFace);
    none.setPalette(palette);
    none.resize(300, 60);
    int opened = 0;
    none.SetOpener([&](const QUrl&) { ++opened; });
    none.Advance();
    EXPECT_EQ(none.CurrentIndex(), 0);
    EXPECT_EQ(Mismatches(none.grab().toImage().convertToFormat(QImage::Format_RGB32), QRect(0, 0, 300, 60), {}), 0);
    Send(none, QEvent::MouseButtonPress, {150, 30}, Qt::LeftButton);
    EXPECT_EQ(opened, 0);
}
