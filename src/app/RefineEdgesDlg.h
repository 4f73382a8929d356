#pragma once

#include <QDialog>

class QSpinBox;

// Refine Edges' one question: how wide a band around the selection's
// boundary may move, in picture pixels.
class CRefineEdgesDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CRefineEdgesDlg(int band, QWidget* parent = nullptr);

    int Band() const;
    QSpinBox* BandBox() const { return m_pBand; }

private:
    QSpinBox* m_pBand;
};
