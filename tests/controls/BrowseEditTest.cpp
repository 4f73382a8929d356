#include "controls/FileBrowseEdit.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(BrowseEdit, ButtonStaysFlushRightAtAnySizeAndFollowsTheControlsState)
{
    CFileBrowseEdit field;
    field.show();
    for (const QSize size : {QSize(200, 20), QSize(37, 60), QSize(400, 24)}) {
        field.resize(size);
        EXPECT_EQ(field.Button()->geometry(), QRect(size.width() - 20, 0, 20, size.height()));
        EXPECT_EQ(field.Edit()->geometry(), QRect(0, 0, size.width() - 20, size.height()));
    }
    field.setEnabled(false);
    EXPECT_FALSE(field.Edit()->isEnabled() || field.Button()->isEnabled());
    EXPECT_EQ(field.focusProxy(), field.Edit());
}

TEST(BrowseEdit, SaveModeAsksInTheCurrentFolderAndJoinsWhatIsChosen)
{
    CFileBrowseEdit field;
    field.SetMode(false, CFileBrowseEdit::kPathMustExist | CFileBrowseEdit::kResizable);
    field.setText(QStringLiteral("before"));
    std::vector<CFileBrowseEdit::Request> asked;
    std::optional<QStringList> answer;
    field.SetDialogRunner([&](const CFileBrowseEdit::Request& r) {
        asked.push_back(r);
        return answer;
    });

    field.Button()->click();
    EXPECT_EQ(field.text(), QStringLiteral("before")) << "cancelling changes nothing";
    answer = QStringList{QStringLiteral("/tmp/a.png"), QStringLiteral("/tmp/b c.png")};
    field.Button()->click();
    EXPECT_EQ(field.text(), QStringLiteral("/tmp/a.png;/tmp/b c.png"));

    const CFileBrowseEdit::Request expected{false, CFileBrowseEdit::kPathMustExist | CFileBrowseEdit::kResizable,
                                            QStringLiteral("All files(*.*)|*.*|"), QString(), QDir::currentPath()};
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_TRUE(asked[0] == expected && asked[1] == expected);

    field.SetInitialPath(QStringLiteral("/home/me/my.exports/result.png"));
    EXPECT_EQ(field.StartFolder(), QStringLiteral("/home/me/my.exports/"));
    field.SetInitialPath(QStringLiteral("result.png"));
    EXPECT_EQ(field.StartFolder(), QDir::currentPath());
}
