#pragma once

#include <QPointF>

class QMimeData;

// What a view does with files dragged over it. What dropped files mean and
// reading them is the application's business: the window that holds the
// view installs one. A drag that is not taken goes on to the main window.
class IDropHandler
{
public:
    virtual ~IDropHandler() = default;

    // Answered while dragging, by the files' names alone.
    virtual bool Accepts(const QMimeData* data) const = 0;
    // The drag's files let go at picturePoint; called only for a drag that
    // Accepts took. The work waits until the drop has been answered.
    virtual void Drop(const QMimeData* data, QPointF picturePoint) = 0;
};
