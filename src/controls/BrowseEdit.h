#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// A path field: an edit filling the control but for a 20-pixel "..." button
// flush with its right edge. The button runs OnBrowse; the keyboard focus
// given to the control goes to the edit, and enabling the control enables
// both.
class CBrowseEdit : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kButtonWidth = 20;

    explicit CBrowseEdit(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* Edit() const { return m_pEdit; }
    QPushButton* Button() const { return m_pButton; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void textChanged(const QString& text);

protected:
    // What the button does; nothing here.
    virtual void OnBrowse() {}
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_pEdit;
    QPushButton* m_pButton;
};
