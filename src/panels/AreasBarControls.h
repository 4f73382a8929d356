#pragma once

#include <QWidget>

class CAreaListBox;
class CSpinButtons;
class CTextureBrowser;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The Areas panel's controls in their order: the area list, the rotation,
// shift and scale fields with their arrows, the skew and perspective check
// boxes with their reset, fit and real-size buttons, the shading strength,
// the texture groups and the swatch browser, which takes whatever height is
// left. Layout only; CAreasBar gives them their behaviour.
class CAreasBarControls : public QWidget
{
    Q_OBJECT

public:
    // How many characters the rotation and scale fields show.
    static constexpr int kRotationChars = 6;
    static constexpr int kScaleChars = 7;

    explicit CAreasBarControls(QWidget* parent = nullptr);

    CAreaListBox* areaList;
    QLineEdit* rotation;
    CSpinButtons* rotationSpin;
    QLineEdit* shiftX;
    CSpinButtons* shiftXSpin;
    QLineEdit* shiftY;
    CSpinButtons* shiftYSpin;
    QLineEdit* scale;
    CSpinButtons* scaleSpin;
    QCheckBox* skew;
    QCheckBox* perspective;
    QCheckBox* skewPreview;
    QCheckBox* initialRect;
    QPushButton* resetSkew;
    QPushButton* resetInitialRect;
    QPushButton* fitPerspective;
    QPushButton* realSize;
    QPushButton* pattern;
    QSpinBox* shading;
    QComboBox* groups;
    CTextureBrowser* browser;

signals:
    // Enter in the panel (outside a control that takes it itself), and Escape.
    void enterPressed();
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
