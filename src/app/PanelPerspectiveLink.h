#pragma once

#include <QString>

#include <functional>

class CAreasBar;
class CPerspectiveCommands;
class CTilemontView;
class QWidget;

// How "Fit Perspective" and "Real Size..." meet the Areas panel: the
// panel's own buttons run them on its document and pick, and the texture
// width a user gives is remembered beside the texture's file.
namespace PanelPerspectiveLink {

// The Real Size dialog offers the width remembered for the file the area's
// texture came from (or, not knowing it, the swatch the panel has in
// focus); a width the user gives is remembered for that file in its group
// folder, so that every template after knows it. panel gives the panel
// once there is one; status shows a failure to remember.
void RememberTextureWidths(CPerspectiveCommands& commands, std::function<CAreasBar*()> panel,
                           std::function<void(const QString&)> status);

// The panel's two buttons. viewOf names the template view that a window of
// the panel's is, if any.
void ConnectPanelButtons(CAreasBar& panel, CPerspectiveCommands& commands,
                         std::function<CTilemontView*(QWidget*)> viewOf);

} // namespace PanelPerspectiveLink
