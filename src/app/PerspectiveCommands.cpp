#include "PerspectiveCommands.h"

#include "PerspectiveFitRun.h"
#include "RealSizeDlg.h"
#include "document/PerspectiveSteps.h"
#include "document/TilemontDoc.h"
#include "panels/AreasBar.h"
#include "view/TilemontView.h"

#include <QTimer>

CPerspectiveCommands::CPerspectiveCommands(QWidget* window, Status status)
    : QObject(window), m_pWindow(window), m_status(std::move(status))
{
}

bool CPerspectiveCommands::CanFit(const CTilemontDoc& doc, AreaId id)
{
    const QImage* picture = doc.GetPicture();
    return doc.FindArea(id) && picture && !picture->isNull();
}

bool CPerspectiveCommands::CanSetRealSize(const CTilemontDoc& doc, AreaId id)
{
    const CArea* area = doc.FindArea(id);
    return area && area->GetTexture() && !area->GetTexture()->isNull();
}

void CPerspectiveCommands::Fit(CTilemontDoc& doc, AreaId id)
{
    if (!CanFit(doc, id))
        return;
    CPerspectiveFitRun run(doc, id, m_pWindow);
    run.SetProbe(m_fitProbe);
    switch (run.Run()) {
    case CPerspectiveFitRun::Outcome::Fitted:
        if (m_status)
            m_status(CPerspectiveSteps::FitStatus(*run.Fit()));
        // The result at once, ready to be checked against the room and
        // dragged: its corners, handles and grid, as the "Skew" box shows them.
        if (m_pPanel)
            m_pPanel->EditSkewOf(doc, id);
        return;
    case CPerspectiveFitRun::Outcome::Cancelled:
        if (m_status)
            m_status(tr("Fit Perspective was cancelled; the template is as it was."));
        return;
    case CPerspectiveFitRun::Outcome::Abandoned:
        // The document may be gone: only the window is told.
        if (m_status)
            m_status(tr("Fit Perspective stopped: the area or the picture changed meanwhile."));
        return;
    case CPerspectiveFitRun::Outcome::NotFound: return;
    }
}

void CPerspectiveCommands::RealSize(CTilemontDoc& doc, CTilemontView* view, AreaId id)
{
    const CArea* area = doc.FindArea(id);
    if (!CanSetRealSize(doc, id))
        return;
    CRealSize values = area->GetRealSize();
    // A width this area never had is offered from what its texture file is
    // remembered as.
    if (!(values.textureWidthCm > 0.0) && m_widthHint)
        if (const auto width = m_widthHint(doc, id); width && *width > 0.0)
            values.textureWidthCm = *width;
    AskRealSize(doc, view, id, values);
}

void CPerspectiveCommands::AskRealSize(CTilemontDoc& doc, CTilemontView* view, AreaId id, const CRealSize& values)
{
    const CArea* area = doc.FindArea(id);
    if (!area)
        return;
    IRealSizePrompt& prompt = m_pPrompt ? *m_pPrompt : static_cast<IRealSizePrompt&>(*this);
    const Answer answer = prompt.AskRealSize(values, area->GetName());
    switch (answer.action) {
    case Action::Cancel:
        return;
    case Action::Apply:
        doc.SetAreaRealSize(id, answer.values);
        if (m_applied)
            m_applied(doc, id, answer.values);
        return;
    case Action::DrawLine:
        break;
    }
    if (!view)
        return;
    // The view outlives nothing it is given here: a closed view never calls
    // back, and the document outlives its views.
    QPointer<CPerspectiveCommands> self(this);
    QPointer<CTilemontView> where(view);
    view->BeginReferenceLine([self, where, &doc, id, kept = answer.values](std::optional<QLineF> line) {
        if (!self)
            return;
        CRealSize next = kept;
        if (line)
            next.reference = *line;
        // Asked again once the release that ended the line is handled, not
        // from inside it.
        QTimer::singleShot(0, self, [self, where, &doc, id, next] {
            if (self)
                self->AskRealSize(doc, where.data(), id, next);
        });
    });
}

IRealSizePrompt::Answer CPerspectiveCommands::AskRealSize(const CRealSize& values, const QString& areaName)
{
    return CRealSizeDlg::Ask(values, areaName, m_pWindow);
}
