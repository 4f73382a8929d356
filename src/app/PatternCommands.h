#pragma once

#include "IPatternPrompt.h"
#include "document/Area.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class CTilemontDoc;

// "Pattern..." for one area, from the Template menu and the Areas panel
// alike: the dialog opens on the area's pattern (or a first guess), each
// change in it is laid into the area at once at a preview's resolution,
// and closing it with OK lays the pattern at full resolution. All of it is
// one "Pattern" step; Cancel leaves the template as it was, with no step.
class CPatternCommands : public QObject, private IPatternPrompt
{
    Q_OBJECT

public:
    // The most texture pixels a preview lays: small enough to follow a
    // spin box, large enough to judge the pattern in the view.
    static constexpr double kPreviewPixels = 0.8e6;

    CPatternCommands(QWidget* window, const QString& texturesFolder);

    // null brings the editor's own dialog back.
    void SetPrompt(IPatternPrompt* prompt) { m_pPrompt = prompt; }

    // A picked area with an outline to lay into.
    static bool CanLay(const CTilemontDoc& doc, AreaId id);
    // True when the template changed.
    bool Lay(CTilemontDoc& doc, AreaId id);

private:
    std::optional<CLayingPattern> AskPattern(const CLayingPattern& start, const QString& areaName, bool realSize,
                                             const Preview& preview) override;

    QPointer<QWidget> m_pWindow;
    QString m_strTexturesFolder;
    IPatternPrompt* m_pPrompt = nullptr;
};
