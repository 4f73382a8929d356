#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

// Templates dropped anywhere on a window open; whatever else reaches it (a
// text file, several pictures, a picture over no template) is refused while
// it is dragged, so the user sees the no-drop cursor. Watches the window it
// is installed on as an event filter.
class CTemplateDropTarget : public QObject
{
public:
    explicit CTemplateDropTarget(QObject* parent) : QObject(parent) {}

    // Given the dropped templates, in their order; without it nothing is
    // taken.
    void SetOpener(std::function<void(const QStringList&)> opener) { m_opener = std::move(opener); }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QStringList&)> m_opener;
};
