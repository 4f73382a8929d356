#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for one name: a label above an edit field, OK and Cancel. Set the
// members before showing it; on OK the name (and label) are read back.
class CNameDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CNameDlg(QWidget* parent = nullptr);

    // A non-empty caption replaces the window title.
    QString m_strCaption;
    QString m_strName;
    QString m_strLabel;

    QLineEdit* NameEdit() const { return m_pEdit; }
    QLabel* Label() const { return m_pLabel; }
    QPushButton* OkButton() const { return m_pOk; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_pLabel;
    QLineEdit* m_pEdit;
    QPushButton* m_pOk;
};
