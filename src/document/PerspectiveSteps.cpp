#include "PerspectiveSteps.h"

#include "IDocumentPrompts.h"
#include "Messages.h"
#include "PerspectiveEdits.h"
#include "TilemontDoc.h"

#include <QCoreApplication>
#include <cmath>

bool CPerspectiveSteps::SetPerspective(AreaId id, bool perspective)
{
    const CArea* area = m_doc.FindArea(id);
    if (!area || area->IsPerspective() == perspective)
        return false;
    return m_doc.EditArea(id, Messages::kStepPerspective, [perspective](CArea& a) {
        a.SetPerspective(perspective);
    });
}

std::optional<CPerspectiveFit> CPerspectiveSteps::Fit(AreaId id, const CPerspectiveFitOptions& options)
{
    const CArea* area = m_doc.FindArea(id);
    const QImage* picture = m_doc.GetPicture();
    if (!area || !picture || picture->isNull())
        return std::nullopt;
    QString reason;
    std::optional<CPerspectiveFit> fit = FitPerspective(*picture, area->GetOutline(), options, &reason);
    ApplyFit(id, fit);
    return fit;
}

bool CPerspectiveSteps::ApplyFit(AreaId id, const std::optional<CPerspectiveFit>& fit)
{
    const CArea* area = m_doc.FindArea(id);
    if (!area)
        return false;
    if (!fit) {
        // The fit's own reason is for logs; the user learns what to do.
        m_prompts.ShowError(Messages::kNoPerspective.arg(area->GetName()));
        return false;
    }
    return m_doc.EditArea(id, Messages::kStepFitPerspective, [&fit](CArea& a) { ApplyPerspectiveFit(a, *fit); });
}

bool CPerspectiveSteps::SetRealSize(AreaId id, const CRealSize& realSize)
{
    return m_doc.EditArea(id, Messages::kStepRealSize, [&realSize](CArea& a) {
        a.SetRealSize(realSize);
        if (const auto scale = RealSizeScale(a))
            a.SetScale(*scale);
    });
}

QString CPerspectiveSteps::FitStatus(const CPerspectiveFit& fit)
{
    const QString focal = QString::number(std::lround(fit.focal));
    if (fit.focalAssumed)
        return QCoreApplication::translate("CPerspectiveSteps",
                                           "Perspective fitted assuming a typical camera (focal length %1 px).")
            .arg(focal);
    const int lines = fit.supportingLines;
    return CUiText::Counted(QCoreApplication::translate("CPerspectiveSteps",
                                                        "Perspective fitted from %n line(s) (focal length %1 px).",
                                                        nullptr, lines),
                            lines)
        .arg(focal);
}
