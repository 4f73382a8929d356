#include "AppTestSupport.h"

#include "app/CommandRouter.h"
#include "app/ResourceIds.h"
#include "app/ToolIconEngine.h"
#include "view/TilemontView.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

struct FakeTarget : ICommandTarget
{
    int id;
    CCommandState state;
    int runs = 0;
    FakeTarget(int i, CCommandState s) : id(i), state(s) {}
    bool HandlesCommand(int c) const override { return c == id; }
    CCommandState CommandState(int) const override { return state; }
    void OnCommand(int) override { ++runs; }
};

// "Text" per item, "-" for separators, "Title:" for each menu.
QStringList Describe(const QList<QAction*>& actions)
{
    QStringList out;
    for (QAction* action : actions) {
        if (action->menu()) {
            out << action->text() + QLatin1Char(':');
            out << Describe(action->menu()->actions());
        } else if (action->isSeparator()) {
            out << QStringLiteral("-");
        } else if (action->isVisible()) {
            out << action->text();
        }
    }
    return out;
}

QList<int> ToolBarIds(QToolBar* bar)
{
    QList<int> ids;
    for (QAction* action : bar->actions())
        ids << (action->isSeparator() ? 0 : action->data().toInt());
    return ids;
}

} // namespace

TEST(CommandRouterTest, FirstHandlerOnTheRouteAnswersEvenWhenItIsDisabled)
{
    FakeTarget view(7, {false, false});
    FakeTarget doc(7, {true, true});
    FakeTarget other(8, {true, true});
    const CCommandRouter::Route route{&view, &doc, &other};

    EXPECT_EQ(CCommandRouter::FindHandler(route, 7), &view);
    EXPECT_FALSE(CCommandRouter::StateOf(route, 7).enabled);
    EXPECT_FALSE(CCommandRouter::Dispatch(route, 7));
    EXPECT_EQ(view.runs + doc.runs, 0);

    EXPECT_TRUE(CCommandRouter::StateOf(route, 8).checked);
    EXPECT_TRUE(CCommandRouter::Dispatch(route, 8));
    EXPECT_EQ(other.runs, 1);

    // Nobody handles 9: disabled, unchecked, not run.
    const CCommandState none = CCommandRouter::StateOf(route, 9);
    EXPECT_FALSE(none.enabled);
    EXPECT_FALSE(none.checked);
    EXPECT_FALSE(CCommandRouter::Dispatch(route, 9));
}

TEST_F(AppTest, WithoutATemplateWindowOnlyTheApplicationsCommandsAreOn)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    FlushDeletes();
    ASSERT_TRUE(App().Documents().isEmpty());

    EXPECT_EQ(Frame().CurrentMenu(), int(IDR_MAINFRAME));
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Tilemont"));
    for (int id : std::initializer_list<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_APP_ABOUT, ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_AREAS})
        EXPECT_TRUE(Action(id)->isEnabled()) << id;
    for (int id : std::initializer_list<int>{ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE, ID_CREATE_AREA, ID_SELECT_PICTURE, ID_HAND,
                   ID_REFRESH, ID_HELP_CONTENTS, ID_WINDOW_NEW, ID_FILE_PRINT, ID_EDIT_UNDO, ID_EDIT_PASTE,
                   ID_EDIT_COPY, ID_EXPORT})
        EXPECT_FALSE(Action(id)->isEnabled()) << id;
    EXPECT_TRUE(Action(ID_VIEW_TOOLBAR)->isChecked());
    EXPECT_TRUE(Action(ID_VIEW_AREAS)->isChecked()) << "the Areas panel is there from the start";
    // The empty recent-file list shows its greyed place holder.
    EXPECT_EQ(Action(ID_FILE_MRU_FIRST)->text(), QStringLiteral("Recent File"));
    EXPECT_FALSE(Action(ID_FILE_MRU_FIRST)->isEnabled());

    const QStringList menu = Describe(Frame().menuBar()->actions());
    EXPECT_EQ(menu, (QStringList{"&File:", "&New\tCtrl+N", "&Open...\tCtrl+O", "-", "Recent File", "-", "E&xit\tCtrl+Q",
                                 "&Edit:", "&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "&View:", "&Toolbar", "&Status Bar", "&Banner", "&Help:", "&Help...\tF1",
                                 "&About Tilemont..."}));
}

TEST_F(AppTest, TemplateWindowBringsItsMenuAndTheDocumentsCommands)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Frame().CurrentMenu(), int(IDR_TILEMTYPE));
    for (int id : std::initializer_list<int>{ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE, ID_SELECT_PICTURE, ID_CLEAR_SELECTION, ID_HAND,
                   ID_ZOOM_OUT, ID_REFRESH, ID_HELP_CONTENTS, ID_WINDOW_NEW, ID_WINDOW_CASCADE})
        EXPECT_TRUE(Action(id)->isEnabled()) << id;
    // Disabled by their handlers' rules, or by having no handler yet.
    for (int id : std::initializer_list<int>{ID_CREATE_AREA, ID_DELETE_AREA, ID_ADD_SELECTION_TO_AREA, ID_ORIGINAL_SIZE, ID_EXPORT,
                   ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_EDIT_COPY})
        EXPECT_FALSE(Action(id)->isEnabled()) << id;

    CPolygon triangle;
    triangle.contours.push_back({QPointF(1, 1), QPointF(9, 1), QPointF(5, 7)});
    ActiveDoc().SetSelection(&triangle);
    EXPECT_TRUE(Action(ID_CREATE_AREA)->isEnabled());
    EXPECT_FALSE(Action(ID_ADD_SELECTION_TO_AREA)->isEnabled());
    ActiveDoc().AddArea(CArea(), "add");
    ActiveDoc().SetSelectedIndex(0);
    EXPECT_TRUE(Action(ID_ADD_SELECTION_TO_AREA)->isEnabled());
    EXPECT_TRUE(Action(ID_DELETE_AREA)->isEnabled());

    // Zooming out makes "Original size" meaningful.
    ASSERT_TRUE(Frame().RunCommand(ID_ZOOM_OUT));
    EXPECT_TRUE(Action(ID_ORIGINAL_SIZE)->isEnabled());
    // A disabled command does not run even when asked directly.
    EXPECT_FALSE(Frame().RunCommand(ID_EXPORT));
}

TEST_F(AppTest, PickedToolIsTheOnlyCheckedOne)
{
    ASSERT_TRUE(Start());
    Action(ID_HAND)->trigger();
    EXPECT_TRUE(Action(ID_HAND)->isChecked());
    EXPECT_FALSE(Action(ID_RECT_SELECTION)->isChecked());

    Action(ID_ELLIPSE_SELECTION)->trigger();
    EXPECT_TRUE(Action(ID_ELLIPSE_SELECTION)->isChecked());
    EXPECT_FALSE(Action(ID_HAND)->isChecked());
    // Triggering the checked tool again keeps it checked (Qt would toggle it off).
    Action(ID_ELLIPSE_SELECTION)->trigger();
    EXPECT_TRUE(Action(ID_ELLIPSE_SELECTION)->isChecked());

    // Each window has its own tool: a new document starts with its own.
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    EXPECT_FALSE(Action(ID_ELLIPSE_SELECTION)->isChecked());
}

TEST_F(AppTest, TemplateMenuTextsAcceleratorsAndToolbars)
{
    ASSERT_TRUE(Start());
    const QStringList menu = Describe(Frame().menuBar()->actions());
    const QStringList expected{
        "&File:", "&New\tCtrl+N", "&Open...\tCtrl+O", "&Close\tCtrl+F4", "&Save\tCtrl+S", "Save &As...\tCtrl+Shift+S", "-",
        "&Export...", "&Print...\tCtrl+P", "Print Pre&view", "-", "Recent File", "-", "E&xit\tCtrl+Q",
        "&Edit:", "&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "&Copy\tCtrl+C", "&Paste\tCtrl+V",
        "Template:", "Select picture", "Create area", "Delete selected area", "Clear selection",
        "Add selection to existing area", "Delete selection from existing area", "-", "Fit &Perspective", "Real &Size...", "P&attern...", "-",
        "Render texture group...",
        "Select:", "&All\tCtrl+A", "&None\tCtrl+Shift+A", "&Invert\tCtrl+I", "-", "&Grow...", "&Shrink...", "-",
        "&Refine Edges...", "Tool:", "Elliptic selection\tE", "Rectangular selection\tR", "Polyline selection\tP",
        "Free-hand selection\tF", "Magic wand selection\tW", "Find surface\tS", "-", "Hand\tH", "-", "Zoom in\tZ",
        "Zoom out\tCtrl+-", "Original size", "Zoom to Fit\tCtrl+0",
        "&View:", "&Toolbar", "&Status Bar", "&Banner", "&Areas", "-", "&Keep Shading", "&Perspective Grid", "&Refresh\tF5",
        "&Window:", "&New Window", "&Cascade", "&Tile", "&Arrange Icons", "-", "&1 Tilem1",
        "&Help:", "&Help...\tF1", "&About Tilemont..."};
    EXPECT_EQ(menu, expected);

    using K = QKeySequence;
    EXPECT_EQ(Action(ID_FILE_PRINT)->shortcuts(), QList<K>{K(Qt::CTRL | Qt::Key_P)});
    EXPECT_EQ(Action(ID_EDIT_UNDO)->shortcuts(), (QList<K>{K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)}));
    EXPECT_EQ(Action(ID_EDIT_PASTE)->shortcuts(), (QList<K>{K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)}));
    // Accelerators reach the window whatever menu is shown; keys nothing
    // answers (cut, next pane) are not taken at all.
    EXPECT_TRUE(Frame().actions().contains(Action(ID_EDIT_COPY)));
    for (QAction* action : Frame().actions())
        for (const K& key : {K(Qt::CTRL | Qt::Key_X), K(Qt::Key_F6), K(Qt::SHIFT | Qt::Key_F6)})
            EXPECT_FALSE(action->shortcuts().contains(key)) << action->text().toStdString();

    EXPECT_EQ(ToolBarIds(Frame().MainToolBar()),
              (QList<int>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_EXPORT, 0, ID_EDIT_UNDO, ID_EDIT_REDO, 0,
                          ID_APP_ABOUT, 0, ID_CREATE_AREA,
                          ID_DELETE_AREA, 0, ID_ADD_SELECTION_TO_AREA, ID_DELETE_SELECTION_FROM_AREA, 0,
                          ID_CLEAR_SELECTION, 0, ID_SELECT_PICTURE, ID_REFRESH}));
    EXPECT_EQ(ToolBarIds(Frame().ToolsToolBar()),
              (QList<int>{ID_ELLIPSE_SELECTION, ID_RECT_SELECTION, ID_POLYLINE_SELECTION, ID_FREEHAND_SELECTION,
                          ID_MAGIC_WAND, ID_FIND_SURFACE, 0, ID_HAND, 0, ID_ZOOM_IN, ID_ZOOM_OUT, ID_ORIGINAL_SIZE,
                          ID_ZOOM_TO_FIT}));
    EXPECT_EQ(Frame().toolBarArea(Frame().ToolsToolBar()), Qt::LeftToolBarArea);
    EXPECT_EQ(Action(ID_DELETE_SELECTION_FROM_AREA)->toolTip(), QStringLiteral("Delete selection from existing area"));
    EXPECT_EQ(Action(ID_DELETE_SELECTION_FROM_AREA)->statusTip(), QStringLiteral("Delete selection from existing area"));
}

TEST_F(AppTest, ToolbarAndStatusBarCommandsToggleThemAndShowTheirState)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_TOOLBAR));
    EXPECT_FALSE(Frame().MainToolBar()->isVisible());
    // Only the main toolbar answers to "Toolbar".
    EXPECT_TRUE(Frame().ToolsToolBar()->isVisible());
    EXPECT_FALSE(Action(ID_VIEW_TOOLBAR)->isChecked());

    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(Frame().statusBar()->isVisible());
    EXPECT_FALSE(Action(ID_VIEW_STATUS_BAR)->isChecked());
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(Action(ID_VIEW_STATUS_BAR)->isChecked());
}

TEST(ToolIconEngineTest, IconsAreDrawnAtTheDevicePixelRatio)
{
    const int ids[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_EXPORT, ID_APP_ABOUT, ID_CREATE_AREA,
                       ID_DELETE_AREA, ID_ADD_SELECTION_TO_AREA, ID_DELETE_SELECTION_FROM_AREA,
                       ID_CLEAR_SELECTION, ID_SELECT_PICTURE, ID_REFRESH, ID_ELLIPSE_SELECTION,
                       ID_RECT_SELECTION, ID_POLYLINE_SELECTION, ID_FREEHAND_SELECTION, ID_MAGIC_WAND, ID_HAND,
                       ID_ZOOM_IN,
                       ID_ZOOM_OUT, ID_ORIGINAL_SIZE, ID_ZOOM_TO_FIT, IDR_MAINFRAME, ID_EDIT_UNDO, ID_EDIT_REDO};
    QList<QImage> drawn;
    for (int id : ids) {
        ASSERT_TRUE(CToolIconEngine::HasDrawing(id)) << id;
        const QIcon icon = CToolIconEngine::Icon(id);
        const QPixmap crisp = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(crisp.size(), QSize(32, 32)) << id;
        EXPECT_DOUBLE_EQ(crisp.devicePixelRatio(), 2.0) << id;
        const QImage image = crisp.toImage().convertToFormat(QImage::Format_ARGB32);
        int opaque = 0, clear = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                opaque += qAlpha(image.pixel(x, y)) > 200;
                clear += qAlpha(image.pixel(x, y)) == 0;
            }
        EXPECT_GT(opaque, 30) << id;
        // Around the drawing the toolbar must show through, not whatever
        // the pixmap's memory held (the program's own icon fills its square).
        if (id != IDR_MAINFRAME) {
            EXPECT_GT(clear, 30) << id;
        }
        const QImage disabled = icon.pixmap(QSize(16, 16), 2.0, QIcon::Disabled).toImage();
        EXPECT_NE(disabled.convertToFormat(QImage::Format_ARGB32), image) << id;
        EXPECT_FALSE(drawn.contains(image)) << "icon " << id << " looks like another";
        drawn << image;
    }
    EXPECT_FALSE(CToolIconEngine::HasDrawing(ID_EDIT_COPY));
}
