#pragma once

#include <QDialog>

class QLabel;

// "About Tilemont": the program's icon, name and version, and OK.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* NameLabel() const { return m_pName; }
    QLabel* VersionLabel() const { return m_pVersion; }

private:
    QLabel* m_pName;
    QLabel* m_pVersion;
};
