#pragma once

#include "CommandRouter.h"
#include "CommandTable.h"
#include "view/CommandTarget.h"
#include "document/Area.h"
#include "document/IAreasPanelSink.h"

#include <QList>
#include <QMainWindow>
#include <functional>
#include <optional>
#include <map>
#include <memory>

class CAreasBar;
class CBannerBar;
class CChildFrame;
class CCommandActions;
class IDocumentPrompts;
class CDocumentTarget;
class CHelpLauncher;
class CPatternCommands;
class CPerspectiveCommands;
class CRecentFileList;
class CStatusBar;
class CTilemontView;
class CTemplateDropTarget;
class CWindowList;
class QMdiArea;
class QMenu;
class QToolBar;
class CWandOptionsBar;

// The editor's main window: the template windows inside it, the menus, the
// main and tools toolbars and the status bar. Every menu item, button and
// accelerator is one action carrying its command id; its state and its
// handler are found along the command route (active view, its document,
// child frame, this frame, the application).
class CMainFrame : public QMainWindow, public ICommandTarget, public IAreasPanelSink
{
    Q_OBJECT

public:
    // app ends the route; recent supplies the File menu's file list. With
    // prompts the frame has the Areas panel, showing the texture groups of
    // texturesFolder and asking through prompts.
    CMainFrame(ICommandTarget* app, const CRecentFileList* recent, IDocumentPrompts* prompts = nullptr,
               const QString& texturesFolder = QString(), QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Opens one more window (child frame and view) on doc and activates it.
    CChildFrame* CreateChildFrame(CDocumentTarget& doc);
    // The active template window, or null.
    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> ChildFrames() const;
    QMdiArea* MdiArea() const { return m_pMdi; }

    CCommandRouter::Route Route() const;
    // Runs id along the route; false when nobody ran it (unhandled or disabled).
    bool RunCommand(int id);
    // Brings every action's enabled and checked state, the menu bar, the
    // recent-file items and the window titles up to date.
    void UpdateCommandUI();
    // The same once control is back in the event loop, however often asked
    // meanwhile: what a change of state calls.
    void ScheduleCommandUpdate();
    // Lays out the template windows the editor starts with: a single one
    // covers the workspace, several are tiled so that each shows whole.
    void ArrangeStartWindows();

    QAction* Action(int id) const;
    // IDR_MAINFRAME or IDR_TILEMTYPE: the menu bar shown.
    int CurrentMenu() const { return m_nMenu; }
    QToolBar* MainToolBar() const { return m_pMainBar; }
    QToolBar* ToolsToolBar() const { return m_pToolsBar; }
    // "Tool Options": shown while a tool that selects by colour is active.
    CWandOptionsBar* ToolOptionsBar() const { return m_pToolOptions; }
    CStatusBar* StatusBar() const { return m_pStatus; }
    CHelpLauncher& Help() const { return *m_pHelp; }

    // The tip strip above the toolbars; a click on its picture shows the guide.
    CBannerBar* Banner() const { return m_pBanner; }
    bool IsBannerVisible() const;
    void SetBannerVisible(bool visible);
    // Told each time "Banner" shows or hides the strip, so the choice can be kept.
    void SetBannerToggled(std::function<void(bool)> toggled) { m_bannerToggled = std::move(toggled); }

    // "Keep Shading": every view, and each new one, shows the picture's
    // light and shadow on its textures.
    bool IsKeepShading() const { return m_bKeepShading; }
    void SetKeepShading(bool keep);
    void SetKeepShadingToggled(std::function<void(bool)> toggled) { m_keepShadingToggled = std::move(toggled); }

    // "Perspective Grid": every view shows the canvas's tile grid while a
    // bilinear area's corners are edited, as it always does for a
    // perspective area.
    bool IsPerspectiveGrid() const { return m_bPerspectiveGrid; }
    void SetPerspectiveGrid(bool on);
    void SetPerspectiveGridToggled(std::function<void(bool)> toggled) { m_perspectiveGridToggled = std::move(toggled); }
    // "Fit Perspective" and "Real Size...", from the menu and the panel.
    CPerspectiveCommands& Perspective() const { return *m_pPerspective; }
    // "Pattern...", from the menu and the panel.
    CPatternCommands& Pattern() const { return *m_pPattern; }

    // The Window menu's list; its chooser of all windows is scripted by tests.
    CWindowList& Windows() const { return *m_pWindows; }

    // Asked when the window is about to close; false keeps it open.
    void SetCloseQuery(std::function<bool()> query) { m_closeQuery = std::move(query); }
    // Given the template files dropped on the window, in their order.
    void SetTemplatesDropped(std::function<void(const QStringList&)> opener);

    // The Areas panel, or null before the first "Areas" command.
    CAreasBar* AreasPanel() const { return m_pAreas; }
    // "Areas": creates the panel the first time, then shows or hides it.
    void OnViewAreas();

    // IAreasPanelSink: passed on to the Areas panel when there is one.
    void NotifyAreasPanel(CTilemontDoc* doc, IDocumentView* view, bool force) override;
    void DocumentDestroyed(CTilemontDoc* doc) override;

    bool HandlesCommand(int id) const override;
    CCommandState CommandState(int id) const override;
    void OnCommand(int id) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateMenuBar();
    void UpdateRecentFiles();
    void RefreshTitles();
    // Shows the active window's template in the Areas panel.
    void FollowActiveWindow();
    void ArrangeIcons();
    // The document, view and picked area the perspective commands work on.
    // The active window's document, view and picked area, which the
    // perspective commands act on; nothing without a window.
    struct PerspectiveTargetOf
    {
        CTilemontDoc& doc;
        CTilemontView* view;
        AreaId area;
    };
    std::optional<PerspectiveTargetOf> PerspectiveTarget() const;

    ICommandTarget* m_pApp;
    IDocumentPrompts* m_pPrompts;
    QString m_strTexturesFolder;
    CAreasBar* m_pAreas = nullptr;
    const CRecentFileList* m_pRecent;
    QMdiArea* m_pMdi;
    CStatusBar* m_pStatus;
    QToolBar* m_pMainBar;
    QToolBar* m_pToolsBar;
    CWandOptionsBar* m_pToolOptions;
    // The banner's own row, so the main toolbar always sits under it.
    QToolBar* m_pBannerRow;
    CBannerBar* m_pBanner;
    std::function<void(bool)> m_bannerToggled;
    bool m_bKeepShading = false;
    std::function<void(bool)> m_keepShadingToggled;
    bool m_bPerspectiveGrid = false;
    std::function<void(bool)> m_perspectiveGridToggled;
    CPerspectiveCommands* m_pPerspective;
    std::unique_ptr<CWindowList> m_pWindows;
    CPatternCommands* m_pPattern;
    std::unique_ptr<CHelpLauncher> m_pHelp;
    std::unique_ptr<CCommandActions> m_pActions;
    std::map<int, QList<QMenu*>> m_menus;
    int m_nMenu = 0;
    bool m_bUpdatePending = false;
    std::function<bool()> m_closeQuery;
    CTemplateDropTarget* m_pTemplateDrop = nullptr;
};
