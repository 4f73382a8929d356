#pragma once

class IAreaEditSession;
struct CDocChange;

// A window that shows a document: it redraws everything when told so, and
// only what changed when told what changed.
class IDocumentView
{
public:
    virtual ~IDocumentView() = default;
    virtual void OnUpdate() = 0;
    virtual void OnDocumentChanged(const CDocChange& /*change*/) {}
    // The document is going: an observer still registered (work waiting on
    // it) lets go of it here.
    virtual void OnDocumentDestroyed() {}
    // Where the Areas panel steers the editing of an area in this window;
    // none for a window that edits no areas.
    virtual IAreaEditSession* EditSession() { return nullptr; }
};
