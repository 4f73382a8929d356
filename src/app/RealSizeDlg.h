#pragma once

#include "IRealSizePrompt.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// "Real Size": the real width of the texture image and a reference line on
// the picture with its real length, both in centimetres. "Draw reference
// line" closes the dialog so that the line can be dragged in the view; the
// editor then opens it again with the line.
class CRealSizeDlg : public QDialog
{
    Q_OBJECT

public:
    // Spin box limits: from a tile's edge to a whole hall.
    static constexpr double kMaxCm = 100000.0;

    CRealSizeDlg(const CRealSize& values, const QString& areaName, QWidget* parent = nullptr);

    // The values as the user left them, the line as given.
    CRealSize Values() const;
    // Whether the dialog closed to have the line drawn.
    bool WantsLine() const { return m_bWantsLine; }

    QDoubleSpinBox* TextureWidth() const { return m_pTextureWidth; }
    QDoubleSpinBox* ReferenceLength() const { return m_pReferenceLength; }
    QPushButton* DrawLineButton() const { return m_pDrawLine; }
    QLabel* LineLabel() const { return m_pLine; }

    // Shows the dialog modally and says how it closed.
    static IRealSizePrompt::Answer Ask(const CRealSize& values, const QString& areaName, QWidget* parent);

private:
    CRealSize m_values;
    QDoubleSpinBox* m_pTextureWidth;
    QDoubleSpinBox* m_pReferenceLength;
    QPushButton* m_pDrawLine;
    QLabel* m_pLine;
    bool m_bWantsLine = false;
};
