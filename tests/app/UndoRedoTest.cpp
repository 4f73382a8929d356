#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "document/TestImages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

namespace {

// The Edit menu, its keys and its toolbar buttons undo and redo every
// template command of the active window, and say which step they will take.
TEST_F(AppTest, UndoAndRedoNameTheirStepAndRunFromTheirActionsAndKeys)
{
    ASSERT_TRUE(Start());
    CTilemontDoc& doc = ActiveDoc();
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(Action(ID_EDIT_REDO)->isEnabled());

    const CPolygon square = RectPolygon(1, 1, 9, 9);
    doc.SetSelection(&square);
    prompts.names.push_back(QStringLiteral("Floor"));
    ASSERT_TRUE(Frame().RunCommand(ID_CREATE_AREA));
    ASSERT_EQ(doc.GetAreas().size(), 1u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Create area\tCtrl+Z"));
    EXPECT_EQ(Action(ID_EDIT_UNDO)->toolTip(), QStringLiteral("Undo Create area (Ctrl+Z)"));

    // The keyboard reaches the command through the main window.
    Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &Frame();
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(doc.GetAreas().empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(Action(ID_EDIT_REDO)->text(), QStringLiteral("&Redo Create area\tCtrl+Y"));

    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(doc.GetAreas().size(), 1u);
    Action(ID_EDIT_UNDO)->trigger();
    EXPECT_TRUE(doc.GetAreas().empty());
    QTest::keyClick(focus, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(doc.GetAreas().size(), 1u);
    // Back at the beginning: the selection step undoes too.
    Action(ID_EDIT_UNDO)->trigger();
    Action(ID_EDIT_UNDO)->trigger();
    EXPECT_TRUE(doc.GetSelection().IsEmpty());
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_EQ(Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo\tCtrl+Z"));
}

} // namespace

namespace {

// The actions follow a change made anywhere (here straight on the template,
// as a worker's result or the panel would) as soon as the event loop has
// turned: they are told, not polled now and then.
TEST_F(AppTest, ActionsFollowTheTemplateWithoutPolling)
{
    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("room.tlm"), QSize(40, 30))}));
    CTilemontDoc& doc = ActiveDoc();
    QAction* undo = Frame().Action(ID_EDIT_UNDO);
    QAction* paste = Frame().Action(ID_EDIT_PASTE);
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo->isEnabled());

    const CPolygon square = RectPolygon(1, 1, 9, 9);
    doc.SetSelection(&square);
    QCoreApplication::processEvents();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_TRUE(undo->text().startsWith(QStringLiteral("&Undo ")));
    doc.OnEditUndo();
    QCoreApplication::processEvents();
    EXPECT_FALSE(undo->isEnabled());

    QGuiApplication::clipboard()->clear();
    QCoreApplication::processEvents();
    EXPECT_FALSE(paste->isEnabled());
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    QCoreApplication::processEvents();
    EXPECT_TRUE(paste->isEnabled());
}

} // namespace
