#include "CommandEvents.h"

#include "SoakContext.h"
#include "app/ChildFrame.h"
#include "app/DocumentTarget.h"
#include "app/MainFrame.h"
#include "app/ResourceIds.h"
#include "app/TilemontApp.h"
#include "controls/FileBrowseEdit.h"
#include "export/ui/ExportDlg.h"
#include "export/ui/JpegOptionsPage.h"
#include "export/ui/TiffOptionsPage.h"
#include "view/TilemontView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QScopedValueRollback>
#include <QTest>

namespace {

// Types into a field as a user would: everything selected, then the keys.
void Type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void PickEntry(CSoakRandom& random, QComboBox* list)
{
    if (list->count() > 0)
        list->setCurrentIndex(random.Int(0, list->count() - 1));
}

} // namespace

CCommandEvents::CCommandEvents(CSoakContext& context) : m_c(context)
{
}

QString CCommandEvents::Run(int id, const QString& what)
{
    return m_c.Trigger(id) ? what : what + QStringLiteral(" (disabled)");
}

QString CCommandEvents::SelectPicture()
{
    return Run(ID_SELECT_PICTURE, QStringLiteral("Select picture"));
}

QString CCommandEvents::CreateArea()
{
    return Run(ID_CREATE_AREA, QStringLiteral("Create area"));
}

QString CCommandEvents::ChangeAreaBySelection()
{
    return m_c.random.Chance(0.6) ? Run(ID_ADD_SELECTION_TO_AREA, QStringLiteral("Add selection to area"))
                                  : Run(ID_DELETE_SELECTION_FROM_AREA, QStringLiteral("Delete selection from area"));
}

QString CCommandEvents::DeleteArea()
{
    return Run(ID_DELETE_AREA, QStringLiteral("Delete area"));
}

QString CCommandEvents::ClearSelection()
{
    return Run(ID_CLEAR_SELECTION, QStringLiteral("Clear selection"));
}

QString CCommandEvents::MoveInHistory(int id, const char* what)
{
    const int times = m_c.random.Chance(0.7) ? 1 : m_c.random.Int(2, 15);
    const QScopedValueRollback moving(m_c.historyMoves, true);
    int done = 0;
    while (done < times && m_c.Trigger(id))
        ++done;
    return QStringLiteral("%1 x%2 of %3").arg(QLatin1String(what)).arg(done).arg(times);
}

QString CCommandEvents::Undo()
{
    return MoveInHistory(ID_EDIT_UNDO, "Undo");
}

QString CCommandEvents::Redo()
{
    return MoveInHistory(ID_EDIT_REDO, "Redo");
}

QString CCommandEvents::NewWindow()
{
    if (m_c.Frame().ChildFrames().size() >= kMaxWindows)
        return QStringLiteral("New Window (enough windows)");
    return Run(ID_WINDOW_NEW, QStringLiteral("New Window"));
}

QString CCommandEvents::CloseWindow()
{
    QList<CChildFrame*> closable;
    for (CChildFrame* frame : m_c.Frame().ChildFrames()) {
        CDocumentTarget& doc = frame->Document();
        if (&doc != m_c.mainDocument || doc.OpenFrames().size() > 1)
            closable << frame;
    }
    if (closable.isEmpty())
        return QStringLiteral("close: only the walk's own template window is open");
    CChildFrame* frame = m_c.random.Pick(closable);
    const QString title = frame->windowTitle();
    if (&frame->Document() != m_c.mainDocument && m_c.random.Chance(0.3)) {
        m_c.Frame().MdiArea()->setActiveSubWindow(frame);
        const QString what = Run(ID_FILE_CLOSE, QStringLiteral("File > Close on ") + title);
        m_c.Settle();
        return what;
    }
    frame->close();
    m_c.Settle();
    return QStringLiteral("closed window ") + title;
}

QString CCommandEvents::ActivateWindow()
{
    const QList<CChildFrame*> frames = m_c.Frame().ChildFrames();
    if (frames.isEmpty())
        return QStringLiteral("no window to bring forward");
    CChildFrame* frame = m_c.random.Pick(frames);
    m_c.Frame().MdiArea()->setActiveSubWindow(frame);
    // A click into the window gives its view the keyboard.
    if (m_c.random.Chance(0.7))
        frame->View()->setFocus(Qt::MouseFocusReason);
    return QStringLiteral("window ") + frame->windowTitle() + QStringLiteral(" in front");
}

QString CCommandEvents::ArrangeWindows()
{
    CChildFrame* child = m_c.Child();
    switch (m_c.random.Int(0, 3)) {
    case 0: return Run(ID_WINDOW_CASCADE, QStringLiteral("Cascade"));
    case 1: return Run(ID_WINDOW_TILE_HORZ, QStringLiteral("Tile"));
    case 2:
        if (child)
            child->showMaximized();
        return QStringLiteral("window maximised");
    default:
        if (child)
            child->showNormal();
        return QStringLiteral("window restored");
    }
}

QString CCommandEvents::NewOrOpenTemplate()
{
    if (m_c.app.Documents().size() >= kMaxTemplates)
        return QStringLiteral("new template (enough templates)");
    switch (m_c.random.Int(0, 2)) {
    case 0: return Run(ID_FILE_NEW, QStringLiteral("File > New"));
    case 1: return Run(ID_FILE_OPEN, QStringLiteral("File > Open..."));
    default: return Run(ID_FILE_MRU_FIRST, QStringLiteral("File > recent file 1"));
    }
}

QString CCommandEvents::Save()
{
    return m_c.random.Chance(0.5) ? Run(ID_FILE_SAVE, QStringLiteral("File > Save"))
                                  : Run(ID_FILE_SAVE_AS, QStringLiteral("File > Save As..."));
}

QString CCommandEvents::ToggleViewItem()
{
    // Each gives the windows a new size.
    switch (m_c.random.Int(0, 5)) {
    case 0: return Run(ID_VIEW_TOOLBAR, QStringLiteral("View > Toolbar"));
    case 1: return Run(ID_VIEW_STATUS_BAR, QStringLiteral("View > Status Bar"));
    case 2: return Run(ID_VIEW_BANNER, QStringLiteral("View > Banner"));
    default: return Run(ID_VIEW_AREAS, QStringLiteral("View > Areas"));
    }
}

QString CCommandEvents::Export()
{
    m_nDialogRuns = 0;
    const QString what = Run(ID_EXPORT, QStringLiteral("File > Export..."));
    return what + QStringLiteral(", dialog shown %1 times").arg(m_nDialogRuns);
}

bool CCommandEvents::RunExportDialog(CExportDlg& dialog)
{
    // A failed export brings the dialog back; the user gives up in the end.
    if (++m_nDialogRuns > 3 || m_c.random.Chance(0.15))
        return false;
    for (int attempt = 0; attempt < 3; ++attempt) {
        FillExportDialog(dialog);
        if (dialog.TryAccept())
            return true;
    }
    return false;
}

void CCommandEvents::FillExportDialog(CExportDlg& d)
{
    PickEntry(m_c.random, d.FormatList());
    switch (m_c.random.Int(0, 9)) {
    case 6: Type(d.WidthEdit(), QStringLiteral("0")); break;
    case 7: {
        static const QStringList junk = {QString(), QStringLiteral("abc"), QStringLiteral("-5"),
                                         QStringLiteral("12x")};
        Type(m_c.random.Chance(0.5) ? d.WidthEdit() : d.HeightEdit(), m_c.random.Pick(junk));
        break;
    }
    case 8:
        // Past the export limit either way.
        if (d.KeepAspectBox()->isChecked())
            QTest::mouseClick(d.KeepAspectBox(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
        Type(d.WidthEdit(), QStringLiteral("30000"));
        Type(d.HeightEdit(), QStringLiteral("30000"));
        break;
    case 9: break; // the picture's own size
    default:
        // Small, to keep the walk quick.
        if (m_c.random.Chance(0.3))
            QTest::mouseClick(d.KeepAspectBox(), Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
        Type(d.WidthEdit(), QString::number(m_c.random.Int(1, 96)));
        if (m_c.random.Chance(0.4))
            Type(d.HeightEdit(), QString::number(m_c.random.Int(1, 96)));
        break;
    }
    if (d.CurrentPage() == d.JpegPage()) {
        static const QStringList qualities = {QStringLiteral("85"), QStringLiteral("100"), QStringLiteral("0"),
                                              QStringLiteral("101"), QStringLiteral("-3"), QStringLiteral("x"),
                                              QString()};
        Type(d.JpegPage()->QualityEdit(), m_c.random.Pick(qualities));
        PickEntry(m_c.random, d.JpegPage()->TransformationList());
    } else if (d.CurrentPage() == d.TiffPage()) {
        PickEntry(m_c.random, d.TiffPage()->CompressionList());
        PickEntry(m_c.random, d.TiffPage()->ColorDepthList());
    }
    const QString extension = d.FileNameEdit()->text().section(u'.', -1);
    switch (m_c.random.Int(0, 9)) {
    case 7:
        d.FileNameEdit()->setText(QDir(m_c.files.missingFolder).filePath(QStringLiteral("lost.") + extension));
        break;
    case 8: d.FileNameEdit()->setText(QString()); break;
    case 9: break; // the default name
    default: d.FileNameEdit()->setText(QStringLiteral("walk%1.%2").arg(++m_nExports).arg(extension)); break;
    }
}
