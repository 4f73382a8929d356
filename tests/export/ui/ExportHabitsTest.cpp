#include "codecs/EncoderGuids.h"
#include "controls/FileBrowseEdit.h"
#include "document/ScriptedPrompts.h"
#include "document/TilemontDoc.h"
#include "export/ui/ExportDlg.h"
#include "export/ui/ExportFormats.h"
#include "export/ui/ExportSession.h"
#include "export/ui/JpegOptionsPage.h"
#include "export/ui/TiffOptionsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void ChooseFormat(CExportDlg& dialog, const char* listText)
{
    dialog.FormatList()->setCurrentIndex(dialog.FormatList()->findText(QString::fromLatin1(listText)));
}

void ChooseValue(QComboBox* list, int value)
{
    ASSERT_GE(list->findData(value), 0) << value;
    list->setCurrentIndex(list->findData(value));
}

class ExportHabitsTest : public ::testing::Test
{
protected:
    QString Folder() const { return QDir::toNativeSeparators(m_tmp.path() + QLatin1Char('/')); }

    // A session over a 64 x 48 picture that remembers into m_choices.
    CExportSession& Session()
    {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(0xFF406080);
        m_doc.SetPicture(std::make_unique<QImage>(picture));
        m_session.SetRememberedChoices(&m_choices);
        return m_session;
    }

    ScriptedPrompts prompts;
    QTemporaryDir m_tmp;
    CTilemontDoc m_doc{prompts};
    CExportSession m_session{prompts, Folder()};
    CExportChoices m_choices;
};

TEST_F(ExportHabitsTest, ABareNameTakesTheChosenFormatsExtensionAndOtherNamesStayAsTyped)
{
    CExportDlg dialog(prompts, Folder());
    dialog.m_nWidth = 64;
    dialog.m_nHeight = 48;
    dialog.WriteFields();
    const auto accepted = [&](const char* format, const QString& typed) {
        ChooseFormat(dialog, format);
        dialog.FileNameEdit()->setText(typed);
        EXPECT_TRUE(dialog.TryAccept()) << typed.toStdString();
        // What the field shows is what will be written.
        EXPECT_EQ(dialog.FileNameEdit()->text(), dialog.m_strFileName);
        return dialog.m_strFileName;
    };
    EXPECT_EQ(accepted("JPEG", QStringLiteral("half")), QStringLiteral("half.jpg"));
    EXPECT_EQ(accepted("TIFF", QStringLiteral("/home/me/my.exports/result")),
              QStringLiteral("/home/me/my.exports/result.tiff"));
    EXPECT_EQ(accepted("PNG", QStringLiteral("shot.")), QStringLiteral("shot.png"));
    EXPECT_EQ(accepted("PNG", QStringLiteral("C:\\out\\.hidden")), QStringLiteral("C:\\out\\.hidden.png"));
    EXPECT_EQ(accepted("PNG", QStringLiteral("notes.txt")), QStringLiteral("notes.txt"));
    EXPECT_EQ(accepted("BMP", QStringLiteral("room.bmp")), QStringLiteral("room.bmp"));
    EXPECT_EQ(WithExtension(QStringLiteral("folder/"), QStringLiteral(".gif")), QStringLiteral("folder/"));
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(ExportHabitsTest, TheSessionWritesABareNameAsTheFormatAndSaysWhatItWrote)
{
    CExportSession& session = Session();
    session.SetDialogRunner([](CExportDlg& d) {
        ChooseFormat(d, "JPEG");
        d.FileNameEdit()->setText(QStringLiteral("half"));
        d.KeepAspectBox()->click(); // off, so the height stays as typed
        d.WidthEdit()->setText(QStringLiteral("32"));
        d.HeightEdit()->setText(QStringLiteral("20"));
        return d.TryAccept();
    });
    ASSERT_EQ(session.Run(m_doc), CExportSession::Outcome::Written);
    const QString written = m_tmp.path() + QStringLiteral("/half.jpg");
    QImageReader reader(written);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    EXPECT_EQ(reader.size(), QSize(32, 20));
    EXPECT_EQ(session.WrittenMessage(),
              QStringLiteral("Exported %1 (32 × 20)").arg(QDir::toNativeSeparators(written)));

    session.SetDialogRunner([](CExportDlg&) { return false; });
    EXPECT_EQ(session.Run(m_doc), CExportSession::Outcome::Cancelled);
    EXPECT_TRUE(session.WrittenMessage().isEmpty());
}

TEST_F(ExportHabitsTest, TheNextExportStartsWithTheLastFormatOptionsAndAspectBoxWhileTheNameCounts)
{
    CExportSession& session = Session();
    // A fresh memory starts the dialog as it always started.
    CExportDlg fresh(prompts, Folder());
    fresh.RestoreChoices(m_choices);
    EXPECT_EQ(fresh.FormatList()->currentText(), QStringLiteral("BMP"));
    EXPECT_TRUE(fresh.KeepAspectBox()->isChecked());
    EXPECT_EQ(fresh.JpegPage()->QualityEdit()->text(), QStringLiteral("100"));

    session.SetDialogRunner([](CExportDlg& d) {
        ChooseFormat(d, "JPEG");
        d.JpegPage()->QualityEdit()->setText(QStringLiteral("42"));
        ChooseValue(d.JpegPage()->TransformationList(), kTransformRotate90);
        d.KeepAspectBox()->click();
        d.FileNameEdit()->setText(QStringLiteral("first"));
        return d.TryAccept();
    });
    ASSERT_EQ(session.Run(m_doc), CExportSession::Outcome::Written);

    // Accepted as it comes: the same options reach the encoder, under the
    // counter's next name with the remembered format's extension.
    int counter = 0;
    CEncoderParameters second;
    bool keepAspect = true;
    session.SetDialogRunner([&](CExportDlg& d) {
        counter = CExportDlg::s_nExportCounter - 1;
        keepAspect = d.KeepAspectBox()->isChecked();
        if (!d.TryAccept())
            return false;
        second = d.m_params;
        // Then TIFF with options of its own, for the third export.
        ChooseFormat(d, "TIFF");
        ChooseValue(d.TiffPage()->CompressionList(), kCompressionLzw);
        ChooseValue(d.TiffPage()->ColorDepthList(), 24);
        return d.TryAccept();
    });
    ASSERT_EQ(session.Run(m_doc), CExportSession::Outcome::Written);
    EXPECT_FALSE(keepAspect);
    EXPECT_EQ(second, (CEncoderParameters{{EncoderGuid::kQuality, 42},
                                          {EncoderGuid::kTransformation, kTransformRotate90}}));
    const QString secondName = m_tmp.path() + QStringLiteral("/export%1.tiff").arg(counter);
    EXPECT_EQ(QImageReader(secondName).format(), QByteArray("tiff")) << secondName.toStdString();

    CEncoderParameters thirdParams;
    session.SetDialogRunner([&](CExportDlg& d) {
        EXPECT_EQ(d.FileNameEdit()->text(), Folder() + QStringLiteral("export%1.tiff").arg(counter + 1));
        // The JPEG page kept its settings while another format was used.
        EXPECT_EQ(d.JpegPage()->QualityEdit()->text(), QStringLiteral("42"));
        const bool ok = d.TryAccept();
        thirdParams = d.m_params;
        return ok;
    });
    ASSERT_EQ(session.Run(m_doc), CExportSession::Outcome::Written);
    EXPECT_EQ(thirdParams, (CEncoderParameters{{EncoderGuid::kCompression, kCompressionLzw},
                                               {EncoderGuid::kColorDepth, 24}}));
    EXPECT_TRUE(prompts.errors.isEmpty());
}

} // namespace
