#pragma once

#include "CommandEvents.h"
#include "PanelEvents.h"
#include "ViewEvents.h"

#include <QString>

#include <functional>
#include <vector>

class CSoakContext;

// The random walk through the editor: each step draws one kind of event by
// its weight (gestures in the view, the Areas panel, the menus), runs it and
// lets the editor catch up.
class CSoakWalker
{
public:
    explicit CSoakWalker(CSoakContext& context);

    // Runs one event and returns what it did.
    QString Step();
    CCommandEvents& Commands() { return m_commands; }

private:
    struct Kind
    {
        int weight;
        std::function<QString()> run;
    };

    CSoakContext& m_c;
    CViewEvents m_view;
    CPanelEvents m_panel;
    CCommandEvents m_commands;
    std::vector<Kind> m_kinds;
    int m_nTotalWeight = 0;
};
