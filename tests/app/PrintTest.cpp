#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "codecs/EncoderRegistry.h"
#include "document/TestImages.h"
#include "export/ExportRun.h"
#include "export/PrintLayout.h"
#include "export/TemplatePrint.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <cmath>

namespace {

// A 300 x 150 room: a grey picture whose back wall (the upper band) is laid
// with a red and yellow checker, the texture the print once showed black.
QString WriteRoom(const QString& path)
{
    QImage picture(300, 150, QImage::Format_RGB32);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 300; ++x)
            picture.setPixel(x, y, qRgb(60 + x / 3, 90, 140 - y / 2));
    QImage texture(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            texture.setPixel(x, y, (x < 20) == (y < 20) ? qRgb(220, 40, 30) : qRgb(240, 220, 40));
    return WriteOneAreaTemplate(path, picture, QStringLiteral("Back wall"), RectPolygon(30, 10, 270, 90), texture);
}

// How far an image of the page shows the export inside cell: the mean of
// the largest channel difference, and the share of pixels off by over 40.
std::pair<double, double> Difference(const QImage& page, const QRect& cell, const QImage& exported)
{
    double sum = 0.0;
    int far = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x) {
            const QRgb a = page.pixel(cell.x() + x, cell.y() + y);
            const QRgb b = exported.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))});
            sum += d;
            far += d > 40;
        }
    const double pixels = double(cell.width()) * cell.height();
    return {sum / pixels, far / pixels};
}

TEST(PrintLayoutTest, FitsCentredKeepingAspectAndRefusesNonsense)
{
    // Wider than the page: full width, centred vertically.
    EXPECT_EQ(CPrintLayout::Fit(QSizeF(400, 100), QRectF(10, 20, 200, 200)), QRectF(10, 95, 200, 50));
    // Taller than the page: full height, centred horizontally.
    EXPECT_EQ(CPrintLayout::Fit(QSizeF(50, 100), QRectF(0, 0, 300, 200)), QRectF(100, 0, 100, 200));
    // A tiny picture is enlarged to the page, not left small in a corner.
    EXPECT_EQ(CPrintLayout::Fit(QSizeF(3, 2), QRectF(0, 0, 600, 600)), QRectF(0, 100, 600, 400));
    for (const QSizeF bad : {QSizeF(0, 10), QSizeF(-5, 10), QSizeF(NAN, 10), QSizeF(INFINITY, 10)}) {
        EXPECT_TRUE(CPrintLayout::Fit(bad, QRectF(0, 0, 100, 100)).isEmpty());
        EXPECT_TRUE(CPrintLayout::Fit(QSizeF(10, 10), QRectF(QPointF(0, 0), bad)).isEmpty());
        EXPECT_EQ(CPrintLayout::OrientationFor(bad), QPageLayout::Portrait);
    }
    EXPECT_EQ(CPrintLayout::OrientationFor(QSizeF(301, 300)), QPageLayout::Landscape);
    EXPECT_EQ(CPrintLayout::OrientationFor(QSizeF(300, 300)), QPageLayout::Portrait);
}

TEST_F(AppTest, PrintIsTheExportFittedToALandscapePage)
{
    ASSERT_TRUE(Start({WriteRoom(TempPath(QStringLiteral("room.tlm")))}));
    EXPECT_TRUE(Action(ID_FILE_PRINT)->isEnabled());
    EXPECT_TRUE(Action(ID_FILE_PRINT_PREVIEW)->isEnabled());
    CChildFrame* child = Frame().ActiveChild();

    // The PDF: one landscape A4 page.
    const QString pdfPath = TempPath(QStringLiteral("room.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setPageSize(QPageSize(QPageSize::A4));
    child->PreparePrinter(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    ASSERT_TRUE(child->PrintTo(printer));
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    const auto box = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                         .match(QString::fromLatin1(bytes));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), 842, 1);
    EXPECT_NEAR(box.captured(2).toDouble(), 595, 1);

    // The same page painted into an image by the same code, at 72 dpi.
    const QRect printable = printer.pageLayout().paintRectPoints();
    QImage page(printable.size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const QRectF placed =
        CTemplatePrint(ActiveDoc().Snapshot(), false).Paint(painter, QRectF(QPointF(0, 0), printable.size()));
    painter.end();
    // Full width, half as tall, centred.
    EXPECT_NEAR(placed.width(), printable.width(), 0.01);
    EXPECT_NEAR(placed.height(), printable.width() / 2.0, 0.01);
    EXPECT_NEAR(placed.center().y(), printable.height() / 2.0, 0.01);
    EXPECT_EQ(page.pixel(printable.width() / 2, 2), qRgb(255, 255, 255));

    // Against the export at the size the page shows it.
    const QRect cell = placed.toAlignedRect().intersected(page.rect());
    CExportRequest request;
    request.width = cell.width();
    request.height = cell.height();
    request.fileName = TempPath(QStringLiteral("room.png"));
    ASSERT_GE(GetEncoderClsid(QStringLiteral("image/png"), &request.encoder), 0);
    const CTemplateSnapshot snapshot = ActiveDoc().Snapshot();
    QString error;
    ASSERT_TRUE(ExportRun(*snapshot.picture, snapshot.areas, request, &error)) << error.toStdString();
    const QImage exported(request.fileName);
    ASSERT_EQ(exported.size(), cell.size());
    // Scaling filters differ only along the checker's edges.
    const auto [mean, farShare] = Difference(page, cell, exported);
    EXPECT_LT(mean, 4.0);
    EXPECT_LT(farShare, 0.02);

    // The PDF itself, rasterised at 72 dpi by an independent reader: the
    // export sits where the layout put it, past the page's margins.
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                               QStringLiteral("-singlefile"), pdfPath, TempPath(QStringLiteral("page"))});
    ASSERT_TRUE(raster.waitForFinished(60000)) << "pdftoppm (poppler-utils) is needed";
    ASSERT_EQ(raster.exitCode(), 0) << raster.readAllStandardError().toStdString();
    const QImage rasterised(TempPath(QStringLiteral("page.png")));
    ASSERT_EQ(rasterised.size(), QSize(842, 595));
    const auto [pdfMean, pdfFarShare] =
        Difference(rasterised.convertToFormat(QImage::Format_RGB32), cell.translated(printable.topLeft()), exported);
    EXPECT_LT(pdfMean, 6.0);
    EXPECT_LT(pdfFarShare, 0.04);
    // The wall's texture is there, in colour.
    const QRgb wall = page.pixel(placed.toRect().center().x(), int(placed.top() + placed.height() * 0.3));
    EXPECT_GT(qRed(wall), 150);
}

} // namespace
