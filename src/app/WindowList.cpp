#include "WindowList.h"

#include "ChildFrame.h"
#include "ResourceIds.h"
#include "view/TilemontView.h"

#include <QAction>
#include <QCoreApplication>
#include <QInputDialog>
#include <QMdiArea>

namespace {

constexpr int kListed = ID_WINDOW_CHILD_LAST - ID_WINDOW_CHILD_FIRST + 1;

std::optional<int> AskWhichWindow(QWidget* parent, const QStringList& titles, int current)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QCoreApplication::translate("CWindowList", "Windows"));
    dialog.setLabelText(QCoreApplication::translate("CWindowList", "&Bring forward:"));
    dialog.setComboBoxItems(titles);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    if (current >= 0 && current < titles.size())
        dialog.setTextValue(titles[current]);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const int chosen = static_cast<int>(titles.indexOf(dialog.textValue()));
    return chosen >= 0 ? std::optional<int>(chosen) : std::nullopt;
}

} // namespace

CWindowList::CWindowList(QMdiArea& area, ActionOf action, QWidget* dialogParent)
    : m_area(area), m_action(std::move(action)),
      m_choose([dialogParent](const QStringList& titles, int current) {
          return AskWhichWindow(dialogParent, titles, current);
      })
{
}

bool CWindowList::Handles(int id)
{
    return id == ID_WINDOW_MORE || (id >= ID_WINDOW_CHILD_FIRST && id <= ID_WINDOW_CHILD_LAST);
}

QString CWindowList::TitleOf(const CChildFrame* child)
{
    return child->windowTitle().remove(QStringLiteral("[*]"));
}

std::pair<bool, bool> CWindowList::State(int id, const QList<CChildFrame*>& children,
                                         const CChildFrame* active) const
{
    if (id == ID_WINDOW_MORE)
        return {children.size() > kListed, false};
    const int index = id - ID_WINDOW_CHILD_FIRST;
    return {index < children.size(), index < children.size() && children[index] == active};
}

void CWindowList::Run(int id, const QList<CChildFrame*>& children, const CChildFrame* active)
{
    if (id == ID_WINDOW_MORE) {
        QStringList titles;
        for (const CChildFrame* child : children)
            titles.append(TitleOf(child));
        const auto chosen = m_choose(titles, static_cast<int>(children.indexOf(const_cast<CChildFrame*>(active))));
        if (chosen && *chosen >= 0 && *chosen < children.size())
            Activate(children[*chosen]);
        return;
    }
    if (const int index = id - ID_WINDOW_CHILD_FIRST; index < children.size())
        Activate(children[index]);
}

void CWindowList::Activate(CChildFrame* child)
{
    if (child->isMinimized())
        child->showNormal();
    m_area.setActiveSubWindow(child);
    child->View()->setFocus();
}

void CWindowList::Update(const QList<CChildFrame*>& children, const CChildFrame* active)
{
    for (int i = 0; i < kListed; ++i) {
        QAction* action = m_action(ID_WINDOW_CHILD_FIRST + i);
        const bool shown = i < children.size();
        action->setVisible(shown);
        if (!shown)
            continue;
        QString title = TitleOf(children[i]);
        // A literal ampersand in a file name is not a mnemonic.
        title.replace(u'&', QStringLiteral("&&"));
        const QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(title);
        if (action->text() != text)
            action->setText(text);
        action->setChecked(children[i] == active);
    }
    m_action(ID_WINDOW_MORE)->setVisible(children.size() > kListed);
}
