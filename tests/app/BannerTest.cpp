#include "AppTestSupport.h"

#include "app/HelpLauncher.h"
#include "app/ResourceIds.h"
#include "controls/BannerBar.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>

TEST_F(AppTest, BannerSpansTheFrameAboveTheMainToolbarAndItsPictureOpensTheGuideInTheBrowser)
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

    // The guide goes to the browser as a file of its own, copied afresh.
    QTemporaryDir cache;
    ASSERT_TRUE(cache.isValid());
    QList<QUrl> external;
    bool browserWorks = true;
    Frame().Help().SetExternalOpener([&](const QUrl& url) {
        external << url;
        return browserWorks;
    });
    const QPoint centre = banner->ImageRect().center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, banner->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(banner, &press);
    ASSERT_EQ(external.size(), 1);
    QFile copy(external[0].toLocalFile());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    QFile builtIn(QStringLiteral(":/help/index.html"));
    ASSERT_TRUE(builtIn.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), builtIn.readAll());
    EXPECT_EQ(Frame().Help().GuideWindow(), nullptr);

    // A desktop without a browser still gets the guide, in the help window;
    // an older copy in the folder is replaced rather than kept.
    copy.close();
    browserWorks = false;
    Frame().Help().OpenGuideInBrowser(cache.path());
    ASSERT_EQ(external.size(), 2);
    EXPECT_EQ(external[1], QUrl::fromLocalFile(cache.path() + QStringLiteral("/index.html")));
    QTextBrowser* guide = Frame().Help().GuideWindow();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->source(), CHelpLauncher::kGuideUrl);
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
