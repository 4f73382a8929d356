#pragma once

#include "Area.h"

#include <QString>
#include <QUndoCommand>

#include <functional>

class CTemplateContent;
class QImage;

// One step of a document's history. Says whether it changes the template's
// content (areas or picture), which decides the modified flag, and which
// images it keeps alive, which bounds the history's memory. A step made of
// others (children, run in order and undone in reverse) answers for them.
class CDocCommand : public QUndoCommand
{
public:
    CDocCommand(CTemplateContent& content, const QString& text, bool changesContent, QUndoCommand* parent = nullptr);

    bool ChangesContent() const;
    // Calls visit for every image this step (and its children) holds.
    void VisitImages(const std::function<void(const QImage&)>& visit) const;

protected:
    CTemplateContent& Content() const { return m_content; }
    static void VisitArea(const CArea& area, const std::function<void(const QImage&)>& visit);

    virtual void VisitOwnImages(const std::function<void(const QImage&)>& /*visit*/) const {}

private:
    CTemplateContent& m_content;
    bool m_bChangesContent;
};
