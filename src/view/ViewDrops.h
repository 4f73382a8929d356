#pragma once

#include <QObject>

#include <memory>

class CTilemontView;
class IDropHandler;

// Files dragged over a view: watches the view's window and hands what the
// handler accepts to it, at the picture point of the drop. A drag it does
// not take goes on to the main window, which takes templates and refuses
// the rest.
class CViewDrops : public QObject
{
public:
    CViewDrops(CTilemontView& view, std::unique_ptr<IDropHandler> handler);
    ~CViewDrops() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CTilemontView& m_view;
    std::unique_ptr<IDropHandler> m_handler;
};
