#pragma once

#include <QToolBar>

class QCheckBox;
class QSlider;
class QSpinBox;

// "Tool Options" for the tools that select by colour: the tolerance (a
// field and a slider), whether the region must hang together, and the size
// under which islands and holes are dropped. Shows and edits the editor's
// one set of wand options (CWandToolOptions), following changes made
// elsewhere, such as a tolerance drag.
class CWandOptionsBar : public QToolBar
{
    Q_OBJECT

public:
    explicit CWandOptionsBar(QWidget* parent = nullptr);
    ~CWandOptionsBar() override;

    QSpinBox* ToleranceField() const { return m_tolerance; }
    QSlider* ToleranceSlider() const { return m_slider; }
    QCheckBox* ContiguousBox() const { return m_contiguous; }
    QSpinBox* SpeckField() const { return m_speck; }

private:
    // Shows the options without telling them back.
    void Show();
    void Apply();

    QSpinBox* m_tolerance;
    QSlider* m_slider;
    QCheckBox* m_contiguous;
    QSpinBox* m_speck;
    int m_listener = 0;
    int m_dragListener = 0;
    bool m_showing = false;
};
