#include "PatternCommands.h"

#include "PatternDlg.h"
#include "document/Messages.h"
#include "document/TilemontDoc.h"
#include "render/AreaPattern.h"

CPatternCommands::CPatternCommands(QWidget* window, const QString& texturesFolder)
    : QObject(window), m_pWindow(window), m_strTexturesFolder(texturesFolder)
{
}

bool CPatternCommands::CanLay(const CTilemontDoc& doc, AreaId id)
{
    const CArea* area = doc.FindArea(id);
    return area && !area->GetOutline().IsEmpty();
}

bool CPatternCommands::Lay(CTilemontDoc& doc, AreaId id)
{
    const CArea* area = doc.FindArea(id);
    if (!CanLay(doc, id))
        return false;
    const CArea original = *area;
    CLayingPattern start;
    if (const CLayingPattern* laid = area->GetPattern())
        start = *laid;
    else
        start.origin = EPatternOrigin::Balanced;

    // The first step that changes the area opens the run; every later one
    // folds into it, so the dialog leaves one step however often it
    // changed the view.
    bool stepped = false;
    const auto step = [&](const std::function<void(CArea&)>& edit) {
        CAreaEditCommand::Options options;
        options.mergeKey = CAreaEditCommand::kMergePattern;
        options.joinsRun = stepped;
        if (doc.EditArea(id, Messages::kStepPattern, edit, options))
            stepped = true;
    };
    const auto lay = [&](const CLayingPattern& pattern, double maxPixels) {
        step([&](CArea& a) {
            a = original;
            if (const auto laid = CAreaPattern::Lay(a, pattern, maxPixels))
                CAreaPattern::Keep(a, pattern, *laid);
        });
    };
    IPatternPrompt& prompt = m_pPrompt ? *m_pPrompt : static_cast<IPatternPrompt&>(*this);
    const auto answer = prompt.AskPattern(start, area->GetName(), area->GetRealSize().HasReference(),
                                          [&](const CLayingPattern& p) { lay(p, kPreviewPixels); });
    if (!doc.FindArea(id))
        return false;
    if (answer && answer->IsUsable()) {
        lay(*answer, CAreaPattern::kMaxTexturePixels);
        return stepped;
    }
    // Back to the area as it was: the run then ends where it began and
    // leaves nothing to undo.
    if (stepped)
        step([&](CArea& a) { a = original; });
    return false;
}

std::optional<CLayingPattern> CPatternCommands::AskPattern(const CLayingPattern& start, const QString& areaName,
                                                           bool realSize, const Preview& preview)
{
    return CPatternDlg::Ask(start, areaName, realSize, m_strTexturesFolder, preview, m_pWindow);
}
