#pragma once

#include <QStringList>

// tilemont-cli thumbnail TEMPLATE.tlm OUT.png [--size N]: writes the
// template as an export composes it, fitted within N x N pixels (256 unless
// given, aspect kept, never enlarged), as a PNG file, which appears only once
// complete. Quick enough for a file manager to call for every template it
// shows. Returns the exit status (0 written, 1 the template could not be
// read, has no picture or the file could not be written, 2 wrong command
// line).
int RunThumbnailCommand(const QStringList& args);
