#pragma once

#include <QMetaType>

class QObject;

// What a thumbnail list tells its owner about a click or a key, in the shape
// the panels already route by control and code.
struct CThumbnailNotification
{
    // The focus moved to another cell (click or arrow key).
    static constexpr int kSelChanged = -98;
    // A click on the cell that already had the focus.
    static constexpr int kSameClicked = -97;
    // A right click; follows the selection notification of the same click.
    static constexpr int kRightClick = -5;

    QObject* source = nullptr;
    int controlId = 0;
    int code = 0;
    int oldPosition = -1;
    int newPosition = -1;

    bool operator==(const CThumbnailNotification&) const = default;
};

Q_DECLARE_METATYPE(CThumbnailNotification)
