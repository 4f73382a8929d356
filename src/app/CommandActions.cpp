#include "CommandActions.h"

#include "MenuLayout.h"
#include "ToolIconEngine.h"
#include "WindowList.h"

#include <QAction>
#include <QToolBar>
#include <QWidget>

CCommandActions::CCommandActions(QWidget& window, std::function<void(int)> run) : m_window(window)
{
    for (const CCommandEntry& entry : CommandTable::All()) {
        for (int id = entry.id; id < entry.id + entry.count; ++id) {
            auto* action = new QAction(&window);
            action->setData(id);
            action->setText(CommandTable::MenuText(entry));
            action->setToolTip(CommandTable::Tip(entry));
            action->setStatusTip(CommandTable::Prompt(entry));
            action->setShortcuts(CommandTable::Shortcuts(entry));
            action->setCheckable(entry.checkable);
            if (CToolIconEngine::HasDrawing(id))
                action->setIcon(CToolIconEngine::Icon(id));
            // The Window menu's entries show only for windows that are open.
            action->setVisible(!CWindowList::Handles(id));
            // Accelerators work whatever the menu bar shows.
            window.addAction(action);
            QObject::connect(action, &QAction::triggered, &window, [run, id] { run(id); });
            m_actions[id] = action;
        }
    }
}

QAction* CCommandActions::Action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

QToolBar* CCommandActions::CreateToolBar(const QString& title, const QString& name, CBarPlace place,
                                         int iconSize) const
{
    auto* bar = new QToolBar(title, &m_window);
    bar->setObjectName(name);
    bar->setIconSize(QSize(iconSize, iconSize));
    for (int id : MenuLayout::ToolBarIds(place)) {
        if (id == 0)
            bar->addSeparator();
        else
            bar->addAction(Action(id));
    }
    return bar;
}

void CCommandActions::Update(const CCommandRouter::Route& route) const
{
    for (const auto& [id, action] : m_actions) {
        const CCommandState state = CCommandRouter::StateOf(route, id);
        action->setEnabled(state.enabled);
        // Some items say what they will do ("&Undo Create area"). The recent
        // files and the window list keep the texts given them elsewhere.
        const CCommandEntry* entry = CommandTable::Find(id);
        if (entry && entry->count == 1) {
            const QString text = CommandTable::MenuText(*entry, state.detail);
            if (action->text() != text) {
                action->setText(text);
                action->setToolTip(CommandTable::TipOfMenuText(text));
            }
        }
        if (state.checked && !action->isCheckable())
            action->setCheckable(true);
        if (action->isCheckable())
            action->setChecked(state.checked);
    }
}
