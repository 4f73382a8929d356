#pragma once

#include <QList>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// The menu bars: IDR_MAINFRAME while no template window is open,
// IDR_TILEMTYPE while one is active. Items are the shared command actions;
// the four recent-file actions sit where the file list goes.
namespace MenuLayout {

using ActionFor = std::function<QAction*(int id)>;

QList<QMenu*> Build(int menuId, const ActionFor& action, QWidget* parent);

} // namespace MenuLayout
