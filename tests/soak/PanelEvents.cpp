#include "PanelEvents.h"

#include "SoakContext.h"
#include "app/MainFrame.h"
#include "app/ResourceIds.h"
#include "controls/SpinButtons.h"
#include "panels/AreaListBox.h"
#include "panels/AreasBar.h"
#include "panels/AreasBarControls.h"
#include "panels/TextureBrowser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

namespace {

enum Field { Rotation, ShiftX, ShiftY, Scale };

QLineEdit* FieldEdit(const CAreasBarControls& c, int field)
{
    QLineEdit* const edits[] = {c.rotation, c.shiftX, c.shiftY, c.scale};
    return edits[field];
}

const char* FieldName(int field)
{
    const char* const names[] = {"rotation", "shift x", "shift y", "scale"};
    return names[field];
}

} // namespace

CPanelEvents::CPanelEvents(CSoakContext& context) : m_c(context)
{
}

CAreasBar& CPanelEvents::ShownPanel()
{
    CAreasBar& panel = *m_c.Panel();
    if (!panel.isVisible())
        m_c.Trigger(ID_VIEW_AREAS);
    return panel;
}

QString CPanelEvents::PickArea()
{
    CAreaListBox* list = ShownPanel().Controls().areaList;
    if (list->count() == 0 || m_c.random.Chance(0.1)) {
        // Below the last row: no area there.
        const QPoint below(list->viewport()->width() / 2, list->viewport()->height() - 2);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        return QStringLiteral("click below the area list's rows");
    }
    if (m_c.random.Chance(0.25)) {
        static const QList<Qt::Key> keys = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End};
        const Qt::Key key = m_c.random.Pick(keys);
        QTest::keyClick(list, key);
        return QStringLiteral("area list key %1, row %2").arg(int(key), 0, 16).arg(list->currentRow());
    }
    const int row = m_c.random.Int(0, list->count() - 1);
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    const Qt::KeyboardModifiers keys = m_c.random.Chance(0.1) ? Qt::ControlModifier : Qt::NoModifier;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, at);
    return QStringLiteral("area list row %1 of %2%3")
        .arg(row)
        .arg(list->count())
        .arg(keys ? QStringLiteral(" +ctrl") : QString());
}

QString CPanelEvents::SomeFieldText(int field)
{
    switch (m_c.random.Int(0, 9)) {
    case 0:
    case 1:
    case 2:
    case 3: // in range
        switch (field) {
        case Rotation: return QString::number(m_c.random.Int(0, 720) / 2.0);
        case Scale: return QString::number(m_c.random.Int(1, 40) / 8.0);
        default: return QString::number(m_c.random.Int(-300, 300));
        }
    case 4:
    case 5: { // out of range
        static const QStringList far = {QStringLiteral("400"), QStringLiteral("-1"), QStringLiteral("40000"),
                                        QStringLiteral("-40000"), QStringLiteral("10001"), QStringLiteral("1e400"),
                                        QStringLiteral("inf"), QStringLiteral("2147483648")};
        return m_c.random.Pick(far);
    }
    case 6: { // the ends of the ranges
        static const QStringList ends = {QStringLiteral("0"), QStringLiteral("360"), QStringLiteral("32767"),
                                         QStringLiteral("-32767"), QStringLiteral("10000"), QStringLiteral("0.0001")};
        return m_c.random.Pick(ends);
    }
    default: { // no number at all
        static const QStringList junk = {QStringLiteral("-"), QString(), QStringLiteral("abc"), QStringLiteral("nan"),
                                         QStringLiteral("12x"), QStringLiteral(" "), QStringLiteral("+"),
                                         QStringLiteral("0x10"), QStringLiteral("1,5"), QStringLiteral("4.5.6")};
        return m_c.random.Pick(junk);
    }
    }
}

QString CPanelEvents::TypeInField()
{
    const CAreasBarControls& c = ShownPanel().Controls();
    const int field = m_c.random.Int(Rotation, Scale);
    QLineEdit* edit = FieldEdit(c, field);
    const QString text = SomeFieldText(field);
    if (m_c.random.Chance(0.5))
        edit->setFocus();
    switch (m_c.random.Int(0, 3)) {
    case 0:
        // Pasted whole.
        edit->setText(text);
        return QStringLiteral("%1 pasted '%2'").arg(QLatin1String(FieldName(field)), text);
    case 1:
        // Typed on after what is there, or after a few backspaces.
        edit->end(false);
        for (int i = m_c.random.Int(0, 3); i > 0; --i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        return QStringLiteral("%1 edited to '%2'").arg(QLatin1String(FieldName(field)), edit->text());
    default:
        // Everything selected, then typed key by key.
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        return QStringLiteral("%1 typed '%2'").arg(QLatin1String(FieldName(field)), text);
    }
}

QString CPanelEvents::SpinArrow()
{
    const CAreasBarControls& c = ShownPanel().Controls();
    CSpinButtons* const spins[] = {c.rotationSpin, c.shiftXSpin, c.shiftYSpin, c.scaleSpin};
    const int field = m_c.random.Int(Rotation, Scale);
    const bool up = m_c.random.Chance(0.5);
    const int clicks = m_c.random.Int(1, 4);
    for (int i = 0; i < clicks; ++i) {
        if (m_c.random.Chance(0.7))
            QTest::mouseClick(up ? spins[field]->UpButton() : spins[field]->DownButton(), Qt::LeftButton);
        else
            QTest::keyClick(FieldEdit(c, field), up ? Qt::Key_Up : Qt::Key_Down);
    }
    return QStringLiteral("%1 %2 x%3").arg(QLatin1String(FieldName(field)), up ? "up" : "down").arg(clicks);
}

QString CPanelEvents::ToggleCheckBox()
{
    const CAreasBarControls& c = ShownPanel().Controls();
    QCheckBox* const boxes[] = {c.skew, c.skewPreview, c.initialRect, c.perspective};
    const int roll = m_c.random.Int(0, 19);
    QCheckBox* box = boxes[roll < 7 ? 0 : roll < 11 ? 1 : roll < 15 ? 2 : 3];
    const bool was = box->isChecked();
    // The box itself, at the left end of the control.
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(box->height() / 2, box->height() / 2));
    return QStringLiteral("'%1' clicked: %4 -> %2%3")
        .arg(box->text())
        .arg(box->isChecked() ? QStringLiteral("on") : QStringLiteral("off"))
        .arg(box->isEnabled() ? QString() : QStringLiteral(" (disabled)"))
        .arg(was ? QStringLiteral("on") : QStringLiteral("off"));
}

QString CPanelEvents::PressReset()
{
    const CAreasBarControls& c = ShownPanel().Controls();
    // Fit Perspective too: on a photo without a plane it says so and
    // changes nothing, else it is one step like the resets.
    const int roll = m_c.random.Int(0, 9);
    QPushButton* button = roll < 4 ? c.resetSkew : roll < 8 ? c.resetInitialRect : c.fitPerspective;
    QTest::mouseClick(button, Qt::LeftButton);
    return QStringLiteral("'%1' pressed%2")
        .arg(button->text())
        .arg(button->isEnabled() ? QString() : QStringLiteral(" (disabled)"));
}

QString CPanelEvents::PickGroup()
{
    QComboBox* groups = ShownPanel().Controls().groups;
    if (groups->count() == 0)
        return QStringLiteral("no texture groups");
    groups->setCurrentIndex(m_c.random.Int(0, groups->count() - 1));
    return QStringLiteral("texture group '%1'").arg(groups->currentText());
}

QString CPanelEvents::PickSwatch()
{
    CTextureBrowser* browser = ShownPanel().Controls().browser;
    // An empty group sends the user to another one first.
    for (int tries = 0; tries < 3 && browser->Count() == 0; ++tries)
        PickGroup();
    if (browser->Count() == 0)
        return QStringLiteral("no swatches");
    if (m_c.random.Chance(0.25)) {
        static const QList<Qt::Key> keys = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        QTest::keyClick(browser, m_c.random.Pick(keys));
        return QStringLiteral("swatch arrow key, now '%1'").arg(browser->FocusedPath().section(u'/', -1));
    }
    const int position = m_c.random.Int(0, browser->Count() - 1);
    // Scrolled into view first, as the user would.
    QScrollBar* bar = browser->verticalScrollBar();
    const QRect cell = browser->CellRect(position);
    if (!browser->viewport()->rect().contains(cell.center()))
        bar->setValue(bar->value() + cell.top());
    const QPoint at = browser->CellRect(position).center();
    const int how = m_c.random.Int(0, 9);
    if (how == 0)
        QTest::mouseDClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    else
        QTest::mouseClick(browser->viewport(), how == 1 ? Qt::RightButton : Qt::LeftButton, Qt::NoModifier, at);
    return QStringLiteral("swatch %1 '%2' %3")
        .arg(position)
        .arg(browser->PathAt(position).section(u'/', -1))
        .arg(how == 0   ? QStringLiteral("double-clicked")
             : how == 1 ? QStringLiteral("right-clicked")
                        : QStringLiteral("clicked"));
}

QString CPanelEvents::PanelKey()
{
    CAreasBarControls& c = ShownPanel().Controls();
    const bool enter = m_c.random.Chance(0.7);
    QTest::keyClick(&c, enter ? Qt::Key_Return : Qt::Key_Escape);
    return enter ? QStringLiteral("Enter in the panel") : QStringLiteral("Escape in the panel");
}
