#include "AreasBarControls.h"

#include "AreaListBox.h"
#include "TextureBrowser.h"
#include "controls/SpinButtons.h"
#include "document/Area.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit* MakeField(QWidget* parent, const QString& name, int chars)
{
    auto* edit = new QLineEdit(parent);
    edit->setAccessibleName(name);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 16);
    return edit;
}

CSpinButtons* MakeSpin(QWidget* parent, QLineEdit* buddy, const QString& what, int lo, int hi, bool wrap)
{
    auto* spin = new CSpinButtons(parent);
    spin->SetBuddy(buddy, what);
    spin->SetRange(lo, hi);
    spin->SetWrap(wrap);
    spin->setFixedHeight(buddy->sizeHint().height());
    return spin;
}

// A field with its arrows flush against it.
QHBoxLayout* FieldWithArrows(QLineEdit* field, CSpinButtons* spin)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(field);
    row->addWidget(spin);
    return row;
}

QLabel* Label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

CAreasBarControls::CAreasBarControls(QWidget* parent) : QWidget(parent)
{
    areaList = new CAreaListBox(this);
    rotation = MakeField(this, tr("Texture rotation"), kRotationChars);
    rotationSpin = MakeSpin(this, rotation, tr("rotation"), 0, 360, true);
    shiftX = MakeField(this, tr("Texture shift X"), 7);
    shiftXSpin = MakeSpin(this, shiftX, tr("shift X"), -32767, 32767, false);
    shiftY = MakeField(this, tr("Texture shift Y"), 7);
    shiftYSpin = MakeSpin(this, shiftY, tr("shift Y"), -32767, 32767, false);
    scale = MakeField(this, tr("Scale"), kScaleChars);
    scaleSpin = MakeSpin(this, scale, tr("scale"), 0, 10000, false);
    scaleSpin->SetPosition(1);
    skew = new QCheckBox(tr("Skew"), this);
    perspective = new QCheckBox(tr("Perspective"), this);
    perspective->setAccessibleName(tr("Perspective"));
    perspective->setToolTip(tr("Warp the texture onto the corners as a plane seen in perspective"));
    skewPreview = new QCheckBox(tr("Skew preview"), this);
    initialRect = new QCheckBox(tr("Initial rect"), this);
    resetSkew = new QPushButton(tr("Reset skew"), this);
    resetInitialRect = new QPushButton(tr("Reset initial rect"), this);
    fitPerspective = new QPushButton(tr("Fit Perspective"), this);
    fitPerspective->setToolTip(tr("Find the surface's plane from the photo's straight edges"));
    realSize = new QPushButton(tr("Real Size..."), this);
    realSize->setToolTip(tr("Show the texture at its real size from a measured line"));
    pattern = new QPushButton(tr("Pattern..."), this);
    pattern->setToolTip(tr("Lay tiles or planks piece by piece, with joints"));
    shading = new QSpinBox(this);
    shading->setRange(CArea::kMinShading, CArea::kMaxShading);
    shading->setSuffix(QStringLiteral(" %"));
    shading->setSingleStep(10);
    // A step when the number is settled (arrows, Enter, leaving the
    // field), not at every key typed.
    shading->setKeyboardTracking(false);
    shading->setAccessibleName(tr("Shading strength"));
    shading->setToolTip(tr("How strongly Keep Shading lays the photo's light and shadow over the texture"));
    for (QPushButton* button : {resetSkew, resetInitialRect, fitPerspective, realSize, pattern})
        button->setAutoDefault(false);
    groups = new QComboBox(this);
    groups->setAccessibleName(tr("Texture group"));
    browser = new CTextureBrowser(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addWidget(Label(tr("Areas:"), areaList, this));
    column->addWidget(areaList, 1);

    auto* rotationRow = new QHBoxLayout;
    rotationRow->addWidget(Label(tr("Texture rotation:"), rotation, this));
    rotationRow->addLayout(FieldWithArrows(rotation, rotationSpin));
    rotationRow->addWidget(new QLabel(tr("degrees"), this));
    rotationRow->addStretch(1);
    column->addLayout(rotationRow);

    auto* shiftGrid = new QGridLayout;
    shiftGrid->addWidget(new QLabel(tr("Texture shift:"), this), 0, 0, 1, 4);
    shiftGrid->addWidget(Label(tr("&Scale:"), scale, this), 0, 4);
    shiftGrid->addWidget(Label(tr("X:"), shiftX, this), 1, 0);
    shiftGrid->addLayout(FieldWithArrows(shiftX, shiftXSpin), 1, 1);
    shiftGrid->addWidget(Label(tr("Y:"), shiftY, this), 1, 2);
    shiftGrid->addLayout(FieldWithArrows(shiftY, shiftYSpin), 1, 3);
    shiftGrid->addLayout(FieldWithArrows(scale, scaleSpin), 1, 4);
    shiftGrid->setColumnStretch(5, 1);
    column->addLayout(shiftGrid);

    auto* skewGrid = new QGridLayout;
    skewGrid->addWidget(skew, 0, 0);
    skewGrid->addWidget(perspective, 0, 1);
    skewGrid->addWidget(resetSkew, 0, 2);
    skewGrid->addWidget(fitPerspective, 0, 3);
    skewGrid->addWidget(skewPreview, 1, 0);
    skewGrid->addWidget(initialRect, 1, 1);
    skewGrid->addWidget(resetInitialRect, 1, 2);
    skewGrid->addWidget(realSize, 1, 3);
    skewGrid->addWidget(pattern, 2, 3);
    skewGrid->setColumnStretch(4, 1);
    column->addLayout(skewGrid);

    auto* shadingRow = new QHBoxLayout;
    shadingRow->addWidget(Label(tr("Shadin&g strength:"), shading, this));
    shadingRow->addWidget(shading);
    shadingRow->addStretch(1);
    column->addLayout(shadingRow);

    column->addWidget(groups);
    column->addWidget(browser, 2);

    // Tab walks the controls in the order they are listed above.
    QWidget* order[] = {areaList,  rotation,       shiftX,         shiftY,   scale,  skew, perspective,
                        skewPreview, initialRect, resetSkew, fitPerspective, resetInitialRect, realSize, pattern, shading,
                        groups, browser};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void CAreasBarControls::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: emit enterPressed(); break;
    case Qt::Key_Escape: emit escapePressed(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}
