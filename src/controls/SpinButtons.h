#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// The up and down arrows beside a number field: each step reads the
// field's number, moves it by one within a range (wrapping round or
// stopping at the ends) and writes the whole number back into the field,
// which then reacts as if the user had typed it. The field's own Up and
// Down keys step too.
class CSpinButtons : public QWidget
{
    Q_OBJECT

public:
    explicit CSpinButtons(QWidget* parent = nullptr);

    // The field stepped; what it is called names the arrows for screen
    // readers ("Increase rotation").
    void SetBuddy(QLineEdit* buddy, const QString& what);
    QLineEdit* Buddy() const { return m_pBuddy; }
    void SetRange(int lowest, int highest);
    void SetWrap(bool wrap) { m_bWrap = wrap; }
    void SetPosition(int position);
    int Position() const { return m_nPos; }
    int Lowest() const { return m_nLow; }
    int Highest() const { return m_nHigh; }

    // One step up (+1) or down (-1) from the field's number: a fraction
    // moves to the next whole number in that direction; text that is no
    // number steps from the last position.
    void Step(int direction);

    QToolButton* UpButton() const { return m_pUp; }
    QToolButton* DownButton() const { return m_pDown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_pBuddy = nullptr;
    QToolButton* m_pUp;
    QToolButton* m_pDown;
    int m_nLow = 0;
    int m_nHigh = 100;
    int m_nPos = 0;
    bool m_bWrap = false;
};
