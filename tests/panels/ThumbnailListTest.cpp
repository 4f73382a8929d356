#include "BrowserTestSupport.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <array>
#include <tuple>

namespace {

// Draws every cell at once on the UI thread and counts how often it had to.
class CPlainList : public CThumbnailList
{
public:
    using CThumbnailList::Caption;
    bool DrawCell(QPainter& normal, QPainter& selected, const QString&) override
    {
        ++m_nDraws;
        normal.fillRect(normal.viewport(), Qt::gray);
        selected.fillRect(selected.viewport(), Qt::darkBlue);
        return true;
    }
    int m_nDraws = 0;
};

// Collects what the viewport was asked to paint.
class CPaintSpy : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion m_painted;
};

// Seven files in a viewport two 50-pixel cells wide and one high: four rows,
// three of them below the first screen.
class ThumbnailListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 7; ++i)
            WriteFile(m_dir.path(), QStringLiteral("t%1.txt").arg(i), QImage());
        m_list.LoadFolder(m_dir.path(), QStringLiteral("*.*"));
        ShowList(m_list, QSize(110, 60));
    }
    void Click(Qt::MouseButton button, QPoint at) { QTest::mouseClick(m_list.viewport(), button, {}, at); }

    QTemporaryDir m_dir;
    CPlainList m_list;
};

TEST_F(ThumbnailListTest, ScrollsInWholeRowsWithinTheRowsBelowTheFirstScreen)
{
    QScrollBar* bar = m_list.verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ((std::array{bar->minimum(), bar->maximum(), bar->pageStep()}), (std::array{0, 3, 1}));
    std::vector<int> offsets;
    const auto step = [&](QAbstractSlider::SliderAction action, int times) {
        for (int i = 0; i < times; ++i)
            bar->triggerAction(action);
        offsets.push_back(m_list.ScrollOffset());
    };
    step(QAbstractSlider::SliderSingleStepAdd, 5); // stops at the last row
    step(QAbstractSlider::SliderPageStepSub, 1);
    step(QAbstractSlider::SliderSingleStepSub, 5); // stops at the top
    QWheelEvent wheel(QPointF(20, 20), m_list.viewport()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_list.viewport(), &wheel);
    offsets.push_back(m_list.ScrollOffset());
    EXPECT_EQ(offsets, (std::vector{150, 100, 0, 50})); // the wheel scrolls by a page at most

    // Four columns leave two rows: the offset is pulled back into range.
    SetViewportSize(m_list, QSize(210, 60));
    EXPECT_EQ((std::array{bar->maximum(), m_list.ScrollOffset()}), (std::array{1, 50}));
    // Everything fits: no scroll bar at all.
    SetViewportSize(m_list, QSize(400, 60));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(m_list.ScrollOffset(), 0);
}

TEST_F(ThumbnailListTest, ClicksReportTheFocusMoveAndMissesStaySilent)
{
    CNotificationLog log(m_list);
    Click(Qt::LeftButton, QPoint(105, 10)); // right of the last full column
    Click(Qt::LeftButton, QPoint(75, 10));
    QApplication::processEvents();

    CPaintSpy spy;
    m_list.viewport()->installEventFilter(&spy);
    Click(Qt::LeftButton, QPoint(80, 20));
    m_list.viewport()->removeEventFilter(&spy);
    EXPECT_EQ(spy.m_painted, QRegion(m_list.CellRect(1)));

    Click(Qt::RightButton, QPoint(10, 10));
    // Qt hands a widget the second press of a double click as the double click.
    QTest::mouseDClick(m_list.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    m_list.verticalScrollBar()->setValue(3);
    Click(Qt::LeftButton, QPoint(75, 10)); // beside the last cell
    Click(Qt::LeftButton, QPoint(10, 55)); // below it

    using N = CThumbnailNotification;
    EXPECT_EQ(log.Take(), (std::vector{Note(&m_list, N::kSelChanged, -1, 1), Note(&m_list, N::kSameClicked, 1, 1),
                                       Note(&m_list, N::kSelChanged, 1, 0), Note(&m_list, N::kRightClick, -1, -1),
                                       Note(&m_list, N::kSameClicked, 0, 0)}));
    EXPECT_EQ(m_list.FocusedPosition(), 0);
}

TEST_F(ThumbnailListTest, ArrowKeysMoveTheFocusAndKeepItOnScreen)
{
    CNotificationLog log(m_list);
    std::vector<std::pair<int, int>> steps; // focus, offset after each key
    const auto press = [&](Qt::Key key) {
        QTest::keyClick(&m_list, key);
        steps.emplace_back(m_list.FocusedPosition(), m_list.ScrollOffset());
    };
    press(Qt::Key_Left); // nothing focused: Left and Up lead nowhere
    press(Qt::Key_Up);
    press(Qt::Key_Down); // the end of the first row
    m_list.LoadFolder(m_dir.path(), QStringLiteral("*.*"));
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down,
                        Qt::Key_Right, Qt::Key_Left, Qt::Key_Up})
        press(key);
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{-1, 0}, {-1, 0}, {1, 0}, {0, 0}, {1, 0}, {2, 50}, {4, 100},
                                                       {6, 150}, {6, 150}, {6, 150}, {5, 100}, {3, 50}}));
    EXPECT_EQ(log.Take().size(), 8u);
}

TEST_F(ThumbnailListTest, NamesSortRegardlessOfCaseAndRenderOnlyOnce)
{
    QTemporaryDir dir;
    for (const char* name : {"b.txt", "Oak.JPG", "apple.txt", "a.txt", "A.txt", "C.txt"})
        WriteFile(dir.path(), QString::fromLatin1(name), QImage());
    m_list.LoadFolder(dir.path(), QStringLiteral("*.*"));
    QStringList names;
    for (int i = 0; i < m_list.Count(); ++i)
        names << QFileInfo(m_list.PathAt(i)).fileName();
    EXPECT_EQ(names, (QStringList{"A.txt", "a.txt", "apple.txt", "b.txt", "C.txt", "Oak.JPG"}));
    EXPECT_EQ(m_list.Caption(m_list.PathAt(5)), QStringLiteral("oak"));

    // Only what shows is drawn: rows 0 and 1 (the second in part), and
    // drawn once however often the group is shown again.
    m_list.m_nDraws = 0;
    m_list.viewport()->repaint();
    EXPECT_EQ(m_list.m_nDraws, 4);
    m_list.ClearList();
    EXPECT_EQ((std::tuple{m_list.Count(), m_list.FocusedPosition(), m_list.ScrollOffset(), m_list.Folder()}),
              (std::tuple{0, -1, 0, QString()}));
    m_list.LoadFolder(dir.path(), QStringLiteral("*.*"));
    m_list.viewport()->repaint();
    EXPECT_EQ(m_list.m_nDraws, 4);
    m_list.verticalScrollBar()->setValue(2);
    m_list.viewport()->repaint();
    EXPECT_EQ(m_list.m_nDraws, 6);
}

} // namespace
