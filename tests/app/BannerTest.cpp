#include "AppTestSupport.h"

#include "app/HelpLauncher.h"
#include "app/ResourceIds.h"
#include "controls/BannerBar.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTextBrowser>
#include <QToolBar>

TEST_F(AppTest, BannerSpansTheFrameAboveTheMainToolbarAndItsPictureShowsTheGuide)
{
    ASSERT_TRUE(Start());
    CBannerBar* banner = Frame().Banner();
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(Frame().IsBannerVisible());
    EXPECT_EQ(banner->height(), CBannerBar::kHeight);
    EXPECT_EQ(banner->width(), Frame().width());
    const QPoint bannerTop = banner->mapTo(&Frame(), QPoint(0, 0));
    EXPECT_GE(bannerTop.y(), Frame().menuBar()->geometry().bottom());
    EXPECT_GE(Frame().MainToolBar()->y(), bannerTop.y() + CBannerBar::kHeight);

    QList<QUrl> external;
    Frame().Help().SetExternalOpener([&](const QUrl& url) {
        external << url;
        return true;
    });
    const QPoint centre = banner->ImageRect().center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, banner->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(banner, &press);
    QTextBrowser* guide = Frame().Help().GuideWindow();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->source(), CHelpLauncher::kGuideUrl);
    EXPECT_TRUE(external.isEmpty());
}

TEST_F(AppTest, ViewBannerTogglesTheBannerAndTheChoiceOutlivesTheRun)
{
    const QString key = QLatin1String(AppSettings::kShowBannerKey);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Action(ID_VIEW_BANNER)->isChecked());
    Action(ID_VIEW_BANNER)->trigger();
    EXPECT_FALSE(Frame().IsBannerVisible());
    EXPECT_FALSE(Action(ID_VIEW_BANNER)->isChecked());
    // Written as the choice is made, not only at exit.
    EXPECT_EQ(Store()->value(key), QVariant(false));
    EXPECT_EQ(App().ExitInstance(), 0);

    ASSERT_TRUE(Start());
    EXPECT_FALSE(Frame().IsBannerVisible());
    EXPECT_FALSE(Action(ID_VIEW_BANNER)->isChecked());
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_BANNER));
    EXPECT_TRUE(Frame().Banner()->isVisible());
    EXPECT_TRUE(Action(ID_VIEW_BANNER)->isChecked());
    EXPECT_EQ(Store()->value(key), QVariant(true));
}
