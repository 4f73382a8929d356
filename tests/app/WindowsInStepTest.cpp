#include "AppTestSupport.h"

#include "app/HelpLauncher.h"
#include "app/ResourceIds.h"
#include "app/WindowList.h"
#include "document/TestImages.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "view/TilemontView.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

// The template windows, the Window menu, the titles and the Areas panel
// keeping step with each other as windows open, close and change.
class WindowsInStepTest : public AppTest
{
protected:
    // A template with one area of the given name.
    QString WriteWithArea(const QString& file, const QString& areaName)
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        CArea area;
        area.SetName(areaName);
        const CPolygon outline = RectPolygon(2, 2, 20, 20);
        area.SetOutline(&outline);
        const QString path = TempPath(file);
        QString error;
        EXPECT_TRUE(SaveTemplateFile(path, &picture, {area}, &error)) << error.toStdString();
        return path;
    }

    // Opens wall.tlm then floor.tlm, the latter in front.
    void OpenTwo()
    {
        ASSERT_TRUE(Start({WriteWithArea(QStringLiteral("wall.tlm"), QStringLiteral("Wall"))}));
        ASSERT_NE(App().OpenInNewWindow(WriteWithArea(QStringLiteral("floor.tlm"), QStringLiteral("Floor"))), nullptr);
        ASSERT_EQ(Frame().ChildFrames().size(), 2);
    }

    QStringList PanelAreas()
    {
        QStringList names;
        const CAreaListBox* list = Frame().AreasPanel()->Controls().areaList;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }

    QMenu* WindowMenu()
    {
        Frame().UpdateCommandUI();
        for (QAction* action : Frame().menuBar()->actions())
            if (action->menu() && action->text() == QStringLiteral("&Window"))
                return action->menu();
        return nullptr;
    }

    // The Window menu's window list: text, with "*" for the checked one.
    QStringList WindowList()
    {
        QStringList items;
        if (QMenu* menu = WindowMenu())
            for (QAction* action : menu->actions())
                if (action->isVisible() && action->data().toInt() >= ID_WINDOW_CHILD_FIRST &&
                    action->data().toInt() <= ID_WINDOW_CHILD_LAST)
                    items << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
        return items;
    }
};

TEST_F(WindowsInStepTest, EscapeInThePanelHidesItAndKeepsTheWindowInFront)
{
    OpenTwo();
    Frame().show();
    QApplication::setActiveWindow(&Frame());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    CChildFrame* front = Frame().ActiveChild();
    QLineEdit* field = Frame().AreasPanel()->Controls().rotation;
    field->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(field));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(Frame().AreasPanel()->isVisible());
    EXPECT_EQ(Frame().ActiveChild(), front);
    EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(front->View()));

    // Enter hides it the same way.
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_AREAS));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(Frame().AreasPanel()->isVisible());
    EXPECT_EQ(Frame().ActiveChild(), front);
}

TEST_F(WindowsInStepTest, AfterAWindowClosesThePanelShowsTheOneNowInFront)
{
    OpenTwo();
    EXPECT_EQ(PanelAreas(), QStringList{"Floor"});
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    FlushDeletes();
    ASSERT_EQ(Frame().ChildFrames().size(), 1);
    EXPECT_EQ(Frame().AreasPanel()->Document(), &ActiveDoc());
    EXPECT_EQ(PanelAreas(), QStringList{"Wall"});
    // The panel works on that window's view: its edits reach the template.
    EXPECT_EQ(Frame().AreasPanel()->View(), Frame().ActiveChild()->View());
}

TEST_F(WindowsInStepTest, WindowMenuListsTheWindowsAndBringsOneForward)
{
    OpenTwo();
    EXPECT_EQ(WindowList(), (QStringList{"&1 wall.tlm", "&2 floor.tlm *"}));
    ASSERT_TRUE(Frame().RunCommand(ID_WINDOW_NEW));
    EXPECT_EQ(WindowList(), (QStringList{"&1 wall.tlm", "&2 floor.tlm:1", "&3 floor.tlm:2 *"}));

    for (QAction* action : WindowMenu()->actions())
        if (action->data().toInt() == ID_WINDOW_CHILD_FIRST)
            action->trigger();
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("wall.tlm"));
    EXPECT_EQ(WindowList(), (QStringList{"&1 wall.tlm *", "&2 floor.tlm:1", "&3 floor.tlm:2"}));
    // Nothing is listed past the open windows.
    EXPECT_FALSE(Frame().RunCommand(ID_WINDOW_CHILD_FIRST + 3));
}

// Past nine windows the menu offers them all in one list.
TEST_F(WindowsInStepTest, MoreWindowsReachesEveryWindowPastTheNinth)
{
    ASSERT_TRUE(Start());
    for (int i = 1; i < 11; ++i)
        ASSERT_TRUE(Frame().RunCommand(ID_FILE_NEW));
    ASSERT_EQ(Frame().ChildFrames().size(), 11);
    EXPECT_EQ(WindowList().size(), 9);
    QAction* more = nullptr;
    for (QAction* action : WindowMenu()->actions())
        if (action->data().toInt() == ID_WINDOW_MORE)
            more = action;
    ASSERT_TRUE(more);
    EXPECT_TRUE(more->isVisible() && more->isEnabled());
    EXPECT_EQ(more->text(), QStringLiteral("&More Windows..."));

    QStringList offered;
    int current = -2;
    Frame().Windows().SetChooser([&](const QStringList& titles, int active) {
        offered = titles;
        current = active;
        return std::optional<int>(1);
    });
    more->trigger();
    ASSERT_EQ(offered.size(), 11);
    EXPECT_EQ(offered[1], QStringLiteral("Tilem2"));
    EXPECT_EQ(current, 10) << "the newest window is in front";
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("Tilem2"));

    // Cancelled: nothing changes.
    Frame().Windows().SetChooser([](const QStringList&, int) { return std::optional<int>(); });
    more->trigger();
    EXPECT_EQ(ActiveDoc().GetTitle(), QStringLiteral("Tilem2"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_CLOSE));
    FlushDeletes();
    Frame().UpdateCommandUI();
    EXPECT_FALSE(more->isVisible());
}

TEST_F(WindowsInStepTest, TitlesMarkUnsavedChangesAndSaveAsHeadsTheRecentFiles)
{
    OpenTwo();
    CChildFrame* floor = Frame().ActiveChild();
    EXPECT_FALSE(floor->isWindowModified());
    ActiveDoc().AddArea(CArea(), QStringLiteral("Create area"));
    Frame().UpdateCommandUI();
    EXPECT_TRUE(floor->isWindowModified());
    EXPECT_TRUE(Frame().isWindowModified());
    EXPECT_FALSE(Frame().ChildFrames().front()->isWindowModified());
    // The mark never shows as text in the menu.
    EXPECT_EQ(WindowList().last(), QStringLiteral("&2 floor.tlm *"));
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    Frame().UpdateCommandUI();
    EXPECT_FALSE(floor->isWindowModified());
    EXPECT_FALSE(Frame().isWindowModified());

    ActiveDoc().AddArea(CArea(), QStringLiteral("Create area"));
    const QString copy = TempPath(QStringLiteral("copy.tlm"));
    prompts.saveFiles.push_back(copy);
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE_AS));
    EXPECT_FALSE(floor->isWindowModified());
    EXPECT_EQ(floor->windowTitle(), QStringLiteral("copy.tlm[*]"));
    ASSERT_GE(App().RecentFiles().GetCount(), 1);
    EXPECT_EQ(App().RecentFiles().GetAt(0), QFileInfo(copy).absoluteFilePath());
    EXPECT_EQ(Action(ID_FILE_MRU_FIRST)->text(), QStringLiteral("&1 ") + QDir::toNativeSeparators(copy));
    // A plain save under the same name does not reorder the list.
    Frame().MdiArea()->setActiveSubWindow(Frame().ChildFrames().front());
    const QStringList before = App().RecentFiles().Files();
    ActiveDoc().AddArea(CArea(), QStringLiteral("Create area"));
    ASSERT_TRUE(Frame().RunCommand(ID_FILE_SAVE));
    EXPECT_EQ(App().RecentFiles().Files(), before);
}

TEST_F(WindowsInStepTest, HelpOpensOnScreenAndItsKeyTableHasEveryShortcut)
{
    ASSERT_TRUE(Start({WriteWithArea(QStringLiteral("wall.tlm"), QStringLiteral("Wall"))}));
    Frame().show();
    ASSERT_TRUE(Frame().RunCommand(ID_HELP_CONTENTS));
    QTextBrowser* guide = Frame().Help().GuideWindow();
    ASSERT_NE(guide, nullptr);
    const QRect screen = guide->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(guide->frameGeometry()))
        << guide->frameGeometry().width() << "x" << guide->frameGeometry().height() << " on " << screen.width()
        << "x" << screen.height();

    QFile page(QStringLiteral(":/help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    const int keys = html.indexOf(QStringLiteral("id=\"keys\""));
    ASSERT_GE(keys, 0);
    const QString table = html.mid(keys, html.indexOf(QStringLiteral("</table>"), keys) - keys);
    // Every key of a command that something on the route answers (Undo
    // and Redo included, though nothing is to be undone yet).
    const CCommandRouter::Route route = Frame().Route();
    int checked = 0;
    for (QAction* action : Frame().actions()) {
        if (!CCommandRouter::FindHandler(route, action->data().toInt()))
            continue;
        for (const QKeySequence& key : action->shortcuts()) {
            EXPECT_TRUE(table.contains(QStringLiteral("<td>") + key.toString()) ||
                        table.contains(QStringLiteral(", ") + key.toString() + QStringLiteral("</td>")))
                << key.toString().toStdString() << " for " << action->text().toStdString();
            ++checked;
        }
    }
    EXPECT_GE(checked, 8);
    // And the keys the views and the panel take themselves.
    for (const char* key : {"Escape", "Enter", "Left, Right, Up, Down", "Ctrl+mouse wheel"})
        EXPECT_TRUE(table.contains(QStringLiteral("<td>") + QLatin1String(key))) << key;
}
