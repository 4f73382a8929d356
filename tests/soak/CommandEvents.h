#pragma once

#include <QString>

class CExportDlg;
class CSoakContext;

// The user at the menus: the Template commands, undo and redo, windows
// opened, closed, arranged and brought forward, templates made, opened and
// saved, the View menu's bars and panel, and File > Export... through its
// dialog. Questions are answered by the walk's prompts. Each returns what it
// did.
class CCommandEvents
{
public:
    // Windows the walk keeps open at most, and templates.
    static constexpr int kMaxWindows = 5;
    static constexpr int kMaxTemplates = 3;

    explicit CCommandEvents(CSoakContext& context);

    QString SelectPicture();
    QString CreateArea();
    QString ChangeAreaBySelection();
    QString DeleteArea();
    QString ClearSelection();
    QString Undo();
    QString Redo();
    QString NewWindow();
    QString CloseWindow();
    QString ActivateWindow();
    QString ArrangeWindows();
    QString NewOrOpenTemplate();
    QString Save();
    QString ToggleViewItem();
    QString Export();

    // The Export dialog as the user fills it in, sometimes wrongly: true
    // for OK once its checks pass, false for Cancel.
    bool RunExportDialog(CExportDlg& dialog);

private:
    QString Run(int id, const QString& what);
    QString MoveInHistory(int id, const char* what);
    void FillExportDialog(CExportDlg& dialog);

    CSoakContext& m_c;
    // How often the dialog came up in this export.
    int m_nDialogRuns = 0;
    int m_nExports = 0;
};
