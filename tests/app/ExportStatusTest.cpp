#include "AppTestSupport.h"
#include "app/ResourceIds.h"
#include "app/StatusBar.h"
#include "controls/FileBrowseEdit.h"
#include "export/ui/ExportDlg.h"

#include <QComboBox>
#include <QImageReader>

namespace {

// Template > "Export...": the status bar says what was written and how
// big, and the next export starts with the format the user chose last.
TEST_F(AppTest, AnExportIsAnnouncedInTheStatusBarAndTheNextStartsWithItsFormat)
{
    QImage picture(50, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString room = TempPath(QStringLiteral("room.tlm"));
    QString error;
    ASSERT_TRUE(SaveTemplateFile(room, &picture, {}, &error)) << error.toStdString();
    ASSERT_TRUE(Start({room}));

    const QString out = TempPath(QStringLiteral("half"));
    QString formatAtStart;
    App().SetExportDialogRunner([&](CExportDlg& d) {
        formatAtStart = d.FormatList()->currentText();
        d.FormatList()->setCurrentIndex(d.FormatList()->findText(QStringLiteral("PNG")));
        d.FileNameEdit()->setText(out);
        return d.TryAccept();
    });
    EXPECT_TRUE(Frame().StatusBar()->currentMessage().isEmpty());
    ASSERT_TRUE(Frame().RunCommand(ID_EXPORT));
    EXPECT_EQ(formatAtStart, QStringLiteral("BMP"));
    EXPECT_EQ(QImageReader(out + QStringLiteral(".png")).size(), QSize(50, 30));
    EXPECT_EQ(Frame().StatusBar()->currentMessage(),
              QStringLiteral("Exported %1.png (50 × 30)").arg(QDir::toNativeSeparators(out)));

    // Cancelled: nothing new is announced over what is there.
    App().SetExportDialogRunner([&](CExportDlg& d) {
        formatAtStart = d.FormatList()->currentText();
        return false;
    });
    Frame().StatusBar()->clearMessage();
    ASSERT_TRUE(Frame().RunCommand(ID_EXPORT));
    EXPECT_EQ(formatAtStart, QStringLiteral("PNG"));
    EXPECT_TRUE(Frame().StatusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

} // namespace
