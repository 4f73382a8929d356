#include "ViewEvents.h"

#include "SoakContext.h"
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "document/TilemontDoc.h"
#include "view/TilemontView.h"
#include "app/ResourceIds.h"

#include <QApplication>
#include <QMdiArea>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

namespace {

QString PointText(QPoint p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

QString KeysText(Qt::KeyboardModifiers keys)
{
    QString text;
    if (keys & Qt::ShiftModifier)
        text += QStringLiteral(" +shift");
    if (keys & Qt::ControlModifier)
        text += QStringLiteral(" +ctrl");
    return text;
}

} // namespace

CViewEvents::CViewEvents(CSoakContext& context) : m_c(context)
{
}

QPoint CViewEvents::SomePoint(const CTilemontView& view)
{
    const QRect client(QPoint(0, 0), view.viewport()->size());
    const QImage* picture = view.GetDocument().GetPicture();
    const QRect shown =
        picture ? view.PictureToClient(QRectF(QPointF(0, 0), QSizeF(picture->size()))).toRect() & client : QRect();
    const int roll = m_c.random.Int(0, 19);
    if (roll < 14 && !shown.isEmpty())
        return m_c.random.PointIn(shown);
    if (roll < 19)
        return m_c.random.PointIn(client);
    return m_c.random.PointIn(client.adjusted(-30, -30, 30, 30));
}

QPoint CViewEvents::NearPicture(const CTilemontView& view)
{
    const QImage* picture = view.GetDocument().GetPicture();
    if (!picture)
        return SomePoint(view);
    const QRect near(-picture->width() / 2, -picture->height() / 2, picture->width() * 2, picture->height() * 2);
    return view.PictureToClient(QPointF(m_c.random.PointIn(near))).toPoint();
}

Qt::KeyboardModifiers CViewEvents::SomeModifiers()
{
    const int roll = m_c.random.Int(0, 9);
    return roll < 5 ? Qt::NoModifier
           : roll < 7 ? Qt::ShiftModifier
           : roll < 9 ? Qt::ControlModifier
                      : Qt::ShiftModifier | Qt::ControlModifier;
}

QString CViewEvents::PickTool()
{
    static const QList<int> tools = {ID_RECT_SELECTION, ID_ELLIPSE_SELECTION, ID_POLYLINE_SELECTION,
                                     ID_FREEHAND_SELECTION, ID_HAND, ID_ZOOM_IN};
    const int id = m_c.random.Pick(tools);
    m_c.Frame().UpdateCommandUI();
    QAction* action = m_c.Frame().Action(id);
    QWidget* button = m_c.Frame().ToolsToolBar()->widgetForAction(action);
    if (button && button->isVisible() && m_c.random.Chance(0.5)) {
        QTest::mouseClick(button, Qt::LeftButton);
        return QStringLiteral("tools bar button %1").arg(id);
    }
    m_c.Trigger(id);
    return QStringLiteral("Tool menu %1").arg(id);
}

QString CViewEvents::Drag()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("drag: no window");
    QWidget* w = view->viewport();
    const QPoint from = SomePoint(*view);
    QPoint to = from;
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = m_c.random.Int(1, 4); i > 0; --i)
        QTest::mouseMove(w, to = SomePoint(*view));
    const Qt::KeyboardModifiers keys = SomeModifiers();
    QTest::mouseRelease(w, Qt::LeftButton, keys, to);
    return QStringLiteral("drag %1 -> %2%3").arg(PointText(from), PointText(to), KeysText(keys));
}

QString CViewEvents::Click()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("click: no window");
    const QPoint at = SomePoint(*view);
    const Qt::KeyboardModifiers keys = SomeModifiers();
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, at);
    return QStringLiteral("click %1%2").arg(PointText(at), KeysText(keys));
}

QString CViewEvents::RightClick()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("right click: no window");
    const QPoint at = SomePoint(*view);
    const Qt::KeyboardModifiers keys = SomeModifiers();
    QTest::mouseClick(view->viewport(), Qt::RightButton, keys, at);
    return QStringLiteral("right click %1%2").arg(PointText(at), KeysText(keys));
}

QString CViewEvents::DoubleClick()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("double click: no window");
    const QPoint at = SomePoint(*view);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    return QStringLiteral("double click %1").arg(PointText(at));
}

QString CViewEvents::PolygonClicks()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("polygon: no window");
    QWidget* w = view->viewport();
    QString text = QStringLiteral("polygon");
    QPoint at;
    for (int i = m_c.random.Int(1, 6); i > 0; --i) {
        at = SomePoint(*view);
        QTest::mouseMove(w, at);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
        text += u' ' + PointText(at);
    }
    const int end = m_c.random.Int(0, 19);
    if (end < 12) {
        const Qt::KeyboardModifiers keys = SomeModifiers();
        QTest::mouseClick(w, Qt::RightButton, keys, at);
        return text + QStringLiteral(" closed") + KeysText(keys);
    }
    if (end < 15) {
        QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, at);
        return text + QStringLiteral(" double click, closed");
    }
    if (end < 17) {
        QTest::keyClick(view, Qt::Key_Escape);
        return text + QStringLiteral(" abandoned");
    }
    return text + QStringLiteral(" left open");
}

QString CViewEvents::FreehandTrace()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("trace: no window");
    QWidget* w = view->viewport();
    const QPoint from = SomePoint(*view);
    QPoint at = from;
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    const int moves = m_c.random.Int(3, 60);
    for (int i = 0; i < moves; ++i) {
        at += QPoint(m_c.random.Int(-15, 15), m_c.random.Int(-15, 15));
        QTest::mouseMove(w, at);
    }
    const Qt::KeyboardModifiers keys = SomeModifiers();
    QTest::mouseRelease(w, Qt::LeftButton, keys, at);
    return QStringLiteral("trace of %1 moves from %2%3").arg(moves).arg(PointText(from), KeysText(keys));
}

QString CViewEvents::DragWithKeys()
{
    CChildFrame* frame = nullptr;
    bool skew = false;
    QPoint from;
    const bool onHandle = m_c.random.Chance(0.5) && FindHandle(frame, skew, from);
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("drag with keys: no window");
    if (!onHandle)
        from = SomePoint(*view);
    QWidget* w = view->viewport();
    QTest::mouseMove(w, from);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(w, NearPicture(*view));
    QString keys;
    for (int i = m_c.random.Int(1, 3); i > 0; --i) {
        switch (m_c.random.Int(0, 4)) {
        case 0:
            QTest::keyClick(view, Qt::Key_Escape);
            keys += QStringLiteral(" escape");
            break;
        case 1:
            QTest::keyClick(view, Qt::Key_Right);
            keys += QStringLiteral(" right");
            break;
        case 2:
            m_c.Trigger(ID_FILE_SAVE);
            keys += QStringLiteral(" save");
            break;
        default: {
            const bool undo = m_c.random.Chance(0.6);
            const QScopedValueRollback moving(m_c.historyMoves, true);
            m_c.Trigger(undo ? ID_EDIT_UNDO : ID_EDIT_REDO);
            keys += undo ? QStringLiteral(" undo") : QStringLiteral(" redo");
        }
        }
        QTest::mouseMove(w, NearPicture(*view));
    }
    const QPoint to = NearPicture(*view);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to);
    return QStringLiteral("drag %1 -> %2%3 with%4")
        .arg(PointText(from), PointText(to), onHandle ? QStringLiteral(" from a handle") : QString(), keys);
}

QString CViewEvents::StrayRelease()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("release: no window");
    const QPoint at = SomePoint(*view);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    return QStringLiteral("release without a press at %1").arg(PointText(at));
}

bool CViewEvents::FindHandle(CChildFrame*& frame, bool& skew, QPoint& at)
{
    // The user drags the corners in a window that shows them, which comes
    // to the front at the click.
    QList<std::pair<CChildFrame*, bool>> shown;
    for (CChildFrame* f : m_c.Frame().ChildFrames()) {
        const CTilemontView* view = f->View();
        if (view->GetEditedArea() && view->IsSkewMode())
            shown.append({f, true});
        if (view->GetEditedArea() && view->IsInitialRectMode())
            shown.append({f, false});
    }
    if (shown.isEmpty())
        return false;
    std::tie(frame, skew) = m_c.random.Pick(shown);
    m_c.Frame().MdiArea()->setActiveSubWindow(frame);
    const CArea* area = frame->View()->GetEditedArea();
    CArea::Corners corners = area->GetSkewCorners();
    if (!skew) {
        const CIntRect& r = area->GetInitialRect();
        corners = {QPoint(r.left, r.top), QPoint(r.right, r.top), QPoint(r.left, r.bottom), QPoint(r.right, r.bottom)};
    }
    at = frame->View()->PictureToClient(QPointF(corners[std::size_t(m_c.random.Int(0, 3))])).toPoint();
    // Mostly on the mark, sometimes just beside it.
    if (m_c.random.Chance(0.3))
        at += QPoint(m_c.random.Int(-7, 7), m_c.random.Int(-7, 7));
    return true;
}

QString CViewEvents::HandleDrag()
{
    CChildFrame* frame = nullptr;
    bool skew = false;
    QPoint from;
    if (!FindHandle(frame, skew, from))
        return QStringLiteral("no handles shown: ") + Drag();
    CTilemontView* view = frame->View();
    const auto cornersText = [view] {
        QString text;
        if (const CArea* area = view->GetEditedArea())
            for (const QPoint& p : area->GetSkewCorners())
                text += PointText(p);
        return text;
    };
    const QString before = cornersText();
    QWidget* w = view->viewport();
    QTest::mouseMove(w, from);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QPoint to = from;
    QString path;
    for (int i = m_c.random.Int(1, 5); i > 0; --i) {
        QTest::mouseMove(w, to = NearPicture(*view));
        path += PointText(to);
    }
    const Qt::KeyboardModifiers keys = SomeModifiers();
    QTest::mouseRelease(w, Qt::LeftButton, keys, to);
    // The corners before and after say what the drag did, at which zoom.
    return QStringLiteral("%1 corner dragged from %2 via %3%4 in %5, zoom %6, skew corners %7 -> %8")
        .arg(skew ? QStringLiteral("skew") : QStringLiteral("initial rect"), PointText(from), path, KeysText(keys),
             frame->windowTitle())
        .arg(view->GetZoomX())
        .arg(before, cornersText());
}

QString CViewEvents::Wheel()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("wheel: no window");
    const QPoint at = SomePoint(*view);
    static const QList<int> deltas = {120, -120, 240, -240, 30, -30};
    const int delta = m_c.random.Pick(deltas);
    const int roll = m_c.random.Int(0, 9);
    const Qt::KeyboardModifiers keys = roll < 4 ? Qt::ControlModifier : roll < 6 ? Qt::ShiftModifier : Qt::NoModifier;
    QWheelEvent wheel(QPointF(at), view->viewport()->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, keys, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    return QStringLiteral("wheel %1 at %2%3").arg(delta).arg(PointText(at), KeysText(keys));
}

QString CViewEvents::Scroll()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("scroll: no window");
    QScrollBar* h = view->horizontalScrollBar();
    QScrollBar* v = view->verticalScrollBar();
    const QString from = QStringLiteral("%1,%2").arg(h->value()).arg(v->value());
    h->setValue(m_c.random.Int(h->minimum(), h->maximum()));
    v->setValue(m_c.random.Int(v->minimum(), v->maximum()));
    return QStringLiteral("scroll bars from %1 to %2,%3").arg(from).arg(h->value()).arg(v->value());
}

QString CViewEvents::ZoomCommand()
{
    const int id = m_c.random.Chance(0.7) ? ID_ZOOM_OUT : ID_ORIGINAL_SIZE;
    m_c.Trigger(id);
    const CTilemontView* view = m_c.View();
    return QStringLiteral("%1, zoom now %2")
        .arg(id == ID_ZOOM_OUT ? QStringLiteral("Zoom out") : QStringLiteral("Original size"))
        .arg(view ? view->GetZoomX() : 0.0f);
}

QString CViewEvents::Escape()
{
    if (CTilemontView* view = m_c.View())
        QTest::keyClick(view, Qt::Key_Escape);
    return QStringLiteral("escape");
}

QString CViewEvents::ArrowKeys()
{
    CTilemontView* view = m_c.View();
    if (!view)
        return QStringLiteral("arrows: no window");
    static const QList<Qt::Key> arrows = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    const Qt::Key key = m_c.random.Pick(arrows);
    const Qt::KeyboardModifiers keys = m_c.random.Chance(0.3) ? Qt::ShiftModifier : Qt::NoModifier;
    // A held key: the first press, then its repeats.
    const int presses = m_c.random.Int(1, 6);
    for (int i = 0; i < presses; ++i) {
        QKeyEvent press(QEvent::KeyPress, key, keys, QString(), i > 0);
        QApplication::sendEvent(view, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, key, keys);
    QApplication::sendEvent(view, &release);
    return QStringLiteral("arrow %1 x%2%3").arg(int(key), 0, 16).arg(presses).arg(KeysText(keys));
}
