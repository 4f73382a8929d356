#include "TilemontApp.h"

#include <QScreen>
#include <QTimer>

#include "AboutDlg.h"
#include "ChildFrame.h"
#include "DocumentTarget.h"
#include "FolderCase.h"
#include "MainFrame.h"
#include "StatusBar.h"
#include "export/ui/ExportSession.h"
#include "export/ui/RenderGroupSession.h"
#include "QtPrompts.h"
#include "ResourceIds.h"
#include "document/Messages.h"
#include "view/WandToolOptions.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiArea>

const QString CTilemontApp::kMakerName = QStringLiteral("Brightquarry Software");
const QString CTilemontApp::kAppName = QStringLiteral("Tilemont");

namespace {
constexpr int kRecentCount = 4;
// Long enough to read the file's name, short enough not to linger.
constexpr int kExportStatusMs = 6000;

QString DefaultFolder(const QString& start, const char* name)
{
    return QDir::toNativeSeparators(QDir(start).filePath(QLatin1String(name))) + QDir::separator();
}

// Where the working folders go by default: the folder the editor started
// in, unless that is the home folder (the desktop's launchers and file
// managers start programs there), where four folders of ours would sit
// among the user's own: then one folder "Tilemont" holds them.
QString WorkingBase(const QString& start)
{
    if (QDir(start) != QDir::home())
        return start;
    const QString base = QDir::home().filePath(QStringLiteral("Tilemont"));
    QDir().mkdir(base);
    return base;
}
} // namespace

CTilemontApp::CTilemontApp(IDocumentPrompts* prompts, SettingsFactory settings)
    : m_settingsFactory(std::move(settings)), m_pPrompts(prompts), m_recent(kRecentCount)
{
    if (!m_settingsFactory) {
        m_settingsFactory = [] {
            return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kMakerName,
                                               kAppName);
        };
    }
    if (!m_pPrompts) {
        m_pOwnPrompts = std::make_unique<CQtPrompts>();
        m_pPrompts = m_pOwnPrompts.get();
    }
}

CTilemontApp::~CTilemontApp()
{
    // The windows hold views of the documents, so they go first; the
    // documents then have no panel left to tell that they go.
    for (CDocumentTarget* doc : m_documents)
        doc->Doc().SetAreasPanelSink(nullptr);
    m_pMainFrame.reset();
    if (m_wandListener)
        CWandToolOptions::Instance().RemoveListener(m_wandListener);
    qDeleteAll(m_documents);
    m_documents.clear();
}

bool CTilemontApp::InitInstance(const QStringList& arguments)
{
    m_strStartFolder = QDir::currentPath();
    ReadSettings();
    FillInFolders();

    m_pMainFrame = std::make_unique<CMainFrame>(this, &m_recent, m_pPrompts, m_settings.strTexturesFolder);
    m_pMainFrame->SetBannerVisible(m_settings.bShowBanner);
    m_pMainFrame->SetBannerToggled([this](bool shown) {
        m_settings.bShowBanner = shown;
        // Kept at once: a run that never reaches ExitInstance still remembers it.
        m_settingsFactory()->setValue(QLatin1String(AppSettings::kShowBannerKey), shown);
    });
    m_pMainFrame->SetKeepShading(m_settings.bKeepShading);
    m_pMainFrame->SetKeepShadingToggled([this](bool keep) {
        m_settings.bKeepShading = keep;
        m_settingsFactory()->setValue(QLatin1String(AppSettings::kKeepShadingKey), keep);
    });
    m_pMainFrame->SetPerspectiveGrid(m_settings.bPerspectiveGrid);
    m_pMainFrame->SetPerspectiveGridToggled([this](bool on) {
        m_settings.bPerspectiveGrid = on;
        m_settingsFactory()->setValue(QLatin1String(AppSettings::kPerspectiveGridKey), on);
    });
    // The wand's options are shared by every view; a change is kept at once.
    CWandToolOptions::Instance().Set({m_settings.nWandTolerance, m_settings.bWandContiguous, m_settings.nWandMinSpeck});
    m_wandListener = CWandToolOptions::Instance().AddListener([this](const SWandOptions& options) {
        m_settings.nWandTolerance = options.tolerance;
        m_settings.bWandContiguous = options.contiguous;
        m_settings.nWandMinSpeck = options.minSpeck;
        const auto settings = m_settingsFactory();
        settings->setValue(QLatin1String(AppSettings::kWandToleranceKey), options.tolerance);
        settings->setValue(QLatin1String(AppSettings::kWandContiguousKey), options.contiguous);
        settings->setValue(QLatin1String(AppSettings::kWandMinSpeckKey), options.minSpeck);
    });
    m_pMainFrame->SetTemplatesDropped([this](const QStringList& paths) {
        // One that cannot be read has said so; the others still open.
        for (const QString& path : paths)
            OpenInNewWindow(path);
    });
    m_pMainFrame->SetCloseQuery([this] {
        if (!SaveAllModified())
            return false;
        for (CDocumentTarget* doc : QList<CDocumentTarget*>(m_documents))
            doc->CloseDocument(false);
        return true;
    });
    if (auto* dialogs = dynamic_cast<CQtPrompts*>(m_pPrompts))
        dialogs->SetParent(m_pMainFrame.get());

    // Qt takes its own options out of the arguments; each of the rest that
    // is not an option names a template to open, in its own window, as a
    // file manager hands over several files at once. One that cannot be read
    // has said so; the editor starts when any of them opened.
    QStringList files;
    for (const QString& argument : arguments)
        if (!argument.startsWith(QLatin1Char('-')))
            files << argument;
    bool started = files.isEmpty() && OnFileNew() != nullptr;
    for (const QString& file : files)
        started = OpenDocumentFile(file) != nullptr || started;
    if (!started)
        return false;

    // Cover the screen first: without a window manager (a bare X server)
    // the maximise request alone changes nothing.
    if (const QScreen* screen = m_pMainFrame->screen())
        m_pMainFrame->setGeometry(screen->availableGeometry());
    m_pMainFrame->showMaximized();
    // The template windows share out the workspace once the main window has
    // its size.
    QTimer::singleShot(0, m_pMainFrame.get(), [frame = m_pMainFrame.get()] { frame->ArrangeStartWindows(); });
    m_pMainFrame->UpdateCommandUI();
    return true;
}

void CTilemontApp::ReadSettings()
{
    const auto settings = m_settingsFactory();
    m_settings.Read(*settings);
    m_recent.ReadList(*settings);
}

void CTilemontApp::FillInFolders()
{
    struct Folder
    {
        QString& path;
        const char* name;
    };
    const Folder folders[] = {
        {m_settings.strTemplatesFolder, "templates"},
        {m_settings.strTexturesFolder, "textures"},
        {m_settings.strLithavensFolder, "lithavens"},
        {m_settings.strExportFolder, "export"},
    };
    QString base;
    for (const Folder& folder : folders) {
        if (folder.path.isEmpty()) {
            if (base.isEmpty())
                base = WorkingBase(m_strStartFolder);
            folder.path = DefaultFolder(base, folder.name);
        }
        folder.path = FolderCase::Normalise(folder.path);
        // One level only; a folder that exists already or cannot be made is
        // left to the file operations that use it later.
        QDir().mkdir(folder.path);
    }
}

int CTilemontApp::ExitInstance()
{
    const auto settings = m_settingsFactory();
    m_settings.Write(*settings);
    m_recent.WriteList(*settings);
    settings->sync();
    return settings->status() == QSettings::NoError ? 0 : 1;
}

CDocumentTarget* CTilemontApp::CreateDocument()
{
    auto* doc = new CDocumentTarget(*m_pPrompts, m_pMainFrame.get(), this);
    connect(doc, &CDocumentTarget::lastFrameClosed, this, &CTilemontApp::OnLastFrameClosed);
    // A template saved under a new name heads the recent files, as one opened does.
    connect(doc, &CDocumentTarget::savedAs, this, [this](const QString& path) { m_recent.Add(path); });
    doc->SetExporter([this](CTilemontDoc& template_) {
        CExportSession session(*m_pPrompts, GetExportFolder(), m_pMainFrame.get());
        if (m_exportDialogRunner)
            session.SetDialogRunner(m_exportDialogRunner);
        session.SetKeepShading(m_pMainFrame->IsKeepShading());
        session.SetRememberedChoices(&m_exportChoices);
        if (session.Run(template_) == CExportSession::Outcome::Written)
            m_pMainFrame->StatusBar()->showMessage(session.WrittenMessage(), kExportStatusMs);
    });
    doc->SetGroupRenderer([this](const CTilemontDoc& template_) {
        CRenderGroupSession session(*m_pPrompts, m_settings.strTexturesFolder, GetExportFolder(), m_pMainFrame.get());
        if (m_renderGroupDialogRunner)
            session.SetDialogRunner(m_renderGroupDialogRunner);
        session.SetKeepShading(m_pMainFrame->IsKeepShading());
        session.Run(template_);
    });
    m_documents << doc;
    return doc;
}

void CTilemontApp::OnLastFrameClosed(CDocumentTarget* doc)
{
    m_documents.removeOne(doc);
    // The frame that reported this is still being destroyed.
    doc->deleteLater();
}

CDocumentTarget* CTilemontApp::OnFileNew()
{
    CDocumentTarget* doc = CreateDocument();
    // New templates are named Tilem1, Tilem2, ...
    doc->Doc().SetTitle(tr("Tilem%1").arg(++m_nUntitledCount));
    m_pMainFrame->CreateChildFrame(*doc);
    return doc;
}

CDocumentTarget* CTilemontApp::OnFileOpen()
{
    const auto path = m_pPrompts->AskOpenFileName(Messages::kTemplateFilter, QString());
    return path ? OpenInNewWindow(*path) : nullptr;
}

CDocumentTarget* CTilemontApp::OpenInNewWindow(const QString& path, bool emptyFileIsNew)
{
    CDocumentTarget* doc = CreateDocument();
    if (!doc->Doc().OnOpenDocument(path, emptyFileIsNew)) {
        m_documents.removeOne(doc);
        delete doc;
        return nullptr;
    }
    m_pMainFrame->CreateChildFrame(*doc);
    m_recent.Add(path);
    m_pMainFrame->UpdateCommandUI();
    return doc;
}

CDocumentTarget* CTilemontApp::FindOpenDocument(const QString& path) const
{
    const QString wanted = QFileInfo(path).absoluteFilePath();
    const auto cs = FolderCase::FileSystemIgnoresCase(wanted) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (CDocumentTarget* doc : m_documents) {
        const QString open = doc->Doc().GetPathName();
        if (!open.isEmpty() && QFileInfo(open).absoluteFilePath().compare(wanted, cs) == 0 &&
            !doc->OpenFrames().empty())
            return doc;
    }
    return nullptr;
}

CDocumentTarget* CTilemontApp::OpenDocumentFile(const QString& path)
{
    if (CDocumentTarget* open = FindOpenDocument(path)) {
        CChildFrame* frame = open->OpenFrames().front();
        m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
        m_recent.Add(path);
        return open;
    }
    // Named on the command line or dropped, an empty file is a new template.
    return OpenInNewWindow(path, true);
}

bool CTilemontApp::SaveAllModified()
{
    QList<CDocumentTarget*> modified;
    for (CDocumentTarget* doc : QList<CDocumentTarget*>(m_documents))
        if (doc->Doc().IsModified())
            modified.append(doc);
    if (modified.size() < 2)
        return modified.isEmpty() || modified.front()->SaveModified();
    // One question for them all, not one per template.
    QStringList names;
    for (CDocumentTarget* doc : modified)
        names.append(doc->Doc().ShownName());
    switch (m_pPrompts->AskSaveAll(Messages::kSaveAllChanges.arg(names.join(QLatin1Char('\n'))))) {
    case IDocumentPrompts::Answer::Cancel:
        return false;
    case IDocumentPrompts::Answer::No:
        return true;
    case IDocumentPrompts::Answer::Yes:
        break;
    }
    // A cancelled or failed save keeps the editor open with the rest unsaved.
    for (CDocumentTarget* doc : modified)
        if (!doc->SaveNow())
            return false;
    return true;
}

void CTilemontApp::OnAppAbout()
{
    CAboutDlg dialog(m_pMainFrame.get());
    dialog.exec();
}

void CTilemontApp::OnAppExit()
{
    m_pMainFrame->close();
}

bool CTilemontApp::HandlesCommand(int id) const
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_APP_ABOUT:
    case ID_APP_EXIT:
        return true;
    default:
        return id >= ID_FILE_MRU_FIRST && id < ID_FILE_MRU_FIRST + m_recent.GetSize();
    }
}

CCommandState CTilemontApp::CommandState(int id) const
{
    if (id >= ID_FILE_MRU_FIRST && id <= ID_FILE_MRU_LAST)
        return {id - ID_FILE_MRU_FIRST < m_recent.GetCount(), false};
    return {true, false};
}

void CTilemontApp::OnCommand(int id)
{
    switch (id) {
    case ID_FILE_NEW: OnFileNew(); return;
    case ID_FILE_OPEN: OnFileOpen(); return;
    case ID_APP_ABOUT: OnAppAbout(); return;
    case ID_APP_EXIT: OnAppExit(); return;
    }
    const int index = id - ID_FILE_MRU_FIRST;
    const QString path = m_recent.GetAt(index);
    // An entry that no longer opens leaves the list, as it would never work.
    if (!path.isEmpty() && !OpenDocumentFile(path))
        m_recent.Remove(index);
}
