#include "ChildFrame.h"

#include "DocumentTarget.h"
#include "HelpLauncher.h"
#include "ResourceIds.h"
#include "view/TilemontView.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

CChildFrame::CChildFrame(CDocumentTarget& doc, CTilemontView* view, CHelpLauncher& help, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc), m_pView(view), m_help(help)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    m_doc.Doc().AddView(view);
    m_doc.AttachFrame(this);
}

CChildFrame::~CChildFrame()
{
    // The view goes first: it must not outlive its place in the document.
    m_doc.Doc().RemoveView(m_pView);
    delete m_pView;
    m_pView = nullptr;
    m_doc.DetachFrame(this);
}

bool CChildFrame::HandlesCommand(int id) const
{
    return id == ID_HELP_CONTENTS || id == ID_FILE_PRINT || id == ID_FILE_PRINT_DIRECT ||
           id == ID_FILE_PRINT_PREVIEW;
}

CCommandState CChildFrame::CommandState(int) const
{
    return CCommandState{true, false};
}

void CChildFrame::OnCommand(int id)
{
    switch (id) {
    case ID_HELP_CONTENTS: m_help.Open(); break;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT: OnFilePrint(); break;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); break;
    }
}

void CChildFrame::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_doc.Doc().GetTitle());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    m_pView->PaintForPrint(painter);
}

void CChildFrame::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_doc.Doc().GetTitle());
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        QPainter painter(target);
        m_pView->PaintForPrint(painter);
    });
    dialog.exec();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_bClosed) {
        event->accept();
        return;
    }
    const bool lastWindow = m_doc.OpenFrames().size() <= 1;
    if (lastWindow && !m_doc.IsClosing() && !m_doc.Doc().SaveModified()) {
        event->ignore();
        return;
    }
    m_bClosed = true;
    QMdiSubWindow::closeEvent(event);
}
