#include "ChildFrame.h"

#include "DocumentTarget.h"
#include "HelpLauncher.h"
#include "ResourceIds.h"
#include "export/PrintLayout.h"
#include "export/TemplatePrint.h"
#include "view/TilemontView.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

CChildFrame::CChildFrame(CDocumentTarget& doc, CTilemontView* view, CHelpLauncher& help, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc), m_pView(view), m_help(help)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    // The window menu's own keys (its Close takes the standard Close key)
    // would make the editor's File > Close key ambiguous, so that neither
    // runs: the editor's commands keep the keys.
    if (QMenu* menu = systemMenu())
        for (QAction* action : menu->actions())
            action->setShortcuts({});
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
           id == ID_FILE_PRINT_PREVIEW || id == ID_EDIT_COPY || id == ID_EDIT_PASTE;
}

CCommandState CChildFrame::CommandState(int id) const
{
    if (id == ID_HELP_CONTENTS)
        return CCommandState{true, false};
    if (id == ID_EDIT_PASTE) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return CCommandState{data && data->hasImage(), false};
    }
    // A template without a picture has nothing to print.
    const QImage* picture = m_doc.Doc().GetPicture();
    return CCommandState{picture && !picture->isNull(), false};
}

void CChildFrame::OnCommand(int id)
{
    switch (id) {
    case ID_HELP_CONTENTS: m_help.Open(); break;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT: OnFilePrint(); break;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); break;
    case ID_EDIT_COPY: OnEditCopy(); break;
    case ID_EDIT_PASTE: OnEditPaste(); break;
    }
}

void CChildFrame::OnEditCopy()
{
    // What the export writes at the picture's own size and what printing
    // prints: no selection, no handles.
    const CTemplatePrint composed(m_doc.Doc().Snapshot(), m_pView->IsKeepShading());
    if (!composed.IsNull())
        QGuiApplication::clipboard()->setImage(composed.Composed());
}

void CChildFrame::OnEditPaste()
{
    m_doc.Doc().OfferPicture(CStoredImage(QGuiApplication::clipboard()->image()), tr("the picture on the Clipboard"));
}

void CChildFrame::PreparePrinter(QPrinter& printer) const
{
    printer.setDocName(m_doc.Doc().GetTitle());
    if (const QImage* picture = m_doc.Doc().GetPicture())
        printer.setPageOrientation(CPrintLayout::OrientationFor(QSizeF(picture->size())));
}

bool CChildFrame::PrintTo(QPrinter& printer) const
{
    // What was last saved or opened, as the export takes it, so that a
    // print and an export of the same template agree.
    const CTemplatePrint print(m_doc.Doc().Snapshot(), m_pView->IsKeepShading());
    if (print.IsNull())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the printable area's corner.
    const QRectF printable(QPointF(0, 0), QSizeF(printer.pageLayout().paintRectPixels(printer.resolution()).size()));
    const bool painted = !print.Paint(painter, printable).isEmpty();
    return painter.end() && painted;
}

void CChildFrame::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintTo(printer);
}

void CChildFrame::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { PrintTo(*target); });
    dialog.exec();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_bClosed) {
        event->accept();
        return;
    }
    const bool lastWindow = m_doc.OpenFrames().size() <= 1;
    if (lastWindow && !m_doc.IsClosing() && !m_doc.SaveModified()) {
        event->ignore();
        return;
    }
    m_bClosed = true;
    QMdiSubWindow::closeEvent(event);
}
