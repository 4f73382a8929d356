#include "WandOptionsBar.h"

#include "view/WandToolOptions.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

CWandOptionsBar::CWandOptionsBar(QWidget* parent) : QToolBar(tr("Tool Options"), parent)
{
    setObjectName(QStringLiteral("ToolOptions"));
    auto* toleranceLabel = new QLabel(tr("&Tolerance:"), this);
    m_tolerance = new QSpinBox(this);
    m_tolerance->setRange(0, CMagicWand::kMaxTolerance);
    m_tolerance->setAccessibleName(tr("Tolerance"));
    m_tolerance->setToolTip(tr("How different a colour may be from the clicked one (0: the same colour only, "
                               "255: every colour)"));
    toleranceLabel->setBuddy(m_tolerance);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, CMagicWand::kMaxTolerance);
    m_slider->setMaximumWidth(160);
    m_slider->setAccessibleName(tr("Tolerance"));
    m_slider->setToolTip(m_tolerance->toolTip());
    m_contiguous = new QCheckBox(tr("&Contiguous"), this);
    m_contiguous->setToolTip(tr("Only the region joined to the clicked pixel; off: every pixel of a similar colour"));
    auto* speckLabel = new QLabel(tr("&Ignore specks under"), this);
    m_speck = new QSpinBox(this);
    m_speck->setRange(0, CWandToolOptions::kMaxSpeck);
    m_speck->setSuffix(tr(" pixels"));
    m_speck->setAccessibleName(tr("Ignore specks under, in pixels"));
    m_speck->setToolTip(tr("Islands and holes smaller than this are dropped"));
    speckLabel->setBuddy(m_speck);

    addWidget(toleranceLabel);
    addWidget(m_tolerance);
    addWidget(m_slider);
    addSeparator();
    addWidget(m_contiguous);
    addSeparator();
    addWidget(speckLabel);
    addWidget(m_speck);

    Show();
    connect(m_tolerance, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_slider->value() != v)
            m_slider->setValue(v);
        Apply();
    });
    connect(m_slider, &QSlider::valueChanged, this, [this](int v) { m_tolerance->setValue(v); });
    connect(m_contiguous, &QCheckBox::toggled, this, [this] { Apply(); });
    connect(m_speck, &QSpinBox::valueChanged, this, [this] { Apply(); });
    m_listener = CWandToolOptions::Instance().AddListener([this](const SWandOptions&) { Show(); });
    // The tolerance a wand drag reaches shows as it changes, not only when
    // the release takes it.
    m_dragListener = CWandToolOptions::Instance().AddDragListener([this](std::optional<int>) { Show(); });
}

CWandOptionsBar::~CWandOptionsBar()
{
    CWandToolOptions::Instance().RemoveListener(m_listener);
    CWandToolOptions::Instance().RemoveListener(m_dragListener);
}

void CWandOptionsBar::Show()
{
    const SWandOptions& options = CWandToolOptions::Instance().Get();
    const int tolerance = CWandToolOptions::Instance().DragTolerance().value_or(options.tolerance);
    m_showing = true;
    m_tolerance->setValue(tolerance);
    m_slider->setValue(tolerance);
    m_contiguous->setChecked(options.contiguous);
    m_speck->setValue(options.minSpeck);
    m_showing = false;
}

void CWandOptionsBar::Apply()
{
    if (m_showing)
        return;
    CWandToolOptions::Instance().Set({m_tolerance->value(), m_contiguous->isChecked(), m_speck->value()});
}
