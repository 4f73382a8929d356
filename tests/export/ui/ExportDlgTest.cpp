#include "document/ScriptedPrompts.h"
#include "document/TilemontDoc.h"
#include "export/ui/ExportDlg.h"
#include "export/ui/ExportFormats.h"
#include "export/ui/ExportSession.h"
#include "export/ui/TiffOptionsPage.h"
#include "codecs/EncoderGuids.h"
#include "controls/FileBrowseEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Types into a field as a user would: select everything, then the keys.
void Type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void ChooseFormat(CExportDlg& dialog, const char* listText)
{
    dialog.FormatList()->setCurrentIndex(dialog.FormatList()->findText(QString::fromLatin1(listText)));
}

} // namespace

class ExportDlgTest : public ::testing::Test
{
protected:
    QString Folder() const { return QDir::toNativeSeparators(m_tmp.path() + QLatin1Char('/')); }

    std::unique_ptr<CExportDlg> Dialog(int w, int h)
    {
        auto dialog = std::make_unique<CExportDlg>(prompts, Folder());
        dialog->m_nWidth = w;
        dialog->m_nHeight = h;
        dialog->m_dAspect = double(w) / double(h);
        dialog->WriteFields();
        return dialog;
    }

    ScriptedPrompts prompts;
    QTemporaryDir m_tmp;
};

TEST_F(ExportDlgTest, SizesFollowEachOtherAndNamesTakeTheFormatsExtension)
{
    const int counter = CExportDlg::s_nExportCounter;
    auto dialog = Dialog(640, 480);
    EXPECT_EQ(dialog->FileNameEdit()->text(), Folder() + QStringLiteral("export%1.bmp").arg(counter));
    EXPECT_EQ(CExportDlg::s_nExportCounter, counter + 1);
    EXPECT_EQ(dialog->FileNameEdit()->MakeRequest().folder, Folder());

    Type(dialog->WidthEdit(), QStringLiteral("320"));
    EXPECT_EQ(dialog->HeightEdit()->text(), QStringLiteral("240"));
    Type(dialog->HeightEdit(), QStringLiteral("100"));
    EXPECT_EQ(dialog->WidthEdit()->text(), QStringLiteral("133"));
    dialog->KeepAspectBox()->click(); // off
    Type(dialog->WidthEdit(), QStringLiteral("50"));
    EXPECT_EQ(dialog->HeightEdit()->text(), QStringLiteral("100"));
    dialog->KeepAspectBox()->click(); // on again: the height follows the width
    EXPECT_EQ(dialog->HeightEdit()->text(), QStringLiteral("37"));

    ChooseFormat(*dialog, "JPEG");
    EXPECT_EQ(dialog->FileNameEdit()->text(), Folder() + QStringLiteral("export%1.jpg").arg(counter));
    EXPECT_NE(dialog->CurrentPage(), nullptr);
    dialog->FileNameEdit()->setText(QStringLiteral("/home/me/my.exports/result"));
    ChooseFormat(*dialog, "PNG");
    EXPECT_EQ(dialog->FileNameEdit()->text(), QStringLiteral("/home/me/my.exports/result.png"));
    EXPECT_EQ(dialog->CurrentPage(), nullptr);
    EXPECT_EQ(ReplaceExtension(QStringLiteral("a.b/c.tiff"), QStringLiteral(".gif")), QStringLiteral("a.b/c.gif"));
}

TEST_F(ExportDlgTest, OkRefusesSizesAndOptionsThatCannotBeWritten)
{
    auto dialog = Dialog(640, 480);
    dialog->KeepAspectBox()->click();
    const auto refuses = [&](const char* width, const char* height) {
        Type(dialog->WidthEdit(), QString::fromLatin1(width));
        Type(dialog->HeightEdit(), QString::fromLatin1(height));
        prompts.errors.clear();
        return !dialog->TryAccept() && prompts.errors.size() == 1;
    };
    EXPECT_TRUE(refuses("0", "480"));
    EXPECT_TRUE(refuses("-5", "480"));
    EXPECT_TRUE(refuses("20000", "20000"));
    EXPECT_TRUE(refuses("12x", "480"));

    Type(dialog->WidthEdit(), QStringLiteral("64"));
    Type(dialog->HeightEdit(), QStringLiteral("48"));
    ChooseFormat(*dialog, "TIFF");
    QComboBox* compression = dialog->TiffPage()->CompressionList();
    QComboBox* depth = dialog->TiffPage()->ColorDepthList();
    compression->setCurrentIndex(compression->findData(int(kCompressionCcitt4)));
    depth->setCurrentIndex(depth->findData(24));
    prompts.errors.clear();
    EXPECT_FALSE(dialog->TryAccept());
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_FALSE(prompts.errors[0].isEmpty());
    depth->setCurrentIndex(depth->findData(1));
    EXPECT_TRUE(dialog->TryAccept());
    EXPECT_EQ(dialog->m_params, (CEncoderParameters{{EncoderGuid::kCompression, kCompressionCcitt4},
                                                    {EncoderGuid::kColorDepth, 1}}));
}

TEST_F(ExportDlgTest, SessionWritesTheTemplateAsAtOkAndKeepsTheValuesAfterAFailure)
{
    CTilemontDoc doc(prompts);
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(0xFF204080);
    doc.SetPicture(std::make_unique<QImage>(picture));
    CExportSession session(prompts, Folder());

    // A folder that does not exist fails with a message; the dialog comes
    // back with what the user typed, and the next try writes the file.
    QStringList widthsSeen;
    session.SetDialogRunner([&](CExportDlg& d) {
        widthsSeen << d.WidthEdit()->text();
        if (widthsSeen.size() == 1) {
            Type(d.WidthEdit(), QStringLiteral("32"));
            ChooseFormat(d, "PNG");
            d.FileNameEdit()->setText(m_tmp.path() + QStringLiteral("/missing/out.png"));
        } else {
            d.FileNameEdit()->setText(QStringLiteral("out.png"));
        }
        return d.TryAccept();
    });
    EXPECT_EQ(session.Run(doc), CExportSession::Outcome::Written);
    EXPECT_EQ(widthsSeen, (QStringList{"64", "32"}));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("out.png")));
    EXPECT_EQ(QImageReader(m_tmp.path() + QStringLiteral("/out.png")).size(), QSize(32, 24));

    // Cancelled midway: nothing is left behind.
    session.SetDialogRunner([&](CExportDlg& d) {
        d.FileNameEdit()->setText(QStringLiteral("cancelled.bmp"));
        return d.TryAccept();
    });
    session.SetProgressProbe([](int percent, const QString&) { return percent < 50; });
    EXPECT_EQ(session.Run(doc), CExportSession::Outcome::Cancelled);
    EXPECT_FALSE(QFileInfo::exists(m_tmp.path() + QStringLiteral("/cancelled.bmp")));
}

TEST_F(ExportDlgTest, TheProgressWindowsCancelStaysUpUntilTheWorkerStopsAndLeavesNoFile)
{
    CTilemontDoc doc(prompts);
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(0xFF808080);
    doc.SetPicture(std::make_unique<QImage>(picture));
    CExportSession session(prompts, Folder());
    session.SetDialogRunner([](CExportDlg& d) {
        d.FileNameEdit()->setText(QStringLiteral("slow.png"));
        return d.TryAccept();
    });
    // A slow encode: the worker holds at its last report until the user's
    // Cancel has been pressed (or gives up after ten seconds).
    std::atomic<bool> pressed{false};
    session.SetProgressProbe([&](int percent, const QString&) {
        for (int i = 0; percent > 0 && !pressed && i < 1000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return true;
    });
    QString labelAfterPress;
    bool visibleAfterPress = false;
    QTimer user;
    bool clicked = false;
    QObject::connect(&user, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            if (!progress || !progress->isVisible() || clicked)
                continue;
            clicked = true;
            QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            // Let a few progress polls go by: none may hide the window.
            QTest::qWait(200);
            labelAfterPress = progress->labelText();
            visibleAfterPress = progress->isVisible();
            pressed = true;
        }
    });
    user.start(50);
    EXPECT_EQ(session.Run(doc), CExportSession::Outcome::Cancelled);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(visibleAfterPress);
    EXPECT_EQ(labelAfterPress, QStringLiteral("Cancelling..."));
    EXPECT_FALSE(QFileInfo::exists(m_tmp.path() + QStringLiteral("/slow.png")));
    EXPECT_TRUE(prompts.errors.isEmpty());
}
