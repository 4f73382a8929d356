#pragma once

#include <QObject>

class QMdiArea;

// Keeps a lone template window that fills the workspace filling it when the
// workspace changes size (a panel docked beside it, the main window resized),
// so that no part of it hides under a panel behind the workspace's own
// scroll bars. A window the user moved or sized is left where it is.
class CLoneWindowFill : public QObject
{
public:
    explicit CLoneWindowFill(QMdiArea& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMdiArea& m_area;
    // Kept rather than asked for: the area is half destroyed while its
    // viewport still gets events.
    QObject* m_viewport;
};
