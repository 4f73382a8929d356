#include "MenuLayout.h"

#include "ResourceIds.h"

#include <QMenu>

#include <algorithm>

namespace {

constexpr CMenuPlace kMenus[] = {CMenuPlace::File,   CMenuPlace::Edit,   CMenuPlace::Template, CMenuPlace::Select,
                                 CMenuPlace::Tool,
                                 CMenuPlace::View,   CMenuPlace::Window, CMenuPlace::Help};

} // namespace

QList<QMenu*> MenuLayout::Build(int menuId, const ActionFor& action, QWidget* parent)
{
    const bool start = menuId == IDR_MAINFRAME;
    QList<QMenu*> menus;
    for (CMenuPlace place : kMenus) {
        QMenu* menu = nullptr;
        int group = 0;
        for (const CCommandEntry& entry : CommandTable::All()) {
            if (entry.menu != place || (start && !entry.onStartMenu))
                continue;
            if (!menu)
                menu = new QMenu(CommandTable::MenuTitle(place), parent);
            else if (entry.group != group)
                menu->addSeparator();
            group = entry.group;
            for (int id = entry.id; id < entry.id + entry.count; ++id)
                menu->addAction(action(id));
        }
        if (menu)
            menus << menu;
    }
    return menus;
}

QList<int> MenuLayout::ToolBarIds(CBarPlace bar)
{
    std::vector<const CCommandEntry*> buttons;
    for (const CCommandEntry& entry : CommandTable::All())
        if (entry.bar == bar)
            buttons.push_back(&entry);
    std::stable_sort(buttons.begin(), buttons.end(),
                     [](const CCommandEntry* a, const CCommandEntry* b) { return a->slot < b->slot; });
    QList<int> ids;
    const CCommandEntry* previous = nullptr;
    for (const CCommandEntry* entry : buttons) {
        if (previous && entry->slot / 10 != previous->slot / 10)
            ids << 0;
        ids << entry->id;
        previous = entry;
    }
    return ids;
}
