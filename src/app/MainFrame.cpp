#include "MainFrame.h"

#include "ChildFrame.h"
#include "CommandActions.h"
#include "CommandTable.h"
#include "DocumentTarget.h"
#include "HelpLauncher.h"
#include "LoneWindowFill.h"
#include "MenuLayout.h"
#include "RecentFileList.h"
#include "RefineEdgesCommand.h"
#include "ResourceIds.h"
#include "PanelPerspectiveLink.h"
#include "PatternCommands.h"
#include "PerspectiveCommands.h"
#include "catalogue/TextureSizes.h"
#include "StatusBar.h"
#include "TemplateDropTarget.h"
#include "ToolIconEngine.h"
#include "controls/BannerBar.h"
#include "WandOptionsBar.h"
#include "WindowList.h"
#include "ImageDrop.h"
#include "panels/AreasBar.h"
#include "view/TilemontView.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <algorithm>

namespace {
// The window's title; a template window's name follows it.
QString AppTitle()
{
    return CMainFrame::tr("Tilemont");
}
// Long enough to be read after a fit; the prompts take the pane back after.
constexpr int kPerspectiveStatusMs = 15000;
} // namespace

CMainFrame::CMainFrame(ICommandTarget* app, const CRecentFileList* recent, IDocumentPrompts* prompts,
                       const QString& texturesFolder, QWidget* parent)
    : QMainWindow(parent), m_pApp(app), m_pPrompts(prompts), m_strTexturesFolder(texturesFolder), m_pRecent(recent),
      m_pHelp(std::make_unique<CHelpLauncher>(this))
{
    setWindowTitle(AppTitle());
    setWindowIcon(CToolIconEngine::Icon(IDR_MAINFRAME));

    m_pMdi = new QMdiArea(this);
    new CLoneWindowFill(*m_pMdi);
    m_pMdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdi);
    setAcceptDrops(true);
    installEventFilter(m_pTemplateDrop = new CTemplateDropTarget(this));

    m_pActions = std::make_unique<CCommandActions>(*this, [this](int id) { RunCommand(id); });
    m_pWindows = std::make_unique<CWindowList>(*m_pMdi, [this](int id) { return Action(id); }, this);
    m_pBanner = new CBannerBar(this);
    m_pBanner->SetLink(CHelpLauncher::kGuideUrl);
    m_pBanner->SetOpener([this](const QUrl&) { m_pHelp->OpenGuideInBrowser(); });
    m_pBannerRow = new QToolBar(tr("Banner"), this);
    m_pBannerRow->setObjectName(QStringLiteral("Banner"));
    m_pBannerRow->setMovable(false);
    m_pBannerRow->setFloatable(false);
    m_pBannerRow->setAllowedAreas(Qt::TopToolBarArea);
    // Shown and hidden by "Banner" alone, which remembers the choice.
    m_pBannerRow->toggleViewAction()->setVisible(false);
    m_pBannerRow->setContentsMargins(0, 0, 0, 0);
    m_pBannerRow->layout()->setContentsMargins(0, 0, 0, 0);
    m_pBannerRow->addWidget(m_pBanner);
    addToolBar(Qt::TopToolBarArea, m_pBannerRow);
    addToolBarBreak(Qt::TopToolBarArea);

    m_pMainBar = m_pActions->CreateToolBar(tr("Main"), QStringLiteral("Main"), CBarPlace::Main, 16);
    addToolBar(Qt::TopToolBarArea, m_pMainBar);
    m_pToolsBar = m_pActions->CreateToolBar(tr("Tools"), QStringLiteral("Tools"), CBarPlace::Tools, 19);
    addToolBar(Qt::LeftToolBarArea, m_pToolsBar);
    m_pToolOptions = new CWandOptionsBar(this);
    addToolBar(Qt::TopToolBarArea, m_pToolOptions);
    m_pToolOptions->hide();

    m_pStatus = new CStatusBar(this);
    setStatusBar(m_pStatus);
    m_pPattern = new CPatternCommands(this, m_strTexturesFolder);
    m_pPerspective = new CPerspectiveCommands(this, [this](const QString& text) {
        m_pStatus->showMessage(text, kPerspectiveStatusMs);
    });
    PanelPerspectiveLink::RememberTextureWidths(
        *m_pPerspective, [this] { return m_pAreas; },
        [this](const QString& error) { m_pStatus->showMessage(error, kPerspectiveStatusMs); });

    for (int menuId : {int(IDR_MAINFRAME), int(IDR_TILEMTYPE)}) {
        m_menus[menuId] = MenuLayout::Build(menuId, [this](int id) { return Action(id); }, this);
        for (QMenu* menu : m_menus[menuId])
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    }

    // The panel is there from the start, docked at the top right.
    OnViewAreas();

    connect(m_pMdi, &QMdiArea::subWindowActivated, this, [this] {
        FollowActiveWindow();
        UpdateCommandUI();
    });
    // The commands' states follow what changes them, told, never polled: the
    // templates (see CreateChildFrame), the Clipboard (Paste), the focus
    // (a field's own keys), the Areas panel showing or hiding.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::ScheduleCommandUpdate);
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::ScheduleCommandUpdate);
    UpdateCommandUI();
}

CMainFrame::~CMainFrame()
{
    // The windows go before the launcher and the actions they use, and
    // without updating a frame that is half gone as each one leaves.
    QMdiArea* mdi = m_pMdi;
    m_pMdi = nullptr;
    disconnect(mdi, nullptr, this, nullptr);
    delete mdi;
    // The panel hiding, the focus leaving and the Clipboard must not reach
    // a frame that is half gone.
    if (m_pAreas)
        disconnect(m_pAreas, nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
}

QAction* CMainFrame::Action(int id) const
{
    return m_pActions->Action(id);
}

CChildFrame* CMainFrame::ActiveChild() const
{
    if (!m_pMdi)
        return nullptr;
    auto* current = qobject_cast<CChildFrame*>(m_pMdi->currentSubWindow());
    if (current && !current->IsClosed())
        return current;
    // Between a window closing and the area picking the next one, the most
    // recently active open window stands in.
    const auto windows = m_pMdi->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        if (auto* child = qobject_cast<CChildFrame*>(*it); child && !child->IsClosed())
            return child;
    return nullptr;
}

QList<CChildFrame*> CMainFrame::ChildFrames() const
{
    QList<CChildFrame*> children;
    if (!m_pMdi)
        return children;
    for (QMdiSubWindow* window : m_pMdi->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window); child && !child->IsClosed())
            children << child;
    return children;
}

void CMainFrame::ArrangeStartWindows()
{
    const QList<QMdiSubWindow*> windows = m_pMdi->subWindowList();
    if (windows.size() > 1)
        m_pMdi->tileSubWindows();
    else if (windows.size() == 1 && !windows.front()->isMaximized() && !windows.front()->isMinimized())
        windows.front()->setGeometry(m_pMdi->viewport()->rect());
}

CChildFrame* CMainFrame::CreateChildFrame(CDocumentTarget& doc)
{
    CChildFrame* previous = ActiveChild();
    auto* view = new CTilemontView(doc.Doc(), this);
    view->SetDropHandler(std::make_unique<CImageDrop>(doc.Doc(), &TextureSizes::ReadTextureWidth));
    view->SetKeepShading(m_bKeepShading);
    view->SetPerspectiveGrid(m_bPerspectiveGrid);
    view->FitWhenShown();
    // The picture pixel under the pointer shows in the status bar.
    connect(view, &CTilemontView::pointerOverPixel, m_pStatus,
            [this](QPoint p) { m_pStatus->showMessage(tr("%1, %2").arg(p.x()).arg(p.y())); });
    connect(view, &CTilemontView::pointerLeftPicture, m_pStatus, &QStatusBar::clearMessage);
    auto* frame = new CChildFrame(doc, view, *m_pHelp);
    connect(&doc, &CDocumentTarget::stateChanged, this, &CMainFrame::ScheduleCommandUpdate, Qt::UniqueConnection);
    frame->setWindowIcon(CToolIconEngine::Icon(IDR_MAINFRAME));
    m_pMdi->addSubWindow(frame);
    // Left to itself a window opened into a shown frame takes the view's
    // small size hint; three quarters of the area shows the picture, as a
    // new document window usually does. Before the frame is laid out the
    // area has no size yet, and the window grows with the first layout.
    const QSize area = m_pMdi->viewport()->size();
    if (area.width() >= 320 && area.height() >= 240)
        frame->resize(area * 3 / 4);
    if (previous && previous->isMaximized())
        frame->showMaximized();
    else
        frame->show();
    m_pMdi->setActiveSubWindow(frame);
    view->setFocus();
    // The window in front is the one the panel works with, even before the
    // main window is active and the view really gets the keyboard focus.
    NotifyAreasPanel(&doc.Doc(), view, false);
    UpdateCommandUI();
    return frame;
}

CCommandRouter::Route CMainFrame::Route() const
{
    CCommandRouter::Route route;
    if (CChildFrame* child = ActiveChild()) {
        route.push_back(&child->View()->Commands());
        route.push_back(&child->Document());
        route.push_back(child);
    }
    route.push_back(const_cast<CMainFrame*>(this));
    route.push_back(m_pApp);
    return route;
}

bool CMainFrame::RunCommand(int id)
{
    CChildFrame* child = ActiveChild();
    const QImage* before = child ? child->Document().Doc().GetPicture() : nullptr;
    const bool ran = CCommandRouter::Dispatch(Route(), id);
    // A new picture shows whole in its window, as an opened one does.
    if (child && ActiveChild() == child && child->Document().Doc().GetPicture() != before)
        child->View()->ShowNewPictureWhole();
    UpdateCommandUI();
    return ran;
}

void CMainFrame::ScheduleCommandUpdate()
{
    // Many changes in one turn of the event loop make one update.
    if (m_bUpdatePending)
        return;
    m_bUpdatePending = true;
    const auto update = [this] {
        m_bUpdatePending = false;
        UpdateCommandUI();
    };
    QMetaObject::invokeMethod(this, update, Qt::QueuedConnection);
}

void CMainFrame::UpdateCommandUI()
{
    m_pStatus->UpdateIndicators();
    UpdateMenuBar();
    UpdateRecentFiles();
    RefreshTitles();
    m_pWindows->Update(ChildFrames(), ActiveChild());
    const auto route = Route();
    m_pActions->Update(route);
    // The tools that select by colour share the options bar.
    static const int kColourTools[] = {ID_MAGIC_WAND};
    bool colourTool = false;
    for (const int id : kColourTools)
        colourTool = colourTool || CCommandRouter::StateOf(route, id).checked;
    if (m_pToolOptions->isVisibleTo(this) != colourTool)
        m_pToolOptions->setVisible(colourTool);
}

void CMainFrame::UpdateMenuBar()
{
    const int wanted = ActiveChild() ? IDR_TILEMTYPE : IDR_MAINFRAME;
    if (wanted == m_nMenu)
        return;
    menuBar()->clear();
    for (QMenu* menu : m_menus[wanted])
        menuBar()->addMenu(menu);
    m_nMenu = wanted;
}

void CMainFrame::UpdateRecentFiles()
{
    const int count = m_pRecent ? m_pRecent->GetCount() : 0;
    for (int i = 0; i < 4; ++i) {
        QAction* action = Action(ID_FILE_MRU_FIRST + i);
        if (i < count) {
            action->setText(m_pRecent->MenuText(i));
            action->setVisible(true);
        } else {
            // An empty list still shows where the files will appear.
            action->setText(CommandTable::MenuText(*CommandTable::Find(ID_FILE_MRU_FIRST)));
            action->setVisible(i == 0);
        }
    }
}

void CMainFrame::RefreshTitles()
{
    for (CChildFrame* child : ChildFrames()) {
        const auto frames = child->Document().OpenFrames();
        QString title = child->Document().Doc().GetTitle();
        if (frames.size() > 1) {
            const auto index = std::find(frames.begin(), frames.end(), child) - frames.begin();
            title += QStringLiteral(":%1").arg(index + 1);
        }
        // Qt shows the mark where "[*]" stands, and only while modified.
        title += QStringLiteral("[*]");
        if (child->windowTitle() != title)
            child->setWindowTitle(title);
        child->setWindowModified(child->Document().Doc().IsModified());
    }
    const CChildFrame* active = ActiveChild();
    const QString title = active ? CMainFrame::tr("%1 - %2").arg(AppTitle(), active->windowTitle()) : AppTitle();
    if (windowTitle() != title)
        setWindowTitle(title);
    setWindowModified(active && active->isWindowModified());
}

void CMainFrame::FollowActiveWindow()
{
    if (CChildFrame* child = ActiveChild(); child && m_pAreas)
        m_pAreas->NotifyAreasPanel(&child->Document().Doc(), child->View(), false);
}

void CMainFrame::OnViewAreas()
{
    if (!m_pAreas) {
        if (!m_pPrompts)
            return;
        m_pAreas = new CAreasBar(*m_pPrompts, m_strTexturesFolder, this);
        m_pAreas->SetTextureWidthSource(&TextureSizes::ReadTextureWidth);
        m_pPerspective->SetAreasPanel(m_pAreas);
        connect(m_pAreas, &QDockWidget::visibilityChanged, this, &CMainFrame::ScheduleCommandUpdate);
        connect(m_pAreas, &CAreasBar::patternRequested, this, [this] {
            if (CTilemontDoc* doc = m_pAreas->Document())
                m_pPattern->Lay(*doc, m_pAreas->SelectedAreaId());
        });
        // The panel's buttons work on the panel's own document and pick. It
        // knows its window only as a window: the child that holds it names
        // it as a view.
        PanelPerspectiveLink::ConnectPanelButtons(*m_pAreas, *m_pPerspective, [this](QWidget* window) {
            for (CChildFrame* child : ChildFrames())
                if (static_cast<QWidget*>(child->View()) == window)
                    return child->View();
            return static_cast<CTilemontView*>(nullptr);
        });
        addDockWidget(Qt::RightDockWidgetArea, m_pAreas);
        m_pAreas->show();
        return;
    }
    m_pAreas->setVisible(!m_pAreas->isVisibleTo(this));
}

bool CMainFrame::IsBannerVisible() const
{
    return m_pBannerRow->isVisibleTo(this);
}

void CMainFrame::SetBannerVisible(bool visible)
{
    m_pBannerRow->setVisible(visible);
}

void CMainFrame::SetKeepShading(bool keep)
{
    m_bKeepShading = keep;
    for (CChildFrame* child : ChildFrames())
        child->View()->SetKeepShading(keep);
}

void CMainFrame::SetPerspectiveGrid(bool on)
{
    m_bPerspectiveGrid = on;
    for (CChildFrame* child : ChildFrames())
        child->View()->SetPerspectiveGrid(on);
}

std::optional<CMainFrame::PerspectiveTargetOf> CMainFrame::PerspectiveTarget() const
{
    CChildFrame* child = ActiveChild();
    if (!child)
        return std::nullopt;
    CTilemontDoc& doc = child->Document().Doc();
    return PerspectiveTargetOf{doc, child->View(), doc.GetSelectedAreaId()};
}

void CMainFrame::NotifyAreasPanel(CTilemontDoc* doc, IDocumentView* view, bool force)
{
    if (!m_pAreas)
        return;
    m_pAreas->NotifyAreasPanel(doc, view, force);
    // A view going empties the panel; the window in front now fills it
    // again, without waiting for its view to be clicked.
    if (!doc)
        FollowActiveWindow();
}

void CMainFrame::DocumentDestroyed(CTilemontDoc* doc)
{
    if (!m_pAreas)
        return;
    m_pAreas->DocumentDestroyed(doc);
    FollowActiveWindow();
}

bool CMainFrame::HandlesCommand(int id) const
{
    switch (id) {
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_VIEW_BANNER:
    case ID_VIEW_KEEP_SHADING:
    case ID_VIEW_PERSPECTIVE_GRID:
    case ID_FIT_PERSPECTIVE:
    case ID_REAL_SIZE:
    case ID_LAY_PATTERN:
    case ID_REFINE_EDGES:
    case ID_VIEW_AREAS:
    case ID_WINDOW_NEW:
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_ARRANGE:
        return true;
    default:
        return CWindowList::Handles(id);
    }
}

CCommandState CMainFrame::CommandState(int id) const
{
    switch (id) {
    case ID_VIEW_TOOLBAR: return {true, m_pMainBar->isVisibleTo(this)};
    case ID_VIEW_STATUS_BAR: return {true, m_pStatus->isVisibleTo(this)};
    case ID_VIEW_BANNER: return {true, IsBannerVisible()};
    case ID_VIEW_KEEP_SHADING: return {true, m_bKeepShading};
    case ID_VIEW_PERSPECTIVE_GRID: return {true, m_bPerspectiveGrid};
    case ID_FIT_PERSPECTIVE:
    case ID_REAL_SIZE: {
        const auto target = PerspectiveTarget();
        if (!target)
            return {false, false};
        return {id == ID_FIT_PERSPECTIVE ? CPerspectiveCommands::CanFit(target->doc, target->area)
                                         : CPerspectiveCommands::CanSetRealSize(target->doc, target->area),
                false};
    }
    case ID_LAY_PATTERN: {
        const auto target = PerspectiveTarget();
        return {target && CPatternCommands::CanLay(target->doc, target->area), false};
    }
    case ID_REFINE_EDGES: {
        const CChildFrame* child = ActiveChild();
        return {child && CRefineEdgesCommand::CanRun(child->Document().Doc()), false};
    }
    case ID_VIEW_AREAS: return {m_pPrompts != nullptr, m_pAreas && m_pAreas->isVisibleTo(this)};
    default:
        if (CWindowList::Handles(id)) {
            const auto [enabled, checked] = m_pWindows->State(id, ChildFrames(), ActiveChild());
            return {enabled, checked};
        }
        return {ActiveChild() != nullptr, false};
    }
}

void CMainFrame::OnCommand(int id)
{
    switch (id) {
    case ID_VIEW_TOOLBAR: m_pMainBar->setVisible(!m_pMainBar->isVisibleTo(this)); break;
    case ID_VIEW_STATUS_BAR: m_pStatus->setVisible(!m_pStatus->isVisibleTo(this)); break;
    case ID_VIEW_BANNER:
        SetBannerVisible(!IsBannerVisible());
        if (m_bannerToggled)
            m_bannerToggled(IsBannerVisible());
        break;
    case ID_VIEW_KEEP_SHADING:
        SetKeepShading(!m_bKeepShading);
        if (m_keepShadingToggled)
            m_keepShadingToggled(m_bKeepShading);
        break;
    case ID_VIEW_PERSPECTIVE_GRID:
        SetPerspectiveGrid(!m_bPerspectiveGrid);
        if (m_perspectiveGridToggled)
            m_perspectiveGridToggled(m_bPerspectiveGrid);
        break;
    case ID_FIT_PERSPECTIVE:
    case ID_REAL_SIZE:
        if (const auto target = PerspectiveTarget()) {
            if (id == ID_FIT_PERSPECTIVE)
                m_pPerspective->Fit(target->doc, target->area);
            else
                m_pPerspective->RealSize(target->doc, target->view, target->area);
        }
        break;
    case ID_LAY_PATTERN:
        if (const auto target = PerspectiveTarget())
            m_pPattern->Lay(target->doc, target->area);
        break;
    case ID_REFINE_EDGES:
        if (CChildFrame* child = ActiveChild())
            CRefineEdgesCommand::Run(child->Document().Doc(), this);
        break;
    case ID_VIEW_AREAS: OnViewAreas(); break;
    case ID_WINDOW_NEW:
        if (CChildFrame* child = ActiveChild())
            CreateChildFrame(child->Document());
        break;
    case ID_WINDOW_CASCADE: m_pMdi->cascadeSubWindows(); break;
    case ID_WINDOW_TILE_HORZ: m_pMdi->tileSubWindows(); break;
    case ID_WINDOW_ARRANGE: ArrangeIcons(); break;
    default:
        if (CWindowList::Handles(id))
            m_pWindows->Run(id, ChildFrames(), ActiveChild());
        break;
    }
}

void CMainFrame::ArrangeIcons()
{
    // Minimised windows line up along the bottom edge, left to right.
    int x = 0;
    int y = m_pMdi->viewport()->height();
    for (CChildFrame* child : ChildFrames()) {
        if (!child->isMinimized())
            continue;
        const QSize size = child->size();
        if (x > 0 && x + size.width() > m_pMdi->viewport()->width()) {
            x = 0;
            y -= size.height();
        }
        child->move(x, y - size.height());
        x += size.width();
    }
}

void CMainFrame::SetTemplatesDropped(std::function<void(const QStringList&)> opener)
{
    m_pTemplateDrop->SetOpener(std::move(opener));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_closeQuery && !m_closeQuery()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
