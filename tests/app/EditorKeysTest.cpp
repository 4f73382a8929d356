#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "view/TilemontView.h"

#include "app/CommandTable.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QRegularExpression>
#include <QShortcutEvent>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolBar>

#include <algorithm>
#include <map>

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

    // A large picture pasted in shows whole as an opened one does, and
    // one undone back too.
    ASSERT_TRUE(Frame().RunCommand(ID_ORIGINAL_SIZE));
    QImage pasted(3000, 5000, QImage::Format_RGB32);
    pasted.fill(qRgb(200, 30, 40));
    QGuiApplication::clipboard()->setImage(pasted);
    prompts.answers.push_back(IDocumentPrompts::Answer::Yes);
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_PASTE));
    ASSERT_EQ(ActiveDoc().GetPicture()->size(), pasted.size());
    EXPECT_TRUE(fitted()) << view->GetZoomX();
    ASSERT_TRUE(Frame().RunCommand(ID_EDIT_UNDO));
    EXPECT_TRUE(fitted()) << view->GetZoomX();

    // A picture the window holds opens at its own size.
    ASSERT_TRUE(App().OpenDocumentFile(WriteTemplate(QStringLiteral("small.tlm"), QSize(40, 30))));
    EXPECT_EQ(Frame().ActiveChild()->View()->GetZoomX(), 1.0f);
}

} // namespace

// Swallows the shortcut events of the actions it watches and records whose
// they were, so that a key can be pressed without its command opening a
// dialog or quitting, and an ambiguous key shows as such.
class ShortcutSpy : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        const auto* action = qobject_cast<QAction*>(watched);
        hits.append(static_cast<QShortcutEvent*>(event)->isAmbiguous() || !action ? -1 : action->data().toInt());
        return true;
    }
    QList<int> hits;
};

// Every key the built-in guide's table promises reaches its command, on
// any desktop: the standard keys differ between them (Redo's Ctrl+Y and
// Undo's Alt+Backspace are not everyone's), the guide's do not.
TEST_F(EditorKeysTest, EveryKeyTheGuideListsRunsItsCommand)
{
    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("room.tlm"))}));
    CTilemontView* view = ShowFront();
    QFile guide(QStringLiteral(":/help/index.html"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(guide.readAll());
    const QString keysTable = html.section(QStringLiteral("id=\"keys\""), 1);

    const std::map<QString, int> commands{
        {"New", ID_FILE_NEW}, {"Open...", ID_FILE_OPEN}, {"Save", ID_FILE_SAVE}, {"Save As...", ID_FILE_SAVE_AS},
        {"Close", ID_FILE_CLOSE}, {"Exit", ID_APP_EXIT}, {"Print...", ID_FILE_PRINT}, {"Undo", ID_EDIT_UNDO},
        {"Redo", ID_EDIT_REDO}, {"Copy the template, composed as it is exported, to the Clipboard", ID_EDIT_COPY},
        {"Use the Clipboard's picture as the template's picture", ID_EDIT_PASTE},
        {"Select all of the picture", ID_SELECT_ALL}, {"Select none", ID_SELECT_NONE},
        {"Invert the selection", ID_SELECT_INVERT}, {"Rectangular selection", ID_RECT_SELECTION},
        {"Elliptic selection", ID_ELLIPSE_SELECTION}, {"Polyline selection", ID_POLYLINE_SELECTION},
        {"Free-hand selection", ID_FREEHAND_SELECTION}, {"Magic wand selection", ID_MAGIC_WAND},
        {"Find surface", ID_FIND_SURFACE}, {"Hand", ID_HAND}, {"Zoom in (drag a rectangle)", ID_ZOOM_IN},
        {"Zoom out", ID_ZOOM_OUT}, {"Zoom to Fit: the whole picture in the window", ID_ZOOM_TO_FIT},
        {"Refresh", ID_REFRESH}, {"Help", ID_HELP_CONTENTS}};
    // Rows the view or the panel answers itself, not a command.
    const QStringList handledInPlace{"Pan with the hand", "Zoom in or out about the pointer", "Scroll left or right",
                                     "Move the area being edited", "Abandon the shape", "In the Areas panel"};

    ShortcutSpy spy;
    for (const CCommandEntry& entry : CommandTable::All())
        for (int id = entry.id; id < entry.id + entry.count; ++id)
            Frame().Action(id)->installEventFilter(&spy);
    int pressed = 0;
    const QRegularExpression row(QStringLiteral("<tr><td>([^<]*)</td><td>([^<]*)</td></tr>"));
    for (auto match = row.globalMatch(keysTable); match.hasNext();) {
        const auto m = match.next();
        const QString keys = m.captured(1), command = QTextDocumentFragment::fromHtml(m.captured(2)).toPlainText();
        if (std::any_of(handledInPlace.begin(), handledInPlace.end(),
                        [&](const QString& start) { return command.startsWith(start); }))
            continue;
        const auto expected = commands.find(command);
        ASSERT_NE(expected, commands.end()) << "the guide lists an unknown command: " << command.toStdString();
        for (const QString& key : keys.split(QStringLiteral(", "))) {
            // Whatever the state, the key must reach the command that answers it.
            for (const CCommandEntry& entry : CommandTable::All())
                for (int id = entry.id; id < entry.id + entry.count; ++id)
                    Frame().Action(id)->setEnabled(true);
            spy.hits.clear();
            view->setFocus();
            QTest::keySequence(view, QKeySequence(key, QKeySequence::PortableText));
            EXPECT_EQ(spy.hits, QList<int>{expected->second}) << key.toStdString() << " for " << command.toStdString();
            ++pressed;
        }
    }
    EXPECT_GE(pressed, 30);
}
