#pragma once

#include "CommandTable.h"

#include <QList>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// The menu bars and toolbars, laid out from the command table: IDR_MAINFRAME
// while no template window is open, IDR_TILEMTYPE while one is active.
// Items are the shared command actions, one per command id.
namespace MenuLayout {

using ActionFor = std::function<QAction*(int id)>;

QList<QMenu*> Build(int menuId, const ActionFor& action, QWidget* parent);
// The toolbar's command ids in order, 0 where a separator goes.
QList<int> ToolBarIds(CBarPlace bar);

} // namespace MenuLayout
