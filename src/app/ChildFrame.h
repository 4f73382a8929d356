#pragma once

#include "view/CommandTarget.h"

#include <QMdiSubWindow>

class CDocumentTarget;
class CHelpLauncher;
class CTilemontView;
class QPrinter;

// One template window inside the main window: hosts one view of a document.
// Answers "Help..." (so it is there only while a template window is open),
// printing and Copy, which take what the export composes, and Paste.
class CChildFrame : public QMdiSubWindow, public ICommandTarget
{
    Q_OBJECT

public:
    // Takes ownership of view.
    CChildFrame(CDocumentTarget& doc, CTilemontView* view, CHelpLauncher& help, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CDocumentTarget& Document() const { return m_doc; }
    CTilemontView* View() const { return m_pView; }
    // True once the window was closed; it is deleted a little later.
    bool IsClosed() const { return m_bClosed; }

    bool HandlesCommand(int id) const override;
    CCommandState CommandState(int id) const override;
    void OnCommand(int id) override;

    // Names the job and turns the page to the picture's orientation.
    void PreparePrinter(QPrinter& printer) const;
    // Prints the saved template on printer; false when there is no picture
    // or the printer could not be started.
    bool PrintTo(QPrinter& printer) const;
    void OnFilePrint();
    void OnFilePrintPreview();
    // "Copy": the template composed as exported, at the picture's size, onto
    // the Clipboard. "Paste": the Clipboard's picture offered as the
    // template's picture.
    void OnEditCopy();
    void OnEditPaste();

protected:
    // Closing the last window on a modified document asks to save it first.
    void closeEvent(QCloseEvent* event) override;

private:
    CDocumentTarget& m_doc;
    CTilemontView* m_pView;
    CHelpLauncher& m_help;
    bool m_bClosed = false;
};
