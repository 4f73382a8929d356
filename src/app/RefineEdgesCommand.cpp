#include "RefineEdgesCommand.h"

#include "RefineEdgesDlg.h"
#include "analysis/EdgeRefiner.h"
#include "analysis/MaskOutline.h"
#include "controls/WorkerProgress.h"
#include "document/TilemontDoc.h"
#include "geometry/Polygon.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

bool CRefineEdgesCommand::CanRun(const CTilemontDoc& doc)
{
    return doc.GetPicture() && !doc.GetSelection().IsEmpty();
}

CRegionMask CRefineEdgesCommand::Pixels(const CPolygon& selection, QSize size)
{
    QImage image(size, QImage::Format_Grayscale8);
    image.fill(0);
    QPainterPath path;
    PolygonToPath(selection, path);
    path.setFillRule(Qt::OddEvenFill);
    QPainter painter(&image);
    painter.fillPath(path, Qt::white);
    painter.end();
    CRegionMask mask(size.width(), size.height());
    for (int y = 0; y < mask.height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < mask.width; ++x)
            mask.Row(y)[x] = row[x] ? 1 : 0;
    }
    return mask;
}

bool CRefineEdgesCommand::Run(CTilemontDoc& doc, QWidget* parent)
{
    if (!CanRun(doc))
        return false;
    static int band = CEdgeRefiner::kDefaultBand;  // the last width asked, for the next time
    CRefineEdgesDlg dlg(band, parent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    band = dlg.Band();
    return Run(doc, band, parent);
}

bool CRefineEdgesCommand::Run(CTilemontDoc& doc, int band, QWidget* parent)
{
    if (!CanRun(doc))
        return false;
    const QImage picture = *doc.GetPicture();
    const CRegionMask drawn = Pixels(doc.GetSelection().GetPolygon(), picture.size());
    CWorkerProgress::Window window;
    window.title = QCoreApplication::translate("CRefineEdgesCommand", "Refine Edges");
    window.label = QCoreApplication::translate("CRefineEdgesCommand", "Snapping the selection to the picture's edges...");
    window.maximum = 0;
    CWorkerProgress progress(window, parent);
    std::optional<CRegionMask> refined;
    progress.Run([&] { refined = CEdgeRefiner::Refine(picture, drawn, band, &progress.CancelFlag()); });
    if (progress.IsCancelled() || !refined)
        return false;
    doc.CommitSelectionPolygon(MaskOutline(*refined), false, false);
    return true;
}
