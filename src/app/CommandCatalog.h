#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// What the editor shows for one command: the menu text (with its mnemonic
// and, after a tab, the accelerator text), the short name used as tooltip,
// the status-bar prompt and the keys that run it.
struct CCommandInfo
{
    int id = 0;
    QString menuText;
    QString name;
    QString prompt;
    QList<QKeySequence> keys;
    bool checkable = false;
};

namespace CommandCatalog {

// Every command with a menu item, toolbar button or accelerator.
const QList<CCommandInfo>& All();
// The entry for id, or null.
const CCommandInfo* Find(int id);

} // namespace CommandCatalog
