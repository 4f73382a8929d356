#pragma once

#include "AppSettings.h"
#include "export/ui/ExportChoices.h"
#include "view/CommandTarget.h"
#include "RecentFileList.h"

#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>
#include <functional>
#include <memory>

class CDocumentTarget;
class CExportDlg;
class CRenderGroupDlg;
class CMainFrame;
class IDocumentPrompts;

// The application: reads the settings and makes the working folders at
// start, creates the main window, carries out the command line, and answers
// "New", "Open...", the recent files, "About" and "Exit". Writes the
// settings back at exit.
class CTilemontApp : public QObject, public ICommandTarget
{
    Q_OBJECT

public:
    using SettingsFactory = std::function<std::unique_ptr<QSettings>()>;

    static const QString kMakerName;
    static const QString kAppName;

    // prompts answers every question (dialogs when null); settings opens the
    // settings store (the per-user store of kMakerName/kAppName when empty).
    explicit CTilemontApp(IDocumentPrompts* prompts = nullptr, SettingsFactory settings = {});
    ~CTilemontApp() override;

    // Start-up; false ends the program (the user was already told why).
    bool InitInstance(const QStringList& arguments);
    // Writes the settings and the recent files back; returns the exit code.
    int ExitInstance();

    const AppSettings& Settings() const { return m_settings; }
    QString GetTemplatesFolder() const { return m_settings.strTemplatesFolder; }
    QString GetTexturesFolder() const { return m_settings.strTexturesFolder; }
    QString GetLithavensFolder() const { return m_settings.strLithavensFolder; }
    QString GetExportFolder() const { return m_settings.strExportFolder; }
    // The folder the process was started in.
    QString GetStartFolder() const { return m_strStartFolder; }

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    const QList<CDocumentTarget*>& Documents() const { return m_documents; }
    CRecentFileList& RecentFiles() { return m_recent; }
    IDocumentPrompts& Prompts() const { return *m_pPrompts; }

    // "New": an empty template named Tilem1, Tilem2, ... in a new window.
    CDocumentTarget* OnFileNew();
    // "Open...": always a new window, even on a file that is open already.
    CDocumentTarget* OnFileOpen();
    // What "Open..." does once it has the path; also for dropped templates.
    // An empty file opens as a new template only when emptyFileIsNew.
    CDocumentTarget* OpenInNewWindow(const QString& path, bool emptyFileIsNew = false);
    // Opening a named file the standard way (command line, recent files): a
    // file that is open already gets its window activated instead.
    CDocumentTarget* OpenDocumentFile(const QString& path);
    // Asks about every modified document; false when the user kept one.
    bool SaveAllModified();
    void OnAppAbout();
    void OnAppExit();

    // Replaces the Export dialog's modal run (tests fill it in themselves).
    void SetExportDialogRunner(std::function<bool(CExportDlg&)> runner) { m_exportDialogRunner = std::move(runner); }
    void SetRenderGroupDialogRunner(std::function<bool(CRenderGroupDlg&)> runner)
    {
        m_renderGroupDialogRunner = std::move(runner);
    }

    bool HandlesCommand(int id) const override;
    CCommandState CommandState(int id) const override;
    void OnCommand(int id) override;

private:
    void ReadSettings();
    void FillInFolders();
    CDocumentTarget* CreateDocument();
    void OnLastFrameClosed(CDocumentTarget* doc);
    CDocumentTarget* FindOpenDocument(const QString& path) const;

    SettingsFactory m_settingsFactory;
    std::function<bool(CExportDlg&)> m_exportDialogRunner;
    std::function<bool(CRenderGroupDlg&)> m_renderGroupDialogRunner;
    // The Export dialog's last format and options, for this run only.
    CExportChoices m_exportChoices;
    std::unique_ptr<IDocumentPrompts> m_pOwnPrompts;
    IDocumentPrompts* m_pPrompts;
    AppSettings m_settings;
    CRecentFileList m_recent;
    // The listener that keeps the wand's options in the settings; 0 for none.
    int m_wandListener = 0;
    QString m_strStartFolder;
    int m_nUntitledCount = 0;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    QList<CDocumentTarget*> m_documents;
};
