#include "controls/BannerArt.h"
#include "controls/BannerBar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

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

TEST(BannerBar, PictureIsCentredBetweenButtonFaceStripsAndSaysItsTip)
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

    QImage previous;
    for (int index = 0; index < 3; ++index) {
        QImage picture(CBannerArt::kSize, QImage::Format_RGB32);
        QPainter painter(&picture);
        CBannerArt::Paint(painter, {}, CBannerBar::DefaultTips()[size_t(index)].text);
        painter.end();
        const QImage shot = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shot.size(), QSize(800, 60));
        EXPECT_EQ(Mismatches(shot, QRect(0, 0, 160, 60), QImage()), 0) << index;
        EXPECT_EQ(Mismatches(shot, QRect(640, 0, 160, 60), QImage()), 0) << index;
        EXPECT_EQ(Mismatches(shot, QRect(160, 0, 480, 60), picture, QPoint(160, 0)), 0) << index;
        // Each tip shows its own sentence.
        if (!previous.isNull()) {
            EXPECT_GT(Mismatches(picture, QRect(72, 0, 360, 60), previous), 500) << index;
        }
        previous = picture;
        bar.Advance();
    }

    // Halves round toward minus infinity, also when the client is the smaller.
    EXPECT_EQ(CBannerBar::ImageRect(QSize(480, 60), QSize(801, 61)), QRect(160, 0, 480, 60));
    EXPECT_EQ(CBannerBar::ImageRect(QSize(480, 60), QSize(99, 59)), QRect(-191, -1, 480, 60));
}

TEST(BannerBar, IsDrawnAtTheScreensScaleNotBlownUp)
{
    CBannerBar bar;
    bar.resize(480, 60);
    const auto render = [&](qreal scale) {
        QImage image(QSize(480, 60) * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        bar.render(&image);
        image.setDevicePixelRatio(1);
        return image;
    };
    const QImage single = render(1), twice = render(2);
    // The same picture: each 2 x 2 block of the sharp one averages to about
    // the pixel of the single one...
    double difference = 0;
    int detailed = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 480; ++x) {
            int sum = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const int sharp = qGray(twice.pixel(2 * x + dx, 2 * y + dy));
                    sum += sharp;
                    detailed += std::abs(sharp - qGray(single.pixel(x, y))) > 64;
                }
            difference += std::abs(sum / 4.0 - qGray(single.pixel(x, y)));
        }
    EXPECT_LT(difference / (480 * 60), 6.0);
    // ...but with the detail of its own pixels: a single-scale picture
    // blown up would differ from itself nowhere.
    EXPECT_GT(detailed, 2000);
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

    const CBannerBar::Tip missing{QString()};
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
