#pragma once

// A window that shows a document and redraws when told that it changed.
class IDocumentView
{
public:
    virtual ~IDocumentView() = default;
    virtual void OnUpdate() = 0;
};
