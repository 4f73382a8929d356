#pragma once

#include <QStringList>

// tilemont-cli render-group TEMPLATE.tlm --area NAME --group DIR --out DIR
// [options]: returns the exit status (0 every texture written or skipped,
// 1 any failed, 2 wrong command line). Interrupted by SIGINT or SIGTERM, it
// stops cleanly and then ends by that signal.
int RunRenderGroupCommand(const QStringList& args);
