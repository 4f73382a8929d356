#pragma once

#include "document/Area.h"
#include "document/IDocumentView.h"
#include "document/TemplateSnapshot.h"
#include "geometry/Polygon.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

class CDocCommand;
class CDocumentTarget;
class CTilemontDoc;

// Follows one document's history and keeps the template's value at every
// position of it: the value before the oldest step kept, after each step,
// and so on to the newest. Whenever an undo or redo lands somewhere, the
// document must hold exactly what was recorded there; between steps, nothing
// may change it at all, and every change must be announced to the views.
// Faults are kept for the caller to report.
class CStateTrail : private IDocumentView
{
public:
    // A template's value; values recorded one after the other share the
    // areas that did not change.
    struct State
    {
        std::optional<QImage> picture;
        std::vector<std::shared_ptr<const CArea>> areas;
        // Identities survive undo and redo too.
        std::vector<AreaId> ids;
        std::shared_ptr<const CPolygon> selection;

        bool operator==(const State& other) const;
        // The picture and the areas alike: what a file keeps.
        bool SameContent(const State& other) const;
        CTemplateSnapshot Content() const;
    };

    // historyMoves says when the walk is undoing or redoing.
    CStateTrail(CDocumentTarget& target, const bool& historyMoves);
    ~CStateTrail() override;
    CStateTrail(const CStateTrail&) = delete;
    CStateTrail& operator=(const CStateTrail&) = delete;

    // False once the document has been closed.
    bool IsAlive() const { return !m_target.isNull(); }
    CDocumentTarget* Target() const { return m_target; }
    CTilemontDoc& Doc() const;

    // After each event: the document holds what its views were told and what
    // its history's position records.
    void CheckSettled();
    // The first fault seen, empty while there is none.
    const QString& Failure() const { return m_failure; }
    // How many of the oldest steps the history has let go of.
    int Dropped() const { return m_nDropped; }
    // The value recorded for a position of the history, when known.
    const std::optional<State>& At(int index) const { return m_states[std::size_t(index)]; }

    static State Capture(const CTilemontDoc& doc);

private:
    void OnUpdate() override {}
    void OnDocumentChanged(const CDocChange& change) override;
    // The document's value as its notifications tell it, kept up to date
    // area by area.
    void Announced(const CDocChange& change);
    void Follow();
    // Whether the document holds state now.
    bool Holds(const State& state) const;
    // Checks that the document holds the value recorded at index.
    void Expect(int index, const State& now, const char* when);
    void Fail(const QString& message);

    QPointer<CDocumentTarget> m_target;
    const bool& m_historyMoves;
    State m_announced;
    std::vector<const CDocCommand*> m_steps;
    std::vector<std::optional<State>> m_states;
    int m_index = 0;
    int m_nDropped = 0;
    QString m_failure;
};

void PrintTo(const CStateTrail::State& state, std::ostream* os);
