#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "view/TilemontView.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

namespace {

class EditorKeysTest : public AppTest
{
protected:
    // The main window shown and active, so that its keys reach its actions.
    CTilemontView* ShowFront()
    {
        Frame().show();
        QApplication::setActiveWindow(&Frame());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        CTilemontView* view = Frame().ActiveChild()->View();
        view->setFocus();
        return view;
    }
};

TEST_F(EditorKeysTest, SingleKeysPickToolsFromTheViewButLeaveTheirLettersToFields)
{
    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("room.tlm"))}));
    CTilemontView* view = ShowFront();
    const struct
    {
        Qt::Key key;
        int id;
        const char* shown;
    } keys[] = {{Qt::Key_E, ID_ELLIPSE_SELECTION, "E"}, {Qt::Key_P, ID_POLYLINE_SELECTION, "P"},
                {Qt::Key_F, ID_FREEHAND_SELECTION, "F"}, {Qt::Key_W, ID_MAGIC_WAND, "W"},
                {Qt::Key_S, ID_FIND_SURFACE, "S"},       {Qt::Key_H, ID_HAND, "H"},
                {Qt::Key_Z, ID_ZOOM_IN, "Z"},            {Qt::Key_R, ID_RECT_SELECTION, "R"}};
    for (const auto& k : keys) {
        QTest::keyClick(view, k.key);
        EXPECT_TRUE(Action(k.id)->isChecked()) << k.shown;
        EXPECT_EQ(Action(k.id)->text().section(u'\t', 1), QLatin1String(k.shown));
    }

    // A letter typed into a field of the panel is the field's: the tool stays.
    ASSERT_TRUE(Frame().RunCommand(ID_VIEW_AREAS));
    QLineEdit* field = Frame().AreasPanel()->Controls().rotation;
    field->setFocus();
    QTest::keyClick(field, Qt::Key_E);
    EXPECT_TRUE(Action(ID_RECT_SELECTION)->isChecked());
    EXPECT_FALSE(Action(ID_ELLIPSE_SELECTION)->isChecked());
}

TEST_F(EditorKeysTest, EveryToolbarTipNamesTheKeyThatDoesTheSame)
{
    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("room.tlm"))}));
    Frame().UpdateCommandUI();
    int withKeys = 0;
    for (QToolBar* bar : {Frame().MainToolBar(), Frame().ToolsToolBar()})
        for (QAction* action : bar->actions()) {
            if (action->isSeparator())
                continue;
            const QString tip = action->toolTip();
            if (action->shortcuts().isEmpty()) {
                EXPECT_FALSE(tip.endsWith(u')')) << tip.toStdString();
                continue;
            }
            ++withKeys;
            const QString key = action->shortcuts().front().toString(QKeySequence::NativeText);
            EXPECT_TRUE(tip.endsWith(QStringLiteral(" (%1)").arg(key))) << tip.toStdString();
            EXPECT_FALSE(tip.contains(u'&') || tip.contains(u'\t')) << tip.toStdString();
        }
    // New, Open, Save, Undo, Redo, the eight tools and Zoom to Fit.
    EXPECT_GE(withKeys, 14);
}

TEST_F(EditorKeysTest, ANewWindowShowsALargePictureWholeAndCtrlZeroFitsItAgain)
{
    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("large.tlm"), QSize(4000, 3000))}));
    CTilemontView* view = ShowFront();
    QSize room = view->maximumViewportSize();
    const auto fitted = [&] {
        const QSize total = view->GetTotalSize();
        // Whole, and touching the window on one side at least.
        return view->GetZoomX() < 1 && total.width() <= room.width() && total.height() <= room.height() &&
               (total.width() >= room.width() - 1 || total.height() >= room.height() - 1) &&
               view->horizontalScrollBar()->maximum() == 0 && view->verticalScrollBar()->maximum() == 0;
    };
    EXPECT_TRUE(fitted()) << view->GetZoomX();
    // The Areas panel docking beside the lone window: it still fills the
    // workspace, and the picture still shows whole in it.
    QMdiSubWindow* window = Frame().ActiveChild();
    ASSERT_EQ(window->geometry(), window->mdiArea()->viewport()->rect());
    for (int toggle = 0; toggle < 2; ++toggle) {
        ASSERT_TRUE(Frame().RunCommand(ID_VIEW_AREAS));
        QCoreApplication::processEvents();
        EXPECT_EQ(window->geometry(), window->mdiArea()->viewport()->rect()) << toggle;
        room = view->maximumViewportSize();
        EXPECT_TRUE(fitted()) << toggle;
    }

    ASSERT_TRUE(Frame().RunCommand(ID_ORIGINAL_SIZE));
    EXPECT_EQ(view->GetZoomX(), 1.0f);
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(Action(ID_ZOOM_TO_FIT)->text().section(u'\t', 1),
              QKeySequence(QStringLiteral("Ctrl+0")).toString(QKeySequence::NativeText));
    QTest::keyClick(view, Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(fitted()) << view->GetZoomX();

    // A picture the window holds opens at its own size.
    ASSERT_TRUE(App().OpenDocumentFile(WriteTemplate(QStringLiteral("small.tlm"), QSize(40, 30))));
    EXPECT_EQ(Frame().ActiveChild()->View()->GetZoomX(), 1.0f);
}

} // namespace
