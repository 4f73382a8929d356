#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CChildFrame;
class QAction;
class QMdiArea;
class QWidget;

// The Window menu's list of open template windows: the first nine by
// number, then "More Windows..." for the whole list once there are more.
class CWindowList
{
public:
    using ActionOf = std::function<QAction*(int id)>;
    // Asks which of the titled windows to bring forward (current marks
    // the active one); nothing when the user cancels. Tests script it.
    using Chooser = std::function<std::optional<int>(const QStringList& titles, int current)>;

    CWindowList(QMdiArea& area, ActionOf action, QWidget* dialogParent);

    static bool Handles(int id);
    // Enabled and checked, as the menu shows the item.
    std::pair<bool, bool> State(int id, const QList<CChildFrame*>& children, const CChildFrame* active) const;
    void Run(int id, const QList<CChildFrame*>& children, const CChildFrame* active);
    // The items' texts and checks after windows opened, closed or retitled.
    void Update(const QList<CChildFrame*>& children, const CChildFrame* active);

    void SetChooser(Chooser chooser) { m_choose = std::move(chooser); }

private:
    void Activate(CChildFrame* child);
    static QString TitleOf(const CChildFrame* child);

    QMdiArea& m_area;
    ActionOf m_action;
    Chooser m_choose;
};
