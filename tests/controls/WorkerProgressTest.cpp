#include "controls/WorkerProgress.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

QProgressDialog* ShownProgress()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<QProgressDialog*>(w); progress && progress->isVisible())
            return progress;
    return nullptr;
}

} // namespace

// Quick work never shows the window; the work runs off the interface
// thread, and what it leaves is there when Run returns.
TEST(WorkerProgressTest, QuickWorkShowsNoWindowAndHandsItsResultBack)
{
    CWorkerProgress work({QStringLiteral("Title"), QStringLiteral("Working..."), 100, 500, 20});
    bool everShown = false;
    int polls = 0;
    work.SetPoll([&](QProgressDialog& progress) {
        ++polls;
        everShown = everShown || progress.isVisible();
    });
    QThread* workerThread = nullptr;
    int result = 0;
    work.Run([&] {
        workerThread = QThread::currentThread();
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        result = 42;
    });
    EXPECT_EQ(result, 42);
    EXPECT_NE(workerThread, QThread::currentThread());
    EXPECT_GE(polls, 2) << "the window is brought up to date while the work runs";
    EXPECT_FALSE(everShown);
    EXPECT_FALSE(work.IsCancelled());
    EXPECT_EQ(ShownProgress(), nullptr);
}

// Cancel raises the flag and keeps the window up, saying so with the button
// off, until the work notices; then the window goes.
TEST(WorkerProgressTest, CancelKeepsTheWindowUpUntilTheWorkStops)
{
    CWorkerProgress work({QStringLiteral("Title"), QStringLiteral("Working..."), 10, 0, 20});
    QString labelAfterPress;
    bool enabledAfterPress = true;
    bool visibleAfterPress = false;
    bool pressed = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QProgressDialog* progress = ShownProgress();
        if (!progress || pressed)
            return;
        pressed = true;
        EXPECT_EQ(progress->windowTitle(), QStringLiteral("Title"));
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        // A few polls go by while the work has not yet looked: none hides it.
        QTest::qWait(120);
        labelAfterPress = progress->labelText();
        enabledAfterPress = progress->findChild<QPushButton*>()->isEnabled();
        visibleAfterPress = progress->isVisible();
    });
    user.start(30);
    int checks = 0;
    work.Run([&] {
        // Looks at the flag only every 50 ms, as slow work does.
        while (!work.CancelFlag()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ++checks;
        }
        // One last slow step after the flag was seen.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    user.stop();
    ASSERT_TRUE(pressed);
    EXPECT_TRUE(work.IsCancelled());
    EXPECT_EQ(labelAfterPress, QStringLiteral("Cancelling..."));
    EXPECT_FALSE(enabledAfterPress);
    EXPECT_TRUE(visibleAfterPress);
    EXPECT_GT(checks, 0);
    EXPECT_EQ(ShownProgress(), nullptr);
}
