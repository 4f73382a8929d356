#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

class CChildFrame;
class CSoakContext;
class CTilemontView;

// The user's hand on the template window in front: the mouse tools'
// gestures with real mouse events on the view's viewport, at whatever zoom
// and scroll the walk has reached, the wheel, the scroll bars and the keys
// the view answers. Each returns what it did.
class CViewEvents
{
public:
    explicit CViewEvents(CSoakContext& context);

    QString PickTool();
    QString Drag();
    QString Click();
    QString RightClick();
    QString DoubleClick();
    QString PolygonClicks();
    QString FreehandTrace();
    // A press and moves with keys pressed before the release: Escape, an
    // arrow, or an undo or redo by its shortcut.
    QString DragWithKeys();
    // A release with no press before it.
    QString StrayRelease();
    QString HandleDrag();
    QString Wheel();
    QString Scroll();
    QString ZoomCommand();
    QString Escape();
    QString ArrowKeys();

private:
    // Mostly over the picture, sometimes anywhere in the window, now and
    // then a little outside it.
    QPoint SomePoint(const CTilemontView& view);
    Qt::KeyboardModifiers SomeModifiers();
    // A picture point at most half the picture's size outside it, where
    // the window shows it.
    QPoint NearPicture(const CTilemontView& view);
    // A corner handle in a window that shows handles, that window brought to
    // the front; false when no window shows any.
    bool FindHandle(CChildFrame*& frame, bool& skew, QPoint& at);

    CSoakContext& m_c;
};
