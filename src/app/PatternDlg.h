#pragma once

#include "IPatternPrompt.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

// "Pattern": the photographs of one product's pieces (several variants at
// once), the piece's real size, the layout picked from small drawings of
// each, the laying angle, the joints' width and colour, how the pieces vary
// (turns, and the seed that Shuffle renews) and where the first whole piece
// starts. Every change is announced through changed() as it is made.
class CPatternDlg : public QDialog
{
    Q_OBJECT

public:
    CPatternDlg(const CLayingPattern& start, const QString& areaName, bool realSize, const QString& texturesFolder,
                QWidget* parent = nullptr);

    // The pattern as the dialog holds it now.
    CLayingPattern Pattern() const { return m_pattern; }

    // Adds the pictures as variants; those that are no picture are named
    // in the returned message, empty when all were taken.
    QString AddPieces(const QStringList& paths);

    QListWidget* Pieces() const { return m_pPieces; }
    QDoubleSpinBox* PieceWidth() const { return m_pWidth; }
    QDoubleSpinBox* PieceHeight() const { return m_pHeight; }
    QListWidget* Layouts() const { return m_pLayouts; }
    QDoubleSpinBox* Angle() const { return m_pAngle; }
    QDoubleSpinBox* Joint() const { return m_pJoint; }
    QPushButton* JointColour() const { return m_pJointColour; }
    QCheckBox* Turn180() const { return m_pTurn180; }
    QCheckBox* Turn90() const { return m_pTurn90; }
    QSpinBox* Seed() const { return m_pSeed; }
    QPushButton* Shuffle() const { return m_pShuffle; }
    QComboBox* Origin() const { return m_pOrigin; }
    QLabel* ScaleNote() const { return m_pScaleNote; }

    // The small drawing of a layout the dialog shows beside its name.
    static QImage LayoutIcon(ELayout layout, int side);

    // Shows the dialog modally, preview told of every change.
    static std::optional<CLayingPattern> Ask(const CLayingPattern& start, const QString& areaName, bool realSize,
                                             const QString& texturesFolder, const IPatternPrompt::Preview& preview,
                                             QWidget* parent);

signals:
    void changed(const CLayingPattern& pattern);

private:
    void Read();
    void ShowJointColour();
    void OnAddPieces();
    void OnRemovePieces();

    CLayingPattern m_pattern;
    QString m_strFolder;
    QListWidget* m_pPieces;
    QPushButton* m_pAdd;
    QPushButton* m_pRemove;
    QDoubleSpinBox* m_pWidth;
    QDoubleSpinBox* m_pHeight;
    QListWidget* m_pLayouts;
    QDoubleSpinBox* m_pAngle;
    QDoubleSpinBox* m_pJoint;
    QPushButton* m_pJointColour;
    QCheckBox* m_pTurn180;
    QCheckBox* m_pTurn90;
    QSpinBox* m_pSeed;
    QPushButton* m_pShuffle;
    QComboBox* m_pOrigin;
    QLabel* m_pScaleNote;
    QPushButton* m_pOk;
    bool m_bFilling = false;
};
