#include "AppTestSupport.h"

#include "app/AboutDlg.h"
#include "app/HelpLauncher.h"
#include "app/NameDlg.h"
#include "app/QtPrompts.h"
#include "app/ResourceIds.h"
#include "app/StatusBar.h"
#include "document/Messages.h"
#include "document/PictureFileFilter.h"
#include "TilemontVersion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>

TEST(QtPromptsTest, FiltersBecomeOneQtFilterPerEntry)
{
    EXPECT_EQ(CQtPrompts::ConvertFilter(Messages::kTemplateFilter),
              QStringList{"Tilemont files(*.tlm) (*.tlm)"});
    EXPECT_EQ(CQtPrompts::ConvertFilter(QStringLiteral("All available formats(*.bmp,*.gif;*.jpeg)|"
                                                       "*.bmp;*.gif;*.jpeg|All files(*.*)|*.*|")),
              (QStringList{"All available formats(*.bmp,*.gif;*.jpeg) (*.bmp *.gif *.jpeg)",
                           "All files(*.*) (*.*)"}));
    // The Select picture dialog's own filter: its patterns space-separated in the label too.
    EXPECT_EQ(CQtPrompts::ConvertFilter(PictureFileFilter::Filter()),
              (QStringList{"All available formats(*.bmp *.gif *.jpeg *.jpg *.png *.tiff *.heic *.heif *.avif) "
                           "(*.bmp *.gif *.jpeg *.jpg *.png *.tiff *.heic *.heif *.avif)",
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
    EXPECT_EQ(dialog.VersionLabel()->text(), QStringLiteral("Version " TILEMONT_VERSION));
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

    // A guide on disk under the built-in guide's name is handed to the desktop.
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("help")));
    QFile page(QStringLiteral("help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    ASSERT_TRUE(Frame().RunCommand(ID_HELP_CONTENTS));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(StartFolder() + QStringLiteral("/help/index.html")));
}

TEST_F(AppTest, HelpFindsTheGuideInstalledBesideTheProgramUnlessTheFolderHasOne)
{
    // An installed editor: bin/tilemont with the guide in share/tilemont.
    const QString prefix = TempPath(QStringLiteral("usr"));
    const QString installed = prefix + QStringLiteral("/share/tilemont/help/index.html");
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(installed).path()));
    EXPECT_EQ(CHelpLauncher::HelpFilePath(prefix + QStringLiteral("/bin")), QString());
    QFile guide(installed);
    ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    guide.close();
    EXPECT_EQ(CHelpLauncher::HelpFilePath(prefix + QStringLiteral("/bin")), installed);
    // A program one level deeper has no guide beside it.
    EXPECT_EQ(CHelpLauncher::HelpFilePath(prefix + QStringLiteral("/bin/tools")), QString());

    // The current folder's guide comes first.
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("help")));
    QFile own(QStringLiteral("help/index.html"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    EXPECT_EQ(CHelpLauncher::HelpFilePath(prefix + QStringLiteral("/bin")),
              StartFolder() + QStringLiteral("/help/index.html"));
}

TEST(StatusBarTest, HasTheMessagePaneAndTheThreeIndicators)
{
    CStatusBar bar;
    EXPECT_EQ(bar.MessagePane()->text(), QStringLiteral("Ready"));
    const std::pair<CStatusBar::LockKey, const char*> keys[] = {
        {CStatusBar::LockKey::Caps, "CAP"}, {CStatusBar::LockKey::Num, "NUM"}, {CStatusBar::LockKey::Scroll, "SCRL"}};
    int known = 0;
    for (const auto& [key, text] : keys) {
        const auto state = CStatusBar::LockState(key);
        QLabel* label = bar.Indicator(key);
        if (!state) {
            // Unknown: no pane at all, rather than one that is always grey.
            EXPECT_EQ(label, nullptr);
        } else {
            ++known;
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->text(), *state ? QLatin1String(text) : QString());
        }
    }
    // The message pane and one pane per key whose state is known, nothing else.
    EXPECT_EQ(bar.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly).size(), 1 + known);
}
