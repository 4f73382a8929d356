#include "BrowserTestSupport.h"

#include "panels/TextureBrowser.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// Every pixel different, so any shift or scaling shows.
QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x * 7 + y * 13) & 0xFF));
    return image;
}

class TextureBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override { m_browser.SetCellSize(100, 75); }
    // Loads folder into a viewport of viewport and waits for its swatches.
    void Show(const QString& folder, QSize viewport = QSize(200, 75))
    {
        m_browser.LoadFolder(folder, QStringLiteral("*.*"));
        ShowList(m_browser, viewport);
        ASSERT_TRUE(WaitForSwatches(m_browser));
    }
    QImage Swatch(int position, bool selected = false) const
    {
        return m_browser.SwatchAt(position, selected).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QString ToolTipAt(int position)
    {
        const QPoint at = m_browser.CellRect(position).center();
        QHelpEvent help(QEvent::ToolTip, at, m_browser.viewport()->mapToGlobal(at));
        QApplication::sendEvent(m_browser.viewport(), &help);
        return QToolTip::text();
    }
    QRgb Colour(QPalette::ColorRole role) const { return m_browser.palette().color(role).rgb(); }

    QTemporaryDir m_dir;
    CTextureBrowser m_browser;
};

TEST_F(TextureBrowserTest, SmallPicturesAreCentredAndLargeOnesShowTheirTopLeftUnscaled)
{
    const QImage small = Pattern(40, 20), large = Pattern(300, 200);
    WriteFile(m_dir.path(), "a-small.png", small);
    WriteFile(m_dir.path(), "b-large.png", large);
    Show(m_dir.path());
    for (const bool selected : {false, true}) {
        const QImage a = Swatch(0, selected), b = Swatch(1, selected);
        EXPECT_EQ(a.copy(30, 17, 40, 20), small);
        EXPECT_EQ(b.copy(5, 5, 90, 45), large.copy(0, 0, 90, 45));
        const QRgb fill = Colour(selected ? QPalette::Highlight : QPalette::Window);
        EXPECT_EQ((std::array{a.pixel(29, 17), a.pixel(70, 36), b.pixel(95, 5), b.pixel(5, 50)}),
                  (std::array{fill, fill, fill, fill}));
    }
    // Drawing on the UI thread gives the very cell the worker path gave.
    QPixmap normal(100, 75), selected(100, 75);
    {
        QPainter n(&normal), s(&selected);
        ASSERT_TRUE(m_browser.DrawCell(n, s, m_browser.PathAt(1)));
    }
    EXPECT_EQ(normal.toImage().convertToFormat(QImage::Format_RGB32), Swatch(1));
    EXPECT_EQ(ToolTipAt(1), QStringLiteral("b-large.png — 300 × 200 pixels"));

    // On a screen at 200 % the same cell has four times the pixels and shows
    // the picture one image pixel per screen pixel: sharp, not blown up.
    const auto drawnTwice = [&](int position) {
        QPixmap cell(200, 150), other(200, 150);
        cell.setDevicePixelRatio(2);
        other.setDevicePixelRatio(2);
        QPainter n(&cell), s(&other);
        EXPECT_TRUE(m_browser.DrawCell(n, s, m_browser.PathAt(position)));
        n.end();
        return cell.toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QImage largeTwice = drawnTwice(1), smallTwice = drawnTwice(0);
    ASSERT_EQ(largeTwice.size(), QSize(200, 150));
    EXPECT_EQ(largeTwice.copy(10, 10, 180, 90), large.copy(0, 0, 180, 90));
    EXPECT_EQ(smallTwice.copy(80, 45, 40, 20), small);
    EXPECT_EQ(smallTwice.pixel(79, 45), Colour(QPalette::Window));
}

TEST_F(TextureBrowserTest, AFileThatIsNoPictureIsCrossedAndCannotBeLoaded)
{
    const QString path = WriteFile(m_dir.path(), "notes.png", QImage());
    Show(m_dir.path());
    EXPECT_EQ(m_browser.LoadFocusedImage(), nullptr);
    for (const bool selected : {false, true}) {
        const QImage cell = Swatch(0, selected);
        const QRgb ink = Colour(selected ? QPalette::HighlightedText : QPalette::WindowText);
        const QRgb fill = Colour(selected ? QPalette::Highlight : QPalette::Window);
        // The frame's corners, both diagonals a fifth of the way in, and an
        // empty spot between them.
        const auto onDiagonal = [&](int x, int y) {
            return cell.pixel(x, y - 1) == ink || cell.pixel(x, y) == ink || cell.pixel(x, y + 1) == ink;
        };
        EXPECT_EQ((std::array{cell.pixel(0, 0), cell.pixel(99, 0), cell.pixel(0, 74), cell.pixel(99, 74),
                              cell.pixel(50, 5)}),
                  (std::array{ink, ink, ink, ink, fill}));
        EXPECT_TRUE(onDiagonal(20, 15) && onDiagonal(80, 15));
    }
    EXPECT_EQ(ToolTipAt(0), QStringLiteral("notes.png — not an image"));

    QTest::mouseClick(m_browser.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QString error;
    const std::unique_ptr<QImage> image = m_browser.LoadFocusedImage(&error);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->isNull());
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
}

TEST_F(TextureBrowserTest, AnUpperCaseJpegIsShownAndLoaded)
{
    WriteFile(m_dir.path(), "birch.png", Solid(30, 30, 0xFF808080));
    WriteFile(m_dir.path(), "Oak.JPG", Solid(120, 80, 0xFFC08040), "JPG");
    Show(m_dir.path());
    ASSERT_EQ(m_browser.PathAt(1), QDir(m_dir.path()).filePath("Oak.JPG"));
    const QColor drawn = Swatch(1).pixelColor(40, 30);
    EXPECT_NEAR(drawn.red(), 0xC0, 6);
    EXPECT_NEAR(drawn.green(), 0x80, 6);
    EXPECT_NEAR(drawn.blue(), 0x40, 6);
    EXPECT_EQ(ToolTipAt(1), QStringLiteral("Oak.JPG — 120 × 80 pixels"));

    QTest::mouseClick(m_browser.viewport(), Qt::LeftButton, {}, QPoint(150, 10));
    const std::unique_ptr<QImage> image = m_browser.LoadFocusedImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), QSize(120, 80));
}

TEST_F(TextureBrowserTest, AGroupShownBeforeComesBackFromMemoryWithNewFilesAdded)
{
    QTemporaryDir other;
    WriteFile(other.path(), "slate.png", Solid(20, 20, 0xFF404040));
    const QString red = WriteFile(m_dir.path(), "red.png", Solid(20, 20, 0xFFFF0000));
    Show(m_dir.path());

    WriteFile(m_dir.path(), "red.png", Solid(20, 20, 0xFF0000FF));
    WriteFile(m_dir.path(), "green.png", Solid(20, 20, 0xFF00FF00));
    Show(other.path());
    m_browser.ClearList();
    m_browser.LoadFolder(m_dir.path(), QStringLiteral("*.*"));
    // Nothing painted yet, yet the old swatch is there.
    ASSERT_EQ(m_browser.PathAt(1), red);
    EXPECT_EQ(Swatch(1).pixel(50, 30), 0xFFFF0000);
    ASSERT_TRUE(WaitForSwatches(m_browser));
    EXPECT_EQ(Swatch(0).pixel(50, 30), 0xFF00FF00);
}

TEST_F(TextureBrowserTest, LeavingAGroupDropsItsQueuedDecodesAndDestructionWaitsForRunningOnes)
{
    // Large PNGs decode whole (no clipped reading), so requests queue up.
    QImage big = Pattern(1200, 1200);
    for (int i = 0; i < 24; ++i)
        WriteFile(m_dir.path(), QStringLiteral("big%1.png").arg(i, 2, 10, QChar('0')), big, "PNG");
    QTemporaryDir empty;
    m_browser.LoadFolder(m_dir.path(), QStringLiteral("*.*"));
    ShowList(m_browser, QSize(200, 750));
    m_browser.viewport()->repaint();
    const int requested = m_browser.PendingSwatches();
    m_browser.LoadFolder(empty.path(), QStringLiteral("*.*"));
    EXPECT_LT(m_browser.PendingSwatches(), requested);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_browser.PendingSwatches() == 0; }, 20000));

    // The dropped cells ask again when they show again.
    m_browser.LoadFolder(m_dir.path(), QStringLiteral("*.*"));
    ASSERT_TRUE(WaitForSwatches(m_browser));
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(m_browser.SwatchAt(i, false).isNull()) << i;

    auto leaving = std::make_unique<CTextureBrowser>();
    leaving->SetCellSize(100, 75);
    leaving->LoadFolder(m_dir.path(), QStringLiteral("*.*"));
    ShowList(*leaving, QSize(200, 750));
    leaving->viewport()->repaint();
    EXPECT_GT(leaving->PendingSwatches(), 0);
    leaving.reset();
}

} // namespace
