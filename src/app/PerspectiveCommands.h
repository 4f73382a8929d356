#pragma once

#include "IRealSizePrompt.h"
#include "document/Area.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class CAreasBar;
class CTilemontDoc;
class CTilemontView;

// "Fit Perspective" and "Real Size..." for one area, from the Template menu
// and the Areas panel alike: the fit beside the editor with its progress
// (see CPerspectiveFitRun), the status-bar report after it and the fitted
// corners brought up for editing in the panel's view; the Real Size dialog
// with its reference line dragged in the view. The steps themselves are the
// document's.
class CPerspectiveCommands : public QObject, private IRealSizePrompt
{
    Q_OBJECT

public:
    using Status = std::function<void(const QString&)>;
    // What the real width of the texture laid in the area is remembered as,
    // when its file is known; nothing otherwise.
    using WidthHint = std::function<std::optional<double>(const CTilemontDoc& doc, AreaId id)>;

    CPerspectiveCommands(QWidget* window, Status status);

    // null brings the editor's own dialog back.
    void SetRealSizePrompt(IRealSizePrompt* prompt) { m_pPrompt = prompt; }
    void SetWidthHint(WidthHint hint) { m_widthHint = std::move(hint); }
    // Told of every real size applied, so the texture's width can be
    // remembered for its file.
    using Applied = std::function<void(const CTilemontDoc& doc, AreaId id, const CRealSize& values)>;
    void SetAppliedListener(Applied listener) { m_applied = std::move(listener); }
    // Where a fitted area's corners come up for editing, as its "Skew" box
    // brings them up.
    void SetAreasPanel(CAreasBar* panel) { m_pPanel = panel; }
    // Called on the fit's worker with each progress report; returning false
    // cancels, as the progress window's Cancel does.
    using FitProbe = std::function<bool(int percent)>;
    void SetFitProbe(FitProbe probe) { m_fitProbe = std::move(probe); }

    // When the commands are enabled: a picked area and a picture to fit in;
    // a picked area with a texture to measure.
    static bool CanFit(const CTilemontDoc& doc, AreaId id);
    static bool CanSetRealSize(const CTilemontDoc& doc, AreaId id);

    void Fit(CTilemontDoc& doc, AreaId id);
    // view is where the reference line is dragged when the user asks to.
    void RealSize(CTilemontDoc& doc, CTilemontView* view, AreaId id);
    // The dialog's answers go on from values (a line just drawn, say).
    void AskRealSize(CTilemontDoc& doc, CTilemontView* view, AreaId id, const CRealSize& values);

private:
    Answer AskRealSize(const CRealSize& values, const QString& areaName) override;

    QPointer<QWidget> m_pWindow;
    Status m_status;
    IRealSizePrompt* m_pPrompt = nullptr;
    WidthHint m_widthHint;
    Applied m_applied;
    QPointer<CAreasBar> m_pPanel;
    FitProbe m_fitProbe;
};
