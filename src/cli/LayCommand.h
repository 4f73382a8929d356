#pragma once

#include <QStringList>

// tilemont-cli lay TEMPLATE.tlm --area NAME --pattern LAYOUT --piece IMG[,IMG...]
// --size WxH [--joint MM] [--joint-colour #RRGGBB] [--angle DEG] [--seed N]
// [--origin X,Y|corner|centre|balanced] [--reference X1,Y1,X2,Y2 --length CM]
// [--out OUT.tlm]: lays the pieces into the named area and writes the
// template, printing what was laid as one line of JSON. Returns the exit
// status (0 written, 1 nothing to lay on or a file failed, 2 wrong command
// line).
int RunLayCommand(const QStringList& args);
