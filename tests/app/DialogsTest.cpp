#include "AppTestSupport.h"

#include "app/AboutDlg.h"
#include "app/HelpLauncher.h"
#include "app/NameDlg.h"
#include "app/QtPrompts.h"
#include "app/ResourceIds.h"
#include "app/StatusBar.h"
#include "document/Messages.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>

TEST(QtPromptsTest, FiltersBecomeOneQtFilterPerEntry)
{
    EXPECT_EQ(CQtPrompts::ConvertFilter(Messages::kTemplateFilter),
              QStringList{"Tilemont files(*.tlm) (*.tlm)"});
    EXPECT_EQ(CQtPrompts::ConvertFilter(Messages::kPictureFilter),
              (QStringList{"All available formats(*.bmp,*.gif;*.jpeg;*.jpg;*.png;*.tiff;*.emf) "
                           "(*.bmp *.gif *.jpeg *.jpg *.png *.tiff *.emf)",
                           "All files(*.*) (*.*)"}));
    // A filter without the closing bar still gives its last entry.
    EXPECT_EQ(CQtPrompts::ConvertFilter("Text|*.txt;*.md"), QStringList{"Text (*.txt *.md)"});
    EXPECT_TRUE(CQtPrompts::ConvertFilter(QString()).isEmpty());
    EXPECT_EQ(CQtPrompts::SuffixOf(Messages::kTemplateDefaultExt), QStringLiteral("tlm"));
    EXPECT_EQ(CQtPrompts::SuffixOf(".png"), QStringLiteral("png"));
    EXPECT_EQ(CQtPrompts::SuffixOf(QString()), QString());
}

TEST(NameDlgTest, ShowsCaptionLabelAndNameAndReadsTheNameBackOnOk)
{
    CNameDlg dialog;
    dialog.m_strCaption = Messages::kEnterAreaName;
    dialog.m_strLabel = QStringLiteral("Enter area name");
    dialog.m_strName = Messages::kDefaultAreaName;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), Messages::kEnterAreaName);
    EXPECT_EQ(dialog.Label()->text(), QStringLiteral("Enter area name"));
    EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Area"));

    dialog.NameEdit()->setText(QStringLiteral("Floor"));
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strName, QStringLiteral("Floor"));

    CNameDlg cancelled;
    const QString title = cancelled.windowTitle();
    cancelled.m_strName = QStringLiteral("Keep");
    cancelled.show();
    // An empty caption leaves the dialog's own title.
    EXPECT_EQ(cancelled.windowTitle(), title);
    cancelled.NameEdit()->setText(QStringLiteral("Typed"));
    cancelled.reject();
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.m_strName, QStringLiteral("Keep"));
}

TEST(AboutDlgTest, ShowsTheNameAndVersion)
{
    CAboutDlg dialog;
    EXPECT_EQ(dialog.NameLabel()->text(), QStringLiteral("Tilemont"));
    EXPECT_EQ(dialog.VersionLabel()->text(), QStringLiteral("Version 1.0"));
}

TEST_F(AppTest, HelpOpensTheHelpFileWhenPresentAndTheGuideOtherwise)
{
    ASSERT_TRUE(Start());
    QList<QUrl> opened;
    Frame().Help().SetExternalOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });

    ASSERT_TRUE(Frame().RunCommand(ID_HELP_CONTENTS));
    EXPECT_TRUE(opened.isEmpty());
    QTextBrowser* guide = Frame().Help().GuideWindow();
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    EXPECT_EQ(guide->source(), CHelpLauncher::kGuideUrl);
    EXPECT_TRUE(guide->toPlainText().contains(QStringLiteral("Tilemont User Guide")));

    QFile chm(QStringLiteral("tilemont.chm"));
    ASSERT_TRUE(chm.open(QIODevice::WriteOnly));
    chm.close();
    ASSERT_TRUE(Frame().RunCommand(ID_HELP_CONTENTS));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(StartFolder() + QStringLiteral("/tilemont.chm")));
}

TEST(StatusBarTest, HasTheMessagePaneAndTheThreeIndicators)
{
    CStatusBar bar;
    EXPECT_EQ(bar.MessagePane()->text(), QStringLiteral("Ready"));
    const std::pair<CStatusBar::LockKey, const char*> keys[] = {
        {CStatusBar::LockKey::Caps, "CAP"}, {CStatusBar::LockKey::Num, "NUM"}, {CStatusBar::LockKey::Scroll, "SCRL"}};
    for (const auto& [key, text] : keys) {
        const auto state = CStatusBar::LockState(key);
        QLabel* label = bar.Indicator(key);
        if (!state) {
            // Unknown: shown, but greyed.
            EXPECT_EQ(label->text(), QLatin1String(text));
            EXPECT_FALSE(label->isEnabled());
        } else {
            EXPECT_EQ(label->text(), *state ? QLatin1String(text) : QString());
        }
    }
}
