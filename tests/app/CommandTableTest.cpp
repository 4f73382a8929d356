#include "AppTestSupport.h"
#include "app/CommandRouter.h"
#include "app/CommandTable.h"
#include "app/ResourceIds.h"
#include "app/ToolIconEngine.h"

// With a template window open, every command the table lists is answered
// by something on the route (a menu item nobody answers would only ever
// show grey), no two commands share a key, and every toolbar button has a
// drawing.
TEST_F(AppTest, EveryCommandInTheTableIsAnsweredAndOwnsItsKeys)
{
    ASSERT_TRUE(Start({WriteTemplate(QStringLiteral("t.tlm"))}));
    const CCommandRouter::Route route = Frame().Route();
    QList<QKeySequence> keys;
    int commands = 0;
    for (const CCommandEntry& entry : CommandTable::All()) {
        EXPECT_NE(entry.menu, CMenuPlace::None) << entry.id;
        for (int id = entry.id; id < entry.id + entry.count; ++id) {
            EXPECT_NE(CCommandRouter::FindHandler(route, id), nullptr) << id;
            EXPECT_EQ(Frame().Action(id)->shortcuts(), CommandTable::Shortcuts(entry)) << id;
            ++commands;
        }
        for (const QKeySequence& key : CommandTable::Shortcuts(entry)) {
            EXPECT_FALSE(keys.contains(key)) << key.toString().toStdString();
            keys << key;
        }
        if (entry.bar != CBarPlace::None) {
            EXPECT_TRUE(CToolIconEngine::HasDrawing(entry.id)) << entry.id;
        }
    }
    EXPECT_GE(commands, 50);
    EXPECT_GE(keys.size(), 8);
}
