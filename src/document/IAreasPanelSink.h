#pragma once

class CTilemontDoc;
class IDocumentView;

// Where a document reports that its list of areas changed (the main window
// passes it on to the Areas panel).
class IAreasPanelSink
{
public:
    virtual ~IAreasPanelSink() = default;
    virtual void NotifyAreasPanel(CTilemontDoc* doc, IDocumentView* view, bool force) = 0;
    // The document is going: whoever shows it lets go of it.
    virtual void DocumentDestroyed(CTilemontDoc* /*doc*/) {}
};
