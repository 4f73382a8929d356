#include "view/ViewDrops.h"

#include "view/DropHandler.h"
#include "view/TilemontView.h"

#include <QDropEvent>

CViewDrops::CViewDrops(CTilemontView& view, std::unique_ptr<IDropHandler> handler)
    : QObject(&view), m_view(view), m_handler(std::move(handler))
{
    view.viewport()->installEventFilter(this);
}

CViewDrops::~CViewDrops() = default;

bool CViewDrops::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drag = static_cast<QDropEvent*>(event);
    // An event left unaccepted travels on to the main window.
    if (!m_handler || !m_handler->Accepts(drag->mimeData())) {
        drag->ignore();
        return true;
    }
    drag->acceptProposedAction();
    if (type == QEvent::Drop)
        m_handler->Drop(drag->mimeData(), m_view.ClientToPicture(drag->position()));
    return true;
}
