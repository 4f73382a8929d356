#include "app/LoneWindowFill.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>

CLoneWindowFill::CLoneWindowFill(QMdiArea& area) : QObject(&area), m_area(area), m_viewport(area.viewport())
{
    m_viewport->installEventFilter(this);
}

bool CLoneWindowFill::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_viewport) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        const QList<QMdiSubWindow*> windows = m_area.subWindowList();
        if (windows.size() == 1) {
            QMdiSubWindow* window = windows.front();
            // Filling the area as it was: fill it as it is now.
            if (!window->isMaximized() && !window->isMinimized() &&
                window->geometry() == QRect(QPoint(0, 0), resize->oldSize()))
                window->setGeometry(QRect(QPoint(0, 0), resize->size()));
        }
    }
    return QObject::eventFilter(watched, event);
}
