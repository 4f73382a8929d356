#pragma once

#include <QString>
#include <QUndoCommand>

#include <functional>
#include <memory>
#include <optional>

#include "Area.h"

class CPolygon;

class CTilemontDoc;
class QImage;

// One step of a document's history. Says whether it changes the template's
// content (areas or picture), which decides the modified flag, and which
// images it keeps alive, which bounds the history's memory. A step made of
// others (children, run in order and undone in reverse) answers for them.
class CDocCommand : public QUndoCommand
{
public:
    CDocCommand(CTilemontDoc& doc, const QString& text, bool changesContent, QUndoCommand* parent = nullptr);

    bool ChangesContent() const;
    // Calls visit for every image this step (and its children) holds.
    template <typename Visit> void ForEachImage(Visit&& visit) const
    {
        VisitImages([&](const QImage& image) { visit(image); });
    }

protected:
    CTilemontDoc& Doc() const { return m_doc; }
    // The document's one way in for its steps; each tells the views.
    void InsertArea(int index, CArea area) const;
    CArea RemoveArea(int index) const;
    void ReplaceArea(CArea area) const;
    void SetPicture(const std::optional<QImage>& picture) const;
    void SetSelectionPolygon(const CPolygon& polygon) const;
    void SetSelectedArea(AreaId id) const;
    static void VisitArea(const CArea& area, const std::function<void(const QImage&)>& visit);

    virtual void VisitOwnImages(const std::function<void(const QImage&)>& /*visit*/) const {}

private:
    void VisitImages(const std::function<void(const QImage&)>& visit) const;

    CTilemontDoc& m_doc;
    bool m_bChangesContent;
};
