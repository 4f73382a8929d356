#include "TemplateDropTarget.h"

#include "FileDrop.h"

#include <QDropEvent>
#include <QMimeData>

bool CTemplateDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList templates = CFileDrop::Templates(CFileDrop::LocalFiles(drop->mimeData()));
    if (!m_opener || templates.isEmpty()) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // Once the drop is answered, so that the program the files came
        // from is not held while they open (and perhaps report an error).
        QMetaObject::invokeMethod(
            this, [this, templates] { m_opener(templates); }, Qt::QueuedConnection);
    }
    return true;
}
