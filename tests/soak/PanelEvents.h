#pragma once

#include <QString>

class CAreasBar;
class CSoakContext;

// The user at the Areas panel: picking areas in its list, typing good and
// bad numbers into its fields, its arrows, check boxes and buttons, its
// texture groups and swatches (a damaged file among them) and its keys. A
// hidden panel is shown first through View > Areas, as the user would.
// Each returns what it did.
class CPanelEvents
{
public:
    explicit CPanelEvents(CSoakContext& context);

    QString PickArea();
    QString TypeInField();
    QString SpinArrow();
    QString ToggleCheckBox();
    QString PressReset();
    QString PickGroup();
    QString PickSwatch();
    QString PanelKey();

private:
    CAreasBar& ShownPanel();
    QString SomeFieldText(int field);

    CSoakContext& m_c;
};
