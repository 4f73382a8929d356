#pragma once

#include "CommandRouter.h"
#include "CommandTable.h"

#include <QString>

#include <functional>
#include <map>

class QAction;
class QToolBar;
class QWidget;

// One QAction for every command of the command table, owned by the main
// window: texts, tips, prompts, keys and icons from the table, each
// action's trigger connected to run. The states follow the route when
// the window says they may have changed.
class CCommandActions
{
public:
    CCommandActions(QWidget& window, std::function<void(int)> run);

    // Null for an id the table does not hold.
    QAction* Action(int id) const;
    // The buttons of the table's bar place, separated where the table's
    // groups change, named name for the saved window layout.
    QToolBar* CreateToolBar(const QString& title, const QString& name, CBarPlace place, int iconSize) const;
    // Enabled, checked and the menu text that names what the command acts
    // on, as the route answers them now.
    void Update(const CCommandRouter::Route& route) const;

private:
    QWidget& m_window;
    std::map<int, QAction*> m_actions;
};
