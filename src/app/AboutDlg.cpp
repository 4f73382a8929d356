#include "AboutDlg.h"

#include "ResourceIds.h"
#include "ToolIconEngine.h"

#include "TilemontVersion.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
// What a title bar takes besides the title: the window's icon and its
// minimise, maximise and close buttons.
constexpr int kTitleBarAllowance = 120;
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About Tilemont"));
    auto* icon = new QLabel(this);
    icon->setPixmap(CToolIconEngine::Icon(IDR_MAINFRAME).pixmap(QSize(32, 32), devicePixelRatioF()));
    m_pName = new QLabel(tr("Tilemont"), this);
    m_pVersion = new QLabel(tr("Version %1").arg(QStringLiteral(TILEMONT_VERSION)), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_pName, 0, 1);
    layout->addWidget(m_pVersion, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    // Wide enough that the title bar shows the whole title beside the frame's
    // icon and buttons, in any language.
    layout->setColumnMinimumWidth(1, fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarAllowance);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
