#pragma once

#include "Area.h"
#include "analysis/PerspectiveFit.h"

#include <QString>
#include <optional>

class CTilemontDoc;
class IDocumentPrompts;

// The perspective and real-size edits of one document, each one step in its
// history: kept apart from the document's file and list commands so that
// neither grows past reading at once.
class CPerspectiveSteps
{
public:
    CPerspectiveSteps(CTilemontDoc& doc, IDocumentPrompts& prompts) : m_doc(doc), m_prompts(prompts) {}

    // Switches the area between the bilinear patch and the plane through
    // its corners, rebuilding what it shows: one "Perspective" step, none
    // when the area already is so.
    bool SetPerspective(AreaId id, bool perspective);
    // Finds the plane of the area's surface in the picture and lays it in as
    // one "Fit perspective" step. When no plane is found the template stays
    // as it is and the user is told why, naming the area.
    std::optional<CPerspectiveFit> Fit(AreaId id, const CPerspectiveFitOptions& options);
    // The same with a fit found elsewhere (beside the editor) for the area
    // as it is now: one "Fit perspective" step, or, with none found, the
    // user told why. True when the template changed.
    bool ApplyFit(AreaId id, const std::optional<CPerspectiveFit>& fit);
    // Stores the real-size values and, when they give one, the scale that
    // shows the texture at its real width: one "Real size" step.
    bool SetRealSize(AreaId id, const CRealSize& realSize);

    // What the status bar says after a fit: how the camera was known.
    static QString FitStatus(const CPerspectiveFit& fit);

private:
    CTilemontDoc& m_doc;
    IDocumentPrompts& m_prompts;
};
