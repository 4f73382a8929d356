#pragma once

#include "view/CommandTarget.h"
#include "document/IDocumentView.h"
#include "document/TilemontDoc.h"

#include <QObject>
#include <functional>
#include <vector>

class CChildFrame;
class IAreasPanelSink;
class IDocumentPrompts;

// One open template in the editor: owns the document, takes its place on the
// command route (its own commands plus "Close") and knows the child frames
// that show it. When the last of them is gone it reports lastFrameClosed.
class CDocumentTarget : public QObject, public ICommandTarget
{
    Q_OBJECT

public:
    CDocumentTarget(IDocumentPrompts& prompts, IAreasPanelSink* panel, QObject* parent = nullptr);
    ~CDocumentTarget() override;

    CTilemontDoc& Doc() { return m_doc; }
    const CTilemontDoc& Doc() const { return m_doc; }

    // The frames still open, in the order they were made. A closed frame
    // lingers until it is deleted; the document must outlive its view.
    std::vector<CChildFrame*> OpenFrames() const;
    void AttachFrame(CChildFrame* frame);
    // Called by a frame as it is destroyed.
    void DetachFrame(CChildFrame* frame);

    // Asks to save changes (unless ask is false, when the caller already did)
    // and closes every window on the document. False when the user kept it.
    bool CloseDocument(bool ask = true);
    // The document's own "save changes?" question, reporting a new name as
    // savedAs does.
    bool SaveModified();
    // Saves without asking first (a new template asks for its name).
    bool SaveNow();
    // While closing, frames close without asking again.
    bool IsClosing() const { return m_bClosing; }

    // What "Export..." runs; without it the command is off.
    void SetExporter(std::function<void(CTilemontDoc&)> exporter) { m_exporter = std::move(exporter); }
    // "Render texture group...": enabled for a template with a picture and
    // at least one area.
    void SetGroupRenderer(std::function<void(const CTilemontDoc&)> renderer) { m_groupRenderer = std::move(renderer); }

    bool HandlesCommand(int id) const override;
    CCommandState CommandState(int id) const override;
    void OnCommand(int id) override;

signals:
    void lastFrameClosed(CDocumentTarget* doc);
    // Anything the template holds changed (a step, its undoing, the
    // selection, the picture, the saved state): what the commands offer
    // may have changed with it.
    void stateChanged();
    // The template was written under a new name (Save As, or the first
    // Save of a new template), so that it can head the recent files.
    void savedAs(const QString& path);

private:
    // Passes the document's notifications on as stateChanged.
    class CRelay : public IDocumentView
    {
    public:
        explicit CRelay(CDocumentTarget& owner) : m_owner(owner) {}
        void OnUpdate() override { emit m_owner.stateChanged(); }
        void OnDocumentChanged(const CDocChange&) override { emit m_owner.stateChanged(); }

    private:
        CDocumentTarget& m_owner;
    };

    // What a command of this template's checks and runs; null for one it
    // does not handle.
    struct Handler
    {
        bool (*enabled)(const CDocumentTarget&);
        void (*run)(CDocumentTarget&);
    };
    static const Handler* HandlerOf(int id);
    bool CanRenderGroup() const;
    // Runs save and emits savedAs when it left the document under a new name.
    template <typename Save>
    auto ReportingNewName(Save save);
    CTilemontDoc m_doc;
    CRelay m_relay{*this};
    std::vector<CChildFrame*> m_frames;
    std::function<void(CTilemontDoc&)> m_exporter;
    std::function<void(const CTilemontDoc&)> m_groupRenderer;
    bool m_bClosing = false;
};
