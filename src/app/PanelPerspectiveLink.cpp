#include "PanelPerspectiveLink.h"

#include "PerspectiveCommands.h"
#include "catalogue/TextureSizes.h"
#include "document/TilemontDoc.h"
#include "panels/AreasBar.h"

namespace PanelPerspectiveLink {

void RememberTextureWidths(CPerspectiveCommands& commands, std::function<CAreasBar*()> panel,
                           std::function<void(const QString&)> status)
{
    const auto texturePath = [panel](const CTilemontDoc& doc, AreaId id) {
        CAreasBar* areas = panel();
        if (!areas || areas->Document() != &doc)
            return QString();
        const QString laid = areas->TexturePathOf(id);
        return !laid.isEmpty() || areas->SelectedAreaId() != id ? laid : areas->FocusedTexturePath();
    };
    commands.SetWidthHint([texturePath](const CTilemontDoc& doc, AreaId id) -> std::optional<double> {
        const QString path = texturePath(doc, id);
        return path.isEmpty() ? std::nullopt : TextureSizes::ReadTextureWidth(path);
    });
    commands.SetAppliedListener([texturePath, status](const CTilemontDoc& doc, AreaId id, const CRealSize& values) {
        const QString path = texturePath(doc, id);
        QString error;
        if (!path.isEmpty() && values.textureWidthCm > 0.0 &&
            TextureSizes::ReadTextureWidth(path) != values.textureWidthCm &&
            !TextureSizes::WriteTextureWidth(path, values.textureWidthCm, &error))
            status(error);
    });
}

void ConnectPanelButtons(CAreasBar& panel, CPerspectiveCommands& commands,
                         std::function<CTilemontView*(QWidget*)> viewOf)
{
    QObject::connect(&panel, &CAreasBar::fitPerspectiveRequested, &panel, [&panel, &commands] {
        if (CTilemontDoc* doc = panel.Document())
            commands.Fit(*doc, panel.SelectedAreaId());
    });
    QObject::connect(&panel, &CAreasBar::realSizeRequested, &panel, [&panel, &commands, viewOf] {
        if (CTilemontDoc* doc = panel.Document())
            commands.RealSize(*doc, panel.View() ? viewOf(panel.View()) : nullptr, panel.SelectedAreaId());
    });
}

} // namespace PanelPerspectiveLink
